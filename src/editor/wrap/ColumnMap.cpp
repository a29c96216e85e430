#include "editor/wrap/ColumnMap.h"

#include "text/ShiftJis.h"

std::string ColumnMap(std::string_view line, const TDelimiters& delimiters, int tabSpaceCount, int wrapByte) {
    std::string map;
    map.reserve(line.size() + 8);
    std::size_t i = 0;
    while (i < line.size()) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (sjis::CharLength(line, i) == 2) {
            map += "45";
            i += 2;
            continue;
        }
        map += delimiters.test(c) ? '2' : '1';
        if (c == '\t') {
            const int fill = TabFillCount(static_cast<int>(map.size()), tabSpaceCount, wrapByte);
            map.append(static_cast<std::size_t>(fill), '3');
        }
        ++i;
    }
    return map;
}

int DisplayWidth(std::string_view line, int tabSpaceCount, int wrapByte) noexcept {
    int width = 0;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c == '\t') {
            ++width;
            width += TabFillCount(width, tabSpaceCount, wrapByte);
            ++i;
        } else if (sjis::IsLeadByte(c) && i + 1 < n) {
            width += 2;
            i += 2;
        } else {
            ++width;
            ++i;
        }
    }
    return width;
}
