// The column facts of screen rows: column map, expanded width and text, and the conversions between
// columns and byte indexes.
//
// Every byte of a row is one column, a TAB is followed by fill columns up to its tab stop (wrap/ColumnMap.h
// gives the codes). The column rules are the row list's (word wrap limits a TAB's fill to the wrap width),
// the delimiter set and the caret options' TAB width of the control that shows the rows.
#pragma once

#include <string>
#include <string_view>

#include "editor/EditorTypes.h"
#include "editor/edit/EditTypes.h"
#include "editor/rows/RowWord.h"

class TEditorCaret;
class TEditorScreenStrings;

class TRowColumns {
public:
    TRowColumns(const TEditorScreenStrings& rows, const TDelimiters& delimiters, const TEditorCaret& caret);

    const TEditorScreenStrings& Rows() const { return *FRows; }
    int Count() const;
    // Bytes and end code of a row; outside the list an empty text and reEndOfText.
    std::string_view Text(int row) const;
    TRowEnd End(int row) const;

    std::string Map(int row) const;
    int Width(int row) const;  // expanded width (the length of the map)
    // The row's bytes with every TAB expanded to spaces (the columns as drawn).
    std::string ExpandedText(int row) const;

    // Byte index of a column (a column inside a TAB's fill maps to the TAB), limited to the row's length.
    int ColumnToByte(int row, int col) const;
    // Column of a byte index: the expanded width of the bytes before it.
    int ByteToColumn(int row, int byteIndex) const;

    // A box edge at column col of a row: limited to the row's end, never inside a two-byte character.
    int BoxEdgeColumn(int row, int col) const;
    // The bytes of a row that a box from column left to column right covers, taken to whole characters:
    // a two-byte character cut by the left edge and a TAB whose fill covers the left edge are outside; a
    // two-byte character whose first half the right edge holds, and a TAB whose fill it covers, are inside.
    TByteSpan BoxRowBytes(int row, int left, int right) const;

private:
    int WrapByte() const;  // 0 with word wrap off

    const TEditorScreenStrings* FRows;
    const TDelimiters* FDelimiters;
    const TEditorCaret* FCaret;
};
