// Character offsets over the screen rows and the positions they stand for.
//
// An offset counts the bytes of the rows before a position, 2 for every line break (a row that ends with
// reLineBreak) and nothing for a wrap, plus the position's byte index in its row. SelStart, SelLength,
// TextLength, the edit messages and the caret restore after an edit all count this way. Offsets and
// lengths are 64-bit: a text may hold more than 2 GiB.
#pragma once

#include <cstdint>

#include "editor/edit/EditTypes.h"

class TRowColumns;

class TTextOffsets {
public:
    explicit TTextOffsets(const TRowColumns& columns) : FColumns(&columns) {}

    // The characters a row adds to an offset: its bytes, plus 2 when it ends with a line break.
    std::int64_t RowLength(int row) const;
    std::int64_t TextLength() const;
    // Offset of a byte index in a row; a row past the end counts as the position after the text.
    std::int64_t PositionToOffset(int row, int byteIndex) const;
    // Characters from the start of fromRow to the start of toRow (fromRow <= toRow).
    std::int64_t OffsetBetween(int fromRow, int toRow) const;

    // The position `offset` characters after the start of baseRow, as the caret goes there: the first
    // row whose length the remainder does not reach (or the last row, reEndOfText), the column of the
    // remainder limited to the row's width. Past the end: the empty row after a final line break, or the
    // end of the last row.
    TRowCol OffsetToRowCol(int baseRow, std::int64_t offset) const;
    // The same position as a row and a byte index in it.
    struct TRowByte {
        int row = 0;
        int byteIndex = 0;
    };
    TRowByte OffsetToRowByte(int baseRow, std::int64_t offset) const;

private:
    // The only two functions that turn rows into offsets and back, each a call or two of the row list's
    // partial sums of its row lengths (RowOffset, RowAtOffset: O(log n)).
    //   RowsLength: characters in rows fromRow..toRow-1.
    //   RowAtOffset: the row that holds the position `offset` characters after the start of fromRow (the
    //   last row whose start is at or before it); `offset` becomes the remainder in that row. Count() when
    //   the position lies at or past the end of the text.
    std::int64_t RowsLength(int fromRow, int toRow) const;
    int RowAtOffset(int fromRow, std::int64_t& offset) const;

    const TRowColumns* FColumns;
};
