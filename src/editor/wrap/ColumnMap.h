// The column map of a line or row: one code character per display column.
//
//   '1' a word byte, '2' a delimiter byte, '3' a fill column after a TAB, '4' the lead byte and '5' the
//   trail byte of a two-byte character.
//
// A TAB (a delimiter, so '2') is followed by fill columns up to the next tab stop: with L the map length
// including the TAB's own column and T the tab width, T - ((L - 1) mod T) - 1 of them. With word wrap on
// (wrapByte > 0) the count is at most W - ((L - 1) mod W) - 1, so a TAB never runs past a multiple of the
// wrap width W. The map's length is the display width; tab expansion for drawing uses the same widths.
#pragma once

#include <string>
#include <string_view>

#include "editor/EditorTypes.h"

// Number of fill columns after a TAB whose own column makes the map mapLength columns long.
constexpr int TabFillCount(int mapLength, int tabSpaceCount, int wrapByte) noexcept {
    const int t = tabSpaceCount > 0 ? tabSpaceCount : 1;
    int fill = t - ((mapLength - 1) % t) - 1;
    if (wrapByte > 0) {
        const int w = wrapByte - ((mapLength - 1) % wrapByte) - 1;
        if (w < fill) fill = w;
    }
    return fill;
}

// The code of a column map at column col, or '\0' outside it.
constexpr char ColumnCodeAt(std::string_view map, int col) noexcept {
    return col >= 0 && col < static_cast<int>(map.size()) ? map[static_cast<std::size_t>(col)] : '\0';
}

// The column map of `line`; wrapByte 0 means word wrap off.
std::string ColumnMap(std::string_view line, const TDelimiters& delimiters, int tabSpaceCount,
                      int wrapByte = 0);

// The length of ColumnMap(line, ...) without building it.
int DisplayWidth(std::string_view line, int tabSpaceCount, int wrapByte = 0) noexcept;
