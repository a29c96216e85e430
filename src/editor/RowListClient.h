// What the row list knows of the editors that show it.
//
// A row list (TEditorScreenStrings) can be shown by several editors. It reaches each of them only through
// this interface: it moves their carets, clears their selections, hides their carets while it edits and
// tells them when the rows changed. The TEditor widget implements it; the model's tests use a fake that
// records the calls. Rows and columns are screen rows and tab-expanded screen columns, both 0-based.
//
// The options that rule wrapping and scanning are not read through here: an editor hands them to the row
// list as values (TColumnRules, TScanOptions) when it registers and again when they change.
#pragma once

#include "base/PairGuard.h"

class TRowListClient {
public:
    virtual ~TRowListClient() = default;

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
    // Row height and the client area's height in pixels: how far below the top row scanning runs ahead.
    virtual int RowHeight() const = 0;
    virtual int DisplayHeight() const = 0;
    // The focused editor's caret goes into undo records.
    virtual bool Focused() const = 0;

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
};

// Keeps an editor's caret hidden for a scope (nothing for a null editor).
using TCaretHideGuard =
    TPairGuard<TRowListClient, &TRowListClient::HideCaretNested, &TRowListClient::ShowCaretNested>;
