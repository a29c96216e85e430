// One undo record: what one ReplaceRows call (or one undo or redo of it) changed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/rows/RowWord.h"

// Byte length and row end of one row.
struct TRowShape {
    std::uint32_t Length = 0;
    TRowEnd End = reLineBreak;
    bool operator==(const TRowShape&) const = default;
};

// The change replaced RemovedRowShapes.size() rows at FirstRow by InsertedRows rows. Their texts (bytes with
// CR LF after each reLineBreak row) differ only in one stretch: from ChangeOffset on, the old text held
// RemovedText where the new one holds InsertedLength other bytes; the rest is the same in both. So a record
// holds the changed bytes and the shape of each replaced row, never whole lines: the old rows come back by
// putting RemovedText back into the current rows' text and cutting it by the shapes, exactly as they were
// (wrapping again could cut elsewhere, and older records count on the row numbers).
struct TUndoData {
    // Caret of the active editor when the record was made; restored when the record is replayed.
    std::int32_t CaretRow = 0;
    std::int32_t CaretCol = 0;
    // First row of the change; -1 until the caller sets it.
    std::int32_t FirstRow = -1;
    // Number of rows the change put at FirstRow.
    std::int32_t InsertedRows = 0;
    // Row end code of the last row the change removed; reNone when no row was removed.
    TRowEnd RemovedRowEnd = reNone;
    // Where the changed bytes start, counted from the start of FirstRow (a line break counts 2).
    std::int64_t ChangeOffset = 0;
    // The bytes the change removed there, and the number of bytes it put in their place.
    std::string RemovedText;
    std::int64_t InsertedLength = 0;
    // Length and row end of each removed row.
    std::vector<TRowShape> RemovedRowShapes;
};
