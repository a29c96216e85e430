#include "app/TextImport.h"

#include <system_error>

namespace textimport {

TFileCheck CheckFile(const std::filesystem::path& file, std::uintmax_t maxSize) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (error || !std::filesystem::exists(status)) return TFileCheck::Missing;
    if (std::filesystem::is_directory(status)) return TFileCheck::Directory;
    if (!std::filesystem::is_regular_file(status)) return TFileCheck::NotRegularFile;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) return TFileCheck::Missing;
    return size > maxSize ? TFileCheck::TooLarge : TFileCheck::Ok;
}

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// One UTF-8 sequence at raw[pos]: the code point and its length, or length 0 when it is not a valid,
// shortest-form sequence of a Unicode scalar value.
struct TUtf8 {
    char32_t Code = 0;
    std::size_t Length = 0;
};
TUtf8 DecodeUtf8(std::string_view raw, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(raw[i]); };
    const unsigned char c = byte(pos);
    if (c < 0x80) return {c, 1};
    std::size_t length;
    char32_t code;
    char32_t minimum;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2, code = c & 0x1F, minimum = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3, code = c & 0x0F, minimum = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4, code = c & 0x07, minimum = 0x10000;
    } else {
        return {};
    }
    if (pos + length > raw.size()) return {};
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char t = byte(pos + i);
        if ((t & 0xC0) != 0x80) return {};
        code = (code << 6) | (t & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
    return {code, length};
}

// The bytes of a broken sequence at pos that make one unconvertible character: a lead byte with the
// continuation bytes that follow it, as many as the lead announces but one (a cut-off character).
std::size_t BrokenLength(std::string_view raw, std::size_t pos) {
    const auto c = static_cast<unsigned char>(raw[pos]);
    const std::size_t expected = (c >= 0xC2 && c <= 0xDF)   ? 2
                                 : (c >= 0xE0 && c <= 0xEF) ? 3
                                 : (c >= 0xF0 && c <= 0xF4) ? 4
                                                            : 1;
    std::size_t n = 1;
    while (n + 1 < expected && pos + n < raw.size() && (static_cast<unsigned char>(raw[pos + n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

bool IsValidUtf8WithNonAscii(std::string_view raw) {
    bool nonAscii = false;
    for (std::size_t pos = 0; pos < raw.size();) {
        const TUtf8 u = DecodeUtf8(raw, pos);
        if (u.Length == 0) return false;
        nonAscii = nonAscii || u.Length > 1;
        pos += u.Length;
    }
    return nonAscii;
}

// Characters that Unicode text written on other systems uses where code page 932 decodes to a neighbour of
// the same shape (the wave dash, the double vertical line, the minus sign, the cent, pound and not signs,
// the em dash): they go to that code instead of being lost.
char16_t ShiftJisLookAlike(char32_t code) {
    switch (code) {
        case 0x301C: return 0xFF5E;
        case 0x2016: return 0x2225;
        case 0x2212: return 0xFF0D;
        case 0x00A2: return 0xFFE0;
        case 0x00A3: return 0xFFE1;
        case 0x00AC: return 0xFFE2;
        case 0x2014: return 0x2015;
        default: return 0;
    }
}

class TWriter {
public:
    TWriter(TConversion& out, TEncoder encode) : FOut(out), FEncode(encode) {}

    void Put(char32_t code) {
        int sjis = -1;
        if (code < 0x80) {
            sjis = static_cast<int>(code);
        } else if (code < 0x10000 && code != kReplacement) {
            sjis = FEncode(static_cast<char16_t>(code));
            if (sjis < 0) {
                if (const char16_t alike = ShiftJisLookAlike(code)) sjis = FEncode(alike);
            }
        }
        if (sjis < 0) {
            if (FOut.Unconvertible++ == 0) {
                FOut.FirstUnconvertible = code;
                FOut.FirstUnconvertibleLine = FLine;
            }
            sjis = '?';
        }
        if (sjis >= 0x100) FOut.Text.push_back(static_cast<char>(sjis >> 8));
        FOut.Text.push_back(static_cast<char>(sjis & 0xFF));
        // Lines for the message: CR LF, CR and LF each end one.
        if (code == '\n' && FLastWasCr) {
            // the LF of a CR LF: the CR has counted the line
        } else if (code == '\r' || code == '\n') {
            ++FLine;
        }
        FLastWasCr = code == '\r';
    }

private:
    TConversion& FOut;
    TEncoder FEncode;
    long FLine = 1;
    bool FLastWasCr = false;
};

}  // namespace

TEncoding DetectEncoding(std::string_view raw) {
    if (raw.starts_with("\xEF\xBB\xBF")) return TEncoding::Utf8Bom;
    if (raw.starts_with("\xFF\xFE")) return TEncoding::Utf16LE;
    if (raw.starts_with("\xFE\xFF")) return TEncoding::Utf16BE;
    // Shift-JIS text is practically never valid UTF-8: its trail bytes and half-width katakana are UTF-8
    // continuation bytes without a lead.
    if (IsValidUtf8WithNonAscii(raw)) return TEncoding::Utf8;
    return TEncoding::Bytes;
}

TConversion ToShiftJis(std::string_view raw, TEncoder encode) {
    TConversion out;
    out.Encoding = DetectEncoding(raw);
    switch (out.Encoding) {
        case TEncoding::Bytes:
            out.Text.assign(raw);
            return out;
        case TEncoding::Utf8:
        case TEncoding::Utf8Bom: {
            TWriter writer(out, encode);
            out.Text.reserve(raw.size());
            for (std::size_t pos = out.Encoding == TEncoding::Utf8Bom ? 3 : 0; pos < raw.size();) {
                const TUtf8 u = DecodeUtf8(raw, pos);
                writer.Put(u.Length ? u.Code : kReplacement);
                pos += u.Length ? u.Length : BrokenLength(raw, pos);
            }
            return out;
        }
        case TEncoding::Utf16LE:
        case TEncoding::Utf16BE: {
            TWriter writer(out, encode);
            out.Text.reserve(raw.size());
            const bool little = out.Encoding == TEncoding::Utf16LE;
            const auto unit = [&](std::size_t i) -> char32_t {
                const auto a = static_cast<unsigned char>(raw[i]);
                const auto b = static_cast<unsigned char>(raw[i + 1]);
                return little ? (b << 8 | a) : (a << 8 | b);
            };
            std::size_t pos = 2;
            for (; pos + 1 < raw.size(); pos += 2) {
                const char32_t u = unit(pos);
                if (u >= 0xD800 && u <= 0xDBFF && pos + 3 < raw.size()) {
                    const char32_t low = unit(pos + 2);
                    if (low >= 0xDC00 && low <= 0xDFFF) {
                        writer.Put(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                        pos += 2;
                        continue;
                    }
                }
                writer.Put(u >= 0xD800 && u <= 0xDFFF ? kReplacement : u);
            }
            if (pos < raw.size()) writer.Put(kReplacement);  // an odd byte at the end
            return out;
        }
    }
    return out;
}

std::string AsLines(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    bool open = false;  // a line has begun and has not ended yet
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out.append("\r\n");
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            open = false;
            continue;
        }
        if (c != '\0') out.push_back(c);
        open = true;
    }
    if (open) out.append("\r\n");
    return out;
}

}  // namespace textimport
