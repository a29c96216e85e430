// Value types of the caret and selection model: screen positions, the selection's state and its ranges.
//
// Rows are screen rows, columns tab-expanded screen columns, byte indexes count the bytes of one row; all
// are 0-based.
#pragma once

// A screen position: row and tab-expanded column.
struct TRowCol {
    int row = 0;
    int col = 0;
    bool operator==(const TRowCol&) const = default;
};

enum class TSelectionState { None, Anchored, Active };
enum class TSelDragState { None, Pending, Dragging };

// The selection by columns: rows top..bottom, columns left..right (right exclusive on the bottom row in
// stream mode; the box's column range in box mode).
struct TSelectionColumns {
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;
    bool Empty() const { return top == bottom && left == right; }
    bool operator==(const TSelectionColumns&) const = default;
};

// The selection by bytes: rows first..last, bytes firstByte of the first row up to lastByte of the last
// row, inclusive (lastByte is -1 when the selection ends at the start of its last row).
struct TSelectionBytes {
    int firstRow = 0;
    int lastRow = 0;
    int firstByte = 0;
    int lastByte = -1;
    bool operator==(const TSelectionBytes&) const = default;
};

// The bytes of one row that a box covers: first..end-1.
struct TByteSpan {
    int first = 0;
    int end = 0;
    int Length() const { return end - first; }
    bool operator==(const TByteSpan&) const = default;
};
