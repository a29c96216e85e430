// The paper table: name and physical size of every paper code 1..68 of the printer's device mode, in the
// numbering that QPageSize::windowsId() uses. Sizes are width then height of the portrait sheet, in
// millimetres; papers measured in inches are converted exactly (1 in = 25.4 mm).
#pragma once

#include <array>
#include <string_view>

struct TPaperInfo {
    std::string_view Name;  // the paper constant's name, e.g. "DMPAPER_A4"
    double Width = 0;       // mm
    double Height = 0;      // mm
};

class TStringsPrinterInfo {
public:
    static constexpr int kFirstCode = 1;
    static constexpr int kLastCode = 68;

    // The entry of a paper code; nullptr for a code outside 1..68.
    static const TPaperInfo* Find(int code);
    // The whole table, entry i holding code i + 1.
    static const std::array<TPaperInfo, kLastCode>& Table();
};
