// One undo record: what one ReplaceRows call (or one undo or redo of it) changed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/rows/RowWord.h"

// Byte length and row end of one row.
struct TRowShape {
    std::int32_t Length = 0;
    TRowEnd End = reLineBreak;
    bool operator==(const TRowShape&) const = default;
};

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
    // The removed rows joined, with CR LF after each row that ended with reLineBreak.
    std::string RemovedText;
    // Length and row end of each removed row, so that replaying puts back exactly the rows that were
    // there: wrapping the text again from the record's first row may cut it elsewhere (e.g. where TAB
    // stops fall differently), the text alone cannot tell an empty last row without line break, and
    // older records count on the row numbers. When empty, the text is wrapped again.
    std::vector<TRowShape> RemovedRowShapes;
};
