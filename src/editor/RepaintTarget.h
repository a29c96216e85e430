// Where the repaint after a change of the rows goes: the requests that TEditorScreen computes from the row
// list's ChangeRecord, and the two facts of the display it needs to compute them. The TEditor widget
// implements it; tests record the requests.
#pragma once

class TRepaintTarget {
public:
    virtual ~TRepaintTarget() = default;

    // First visible row and the number of rows the display shows.
    virtual int TopRow() const = 0;
    virtual int VisibleRows() const = 0;

    virtual void InvalidateRows(int firstRow, int lastRow) = 0;
    virtual void ScrollRowsFrom(int row, int delta) = 0;  // move rows from `row` on by `delta` rows
    virtual void InvalidateTextArea() = 0;                // whole text area, updated at once
    virtual void InvalidateLeftbarRows(int firstRow, int lastRow) = 0;
};
