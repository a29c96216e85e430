#include "printing/StringsPrinterInfo.h"

namespace {

constexpr double In(double inches) {
    return inches * 25.4;
}

constexpr std::array<TPaperInfo, TStringsPrinterInfo::kLastCode> kPapers = {{
    {"DMPAPER_LETTER", In(8.5), In(11)},
    {"DMPAPER_LETTERSMALL", In(8.5), In(11)},
    {"DMPAPER_TABLOID", In(11), In(17)},
    {"DMPAPER_LEDGER", In(17), In(11)},
    {"DMPAPER_LEGAL", In(8.5), In(14)},
    {"DMPAPER_STATEMENT", In(5.5), In(8.5)},
    {"DMPAPER_EXECUTIVE", In(7.25), In(10.5)},
    {"DMPAPER_A3", 297, 420},
    {"DMPAPER_A4", 210, 297},
    {"DMPAPER_A4SMALL", 210, 297},
    {"DMPAPER_A5", 148, 210},
    {"DMPAPER_B4", 250, 354},
    {"DMPAPER_B5", 182, 257},
    {"DMPAPER_FOLIO", In(8.5), In(13)},
    {"DMPAPER_QUARTO", 215, 275},
    {"DMPAPER_10X14", In(10), In(14)},
    {"DMPAPER_11X17", In(11), In(17)},
    {"DMPAPER_NOTE", In(8.5), In(11)},
    {"DMPAPER_ENV_9", In(3.875), In(8.875)},
    {"DMPAPER_ENV_10", In(4.125), In(9.5)},
    {"DMPAPER_ENV_11", In(4.5), In(10.375)},
    {"DMPAPER_ENV_12", In(4.75), In(11)},
    {"DMPAPER_ENV_14", In(5), In(11.5)},
    {"DMPAPER_CSHEET", In(17), In(22)},
    {"DMPAPER_DSHEET", In(22), In(34)},
    {"DMPAPER_ESHEET", In(34), In(44)},
    {"DMPAPER_ENV_DL", 110, 220},
    {"DMPAPER_ENV_C5", 162, 229},
    {"DMPAPER_ENV_C3", 324, 458},
    {"DMPAPER_ENV_C4", 229, 324},
    {"DMPAPER_ENV_C6", 114, 162},
    {"DMPAPER_ENV_C65", 114, 229},
    {"DMPAPER_ENV_B4", 250, 353},
    {"DMPAPER_ENV_B5", 176, 250},
    {"DMPAPER_ENV_B6", 176, 125},
    {"DMPAPER_ENV_ITALY", 110, 230},
    {"DMPAPER_ENV_MONARCH", In(3.875), In(7.5)},
    {"DMPAPER_ENV_PERSONAL", In(3.625), In(6.5)},
    {"DMPAPER_FANFOLD_US", In(14.875), In(11)},
    {"DMPAPER_FANFOLD_STD_GERMAN", In(8.5), In(12)},
    {"DMPAPER_FANFOLD_LGL_GERMAN", In(8.5), In(13)},
    {"DMPAPER_ISO_B4", 250, 353},
    {"DMPAPER_JAPANESE_POSTCARD", 100, 148},
    {"DMPAPER_9X11", In(9), In(11)},
    {"DMPAPER_10X11", In(10), In(11)},
    {"DMPAPER_15X11", In(15), In(11)},
    {"DMPAPER_ENV_INVITE", 220, 220},
    {"DMPAPER_RESERVED_48", 100, 100},
    {"DMPAPER_RESERVED_49", 100, 100},
    {"DMPAPER_LETTER_EXTRA", In(9.5), In(12)},
    {"DMPAPER_LEGAL_EXTRA", In(9.5), In(15)},
    {"DMPAPER_TABLOID_EXTRA", In(11.69), In(18)},
    {"DMPAPER_A4_EXTRA", In(9.27), In(12.69)},
    {"DMPAPER_LETTER_TRANSVERSE", In(8.5), In(11)},
    {"DMPAPER_A4_TRANSVERSE", 210, 297},
    {"DMPAPER_LETTER_EXTRA_TRANSVERSE", In(9.5), In(12)},
    {"DMPAPER_A_PLUS", 227, 356},
    {"DMPAPER_B_PLUS", 305, 487},
    {"DMPAPER_LETTER_PLUS", In(8.5), In(12.69)},
    {"DMPAPER_A4_PLUS", 210, 330},
    {"DMPAPER_A5_TRANSVERSE", 148, 210},
    {"DMPAPER_B5_TRANSVERSE", 182, 257},
    {"DMPAPER_A3_EXTRA", 322, 445},
    {"DMPAPER_A5_EXTRA", 174, 235},
    {"DMPAPER_B5_EXTRA", 201, 276},
    {"DMPAPER_A2", 420, 594},
    {"DMPAPER_A3_TRANSVERSE", 297, 420},
    {"DMPAPER_A3_EXTRA_TRANSVERSE", 322, 445},
}};

}  // namespace

const TPaperInfo* TStringsPrinterInfo::Find(int code) {
    if (code < kFirstCode || code > kLastCode) return nullptr;
    return &kPapers[static_cast<std::size_t>(code - kFirstCode)];
}

const std::array<TPaperInfo, TStringsPrinterInfo::kLastCode>& TStringsPrinterInfo::Table() {
    return kPapers;
}
