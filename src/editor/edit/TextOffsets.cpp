#include "editor/edit/TextOffsets.h"

#include <algorithm>

#include "editor/edit/RowColumns.h"
#include "editor/rows/EditorScreenStrings.h"

std::int64_t TTextOffsets::RowLength(int row) const {
    return static_cast<std::int64_t>(FColumns->Text(row).size()) +
           (FColumns->End(row) == reLineBreak ? 2 : 0);
}

std::int64_t TTextOffsets::RowsLength(int fromRow, int toRow) const {
    const TEditorScreenStrings& rows = FColumns->Rows();
    fromRow = std::max(0, fromRow);
    toRow = std::min(toRow, rows.Count());
    return toRow > fromRow ? rows.RowOffset(toRow) - rows.RowOffset(fromRow) : 0;
}

int TTextOffsets::RowAtOffset(int fromRow, std::int64_t& offset) const {
    const TEditorScreenStrings& rows = FColumns->Rows();
    const int n = rows.Count();
    fromRow = std::max(0, fromRow);
    if (fromRow >= n) return n;
    const std::int64_t at = rows.RowOffset(fromRow) + offset;
    const std::int64_t total = rows.RowOffset(n);
    if (at >= total) {
        offset = at - total;
        return n;
    }
    const int row = rows.RowAtOffset(at);
    offset = at - rows.RowOffset(row);
    return row;
}

std::int64_t TTextOffsets::TextLength() const {
    return RowsLength(0, FColumns->Count());
}

std::int64_t TTextOffsets::OffsetBetween(int fromRow, int toRow) const {
    return RowsLength(fromRow, std::min(toRow, FColumns->Count()));
}

std::int64_t TTextOffsets::PositionToOffset(int row, int byteIndex) const {
    return RowsLength(0, std::min(row, FColumns->Count())) + byteIndex;
}

TTextOffsets::TRowByte TTextOffsets::OffsetToRowByte(int baseRow, std::int64_t offset) const {
    const int n = FColumns->Count();
    std::int64_t remainder = std::max<std::int64_t>(0, offset);
    const int row = RowAtOffset(std::max(0, baseRow), remainder);
    if (row < n) return {row, static_cast<int>(remainder)};
    // At or past the end. After a last row without a line break the position is that row's end (the
    // remainder may overshoot it); after a final line break it is the empty row that follows.
    if (n > 0 && FColumns->End(n - 1) == reEndOfText) {
        const int size = static_cast<int>(FColumns->Text(n - 1).size());
        return {n - 1, size};
    }
    return {n, 0};
}

TRowCol TTextOffsets::OffsetToRowCol(int baseRow, std::int64_t offset) const {
    const TRowByte at = OffsetToRowByte(baseRow, offset);
    return {at.row, std::min(FColumns->ByteToColumn(at.row, at.byteIndex), FColumns->Width(at.row))};
}
