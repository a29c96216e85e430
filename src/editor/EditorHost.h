// What the editor text model knows of the editors that show it.
//
// A row list (TEditorScreenStrings) can be shown by several editors. It reaches them only through this
// interface: the TEditor widget implements it, and the model's tests use a fake that records the calls.
// Rows and columns are screen rows and tab-expanded screen columns, both 0-based.
#pragma once

#include <bitset>
#include <string>
#include <vector>

class TEditorViewInfo;
class TEditorLeftbar;

// 256-bit set of delimiter bytes (bit n set for byte value n).
using TDelimiters = std::bitset<256>;

// Reserved words for colouring: kept sorted without regard to ASCII case, duplicates ignored.
using TReserveWordList = std::vector<std::string>;

class TEditorHost {
public:
    virtual ~TEditorHost() = default;

    // Caret position. SetRow and SetCol follow the control's caret rules (clamping, never inside a
    // two-byte character).
    virtual int Row() const = 0;
    virtual int Col() const = 0;
    virtual void SetRow(int row) = 0;
    virtual void SetCol(int col) = 0;
    // Puts the caret at a character offset counted from a base row (line breaks count 2, wraps 0).
    virtual void MoveCaretToOffset(int baseRow, int offset) = 0;

    // First visible row; the row list clamps it after an update that shortened the text.
    virtual int TopRow() const = 0;
    virtual void SetTopRowDirect(int row) = 0;
    virtual int VisibleRows() const = 0;
    virtual int RowHeight() const = 0;
    // Height of the control's client area in pixels.
    virtual int DisplayHeight() const = 0;

    virtual void CleanSelection() = 0;
    virtual void HideCaretNested() = 0;
    virtual void ShowCaretNested() = 0;

    // The row list's change notification: the editor repaints from the row list's ChangeRecord, updates
    // its scroll bars and raises its own OnChange when the content changed.
    virtual void StringsChanged() = 0;
    // The stored scanner state of one row was rewritten: its colours may differ.
    virtual void InvalidateRow(int row) = 0;
    // Recompute the scroll range and repaint everything (after loading, re-wrap, un-wrap).
    virtual void Refresh() = 0;
    // The logical-line view entered or left an update of its own (Lines.BeginUpdate/EndUpdate). On leaving,
    // the editor recomputes its caret, scroll range and scroll bars.
    virtual void SetLinesUpdating(bool updating) = 0;

    // Repaint requests computed by TEditorScreen after a change.
    virtual void InvalidateRows(int firstRow, int lastRow) = 0;
    virtual void ScrollRowsFrom(int row, int delta) = 0;  // move rows from `row` on by `delta` rows
    virtual void InvalidateTextArea() = 0;                // whole text area, updated at once
    virtual void InvalidateLeftbarRows(int firstRow, int lastRow) = 0;

    // Options the model reads.
    virtual const TEditorViewInfo& View() const = 0;
    virtual const TEditorLeftbar& Leftbar() const = 0;
    virtual const TReserveWordList& ReserveWordList() const = 0;
    virtual const TDelimiters& Delimiters() const = 0;
    virtual int TabSpaceCount() const = 0;
    // True while the editor is being loaded from its stored definition: re-wraps wait until it is done.
    virtual bool IsLoading() const = 0;
    virtual bool Focused() const = 0;
};
