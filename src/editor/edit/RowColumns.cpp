#include "editor/edit/RowColumns.h"

#include <algorithm>

#include "editor/options/EditorCaret.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/wrap/ColumnMap.h"
#include "editor/wrap/EditorWrapOption.h"
#include "text/ShiftJis.h"

TRowColumns::TRowColumns(const TEditorScreenStrings& rows, const TDelimiters& delimiters,
                         const TEditorCaret& caret)
    : FRows(&rows), FDelimiters(&delimiters), FCaret(&caret) {}

int TRowColumns::Count() const {
    return FRows->Count();
}

std::string_view TRowColumns::Text(int row) const {
    return FRows->RowText(row);
}

TRowEnd TRowColumns::End(int row) const {
    if (row < 0 || row >= FRows->Count()) return reEndOfText;
    return FRows->RowEnd(row);
}

int TRowColumns::WrapByte() const {
    return FRows->WordWrap() ? FRows->WrapOption().WrapByte() : 0;
}

std::string TRowColumns::Map(int row) const {
    return ColumnMap(Text(row), *FDelimiters, FCaret->TabSpaceCount(), WrapByte());
}

int TRowColumns::Width(int row) const {
    return DisplayWidth(Text(row), FCaret->TabSpaceCount(), WrapByte());
}

std::string TRowColumns::ExpandedText(int row) const {
    const std::string_view text = Text(row);
    std::string out;
    out.reserve(text.size() + 8);
    const int tabs = FCaret->TabSpaceCount();
    const int wrap = WrapByte();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (sjis::IsLeadByte(c) && i + 1 < text.size()) {
            out += c;
            out += text[++i];
        } else if (c == '\t') {
            out += ' ';
            out.append(static_cast<std::size_t>(TabFillCount(static_cast<int>(out.size()), tabs, wrap)), ' ');
        } else {
            out += c;
        }
    }
    return out;
}

int TRowColumns::ColumnToByte(int row, int col) const {
    if (col <= 0) return 0;
    const std::string map = Map(row);
    const int upto = std::min(col + 1, static_cast<int>(map.size()));
    const int fills = static_cast<int>(std::count(map.begin(), map.begin() + upto, '3'));
    return std::clamp(col - fills, 0, static_cast<int>(Text(row).size()));
}

int TRowColumns::ByteToColumn(int row, int byteIndex) const {
    const std::string_view text = Text(row);
    const auto b = static_cast<std::size_t>(std::clamp(byteIndex, 0, static_cast<int>(text.size())));
    return DisplayWidth(text.substr(0, b), FCaret->TabSpaceCount(), WrapByte());
}

int TRowColumns::BoxEdgeColumn(int row, int col) const {
    const std::string map = Map(row);
    col = std::min(col, static_cast<int>(map.size()));
    if (ColumnCodeAt(map, col) == '5') ++col;
    return col;
}

TByteSpan TRowColumns::BoxRowBytes(int row, int left, int right) const {
    const int size = static_cast<int>(Text(row).size());
    const std::string map = Map(row);
    const int width = static_cast<int>(map.size());
    if (left >= width) return {size, size};
    const bool empty = right <= left;
    if (ColumnCodeAt(map, left) == '5') ++left;
    while (ColumnCodeAt(map, left) == '3') ++left;
    const int first = left >= width ? size : ColumnToByte(row, left);
    // An empty box still has its edge at a character start: text typed there must not split a character.
    if (empty) return {first, first};
    int last = std::min(right, width) - 1;
    while (last > 0 && ColumnCodeAt(map, last) == '3') --last;
    int lastByte = ColumnToByte(row, last);
    if (ColumnCodeAt(map, last) == '4') ++lastByte;
    return {first, std::clamp(lastByte + 1, first, size)};
}
