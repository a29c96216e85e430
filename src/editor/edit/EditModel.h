// TEditModel: the caret, the selection and the edits of one editor, without a window.
//
// The model keeps the caret (row, column, goal column) under the caret rule, the anchor and the
// selection (by bytes and by columns, stream or box), and turns selection edits into ReplaceRows calls
// on the row list. It reads the caret options and the delimiter set of its control and reports what is
// to be shown through TEditView. The TEditor widget owns one and forwards its caret, selection and
// edit API to it; keys, mouse gestures and clipboard logic are built on it too.
//
// The class is split by concern: EditModel.cpp (offsets, selection text and edits), EditModelCaret.cpp
// (the caret rule and caret moves), EditModelSelection.cpp (anchor, ranges and selection state),
// EditModelKeys.cpp (the keyboard commands).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "editor/EditorTypes.h"
#include "editor/edit/EditTypes.h"
#include "editor/edit/EditView.h"
#include "editor/edit/RowColumns.h"
#include "editor/edit/TextOffsets.h"

class TEditorCaret;
class TEditorScreenStrings;

class TEditModel {
public:
    // The column limit of every row.
    static constexpr int kMaxCols = 1000;

    TEditModel(TEditorScreenStrings& rows, const TEditorCaret& caret, const TDelimiters& delimiters,
               TEditView& view);
    TEditModel(const TEditModel&) = delete;
    TEditModel& operator=(const TEditModel&) = delete;

    const TRowColumns& Columns() const { return FColumns; }
    const TTextOffsets& Offsets() const { return FOffsets; }
    int LineCount() const;

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }

    // ---- Caret (EditModelCaret.cpp) --------------------------------------------------------------------
    int Row() const { return FRow; }
    int Col() const { return FCol; }
    int GoalCol() const { return FGoalColValid ? FGoalCol : -1; }
    // Caret moves under the caret rule. SetCol clamps to 0..kMaxCols; SetRow clamps to the rows, where
    // Count() is reachable only after a final line break.
    void SetCol(int col);
    void SetRow(int row);
    // A placement at a point (the mouse): the column is taken to the start of a character or a TAB.
    void SetRowCol(int row, int col);
    // Puts the caret `offset` characters after the start of baseRow (the caret restore after an edit).
    void MoveCaretToOffset(int baseRow, std::int64_t offset);
    enum class TMoveKind { Vertical, Horizontal };
    // The caret rule, after every change of Row or Col: never right of the row's end without a free caret,
    // never inside a two-byte character, inside a TAB's fill only with InTab, never after the last
    // column of a wrapped row; a vertical move keeps the goal column.
    void NormalizeCaretColumn(TMoveKind kind, int direction);
    // Takes the caret back into the rows after a change that bypassed the caret moves (a bulk update of
    // the lines); the caller then shows the caret (no CaretPlaced).
    void ClampCaret();
    // The caret's byte index in its row.
    int CaretByte() const { return FColumns.ColumnToByte(FRow, FCol); }

    // ---- Offsets and the selection's text (EditModel.cpp) ----------------------------------------------
    std::int64_t TextLength() const { return FOffsets.TextLength(); }
    std::int64_t PositionToOffset(int row, int byteIndex) const {
        return FOffsets.PositionToOffset(row, byteIndex);
    }
    // Offset of the first selected byte, else of the caret.
    std::int64_t SelStart() const;
    // Drops the selection and puts the caret at the offset.
    void SetSelStart(std::int64_t offset);
    std::int64_t SelLength() const;
    // Selects count characters from the selection's start or the caret (box mode is switched off);
    // count <= 0 drops the selection, leaving the caret at its start.
    void SetSelLength(std::int64_t count);
    std::string SelText() const;
    // Replaces the selection by text, or inserts it at the caret; an empty text deletes the selection.
    // Nothing when read-only.
    void SetSelText(std::string_view text);

    // ---- Edits (EditModel.cpp) -------------------------------------------------------------------------
    // Typing at the caret: replaces an active selection, else inserts (after spaces up to a free caret
    // right of the row's end).
    void InsertText(std::string_view text);
    // Rebuilds the selected rows without the selection and with text where it began (on the top row of a
    // box), in one ReplaceRows; the caret goes after the inserted text.
    void ReplaceSelectionBy(std::string_view text);
    void DeleteSelection();
    void SelectAll();

    // ---- Keyboard commands (EditModelKeys.cpp) ---------------------------------------------------------
    // What the key commands need of the window that shows the rows: its scroll position, the rows it
    // shows, and scrolling (SetTopRow clamps and may stop short of the row asked for).
    class TKeyViewport {
    public:
        virtual ~TKeyViewport() = default;
        virtual int TopRow() const = 0;
        virtual int VisibleRows() const = 0;
        virtual void SetTopRow(int row) = 0;
    };
    enum class TNavKey { PageUp, PageDown, End, Home, Left, Up, Right, Down };
    // A navigation key with its Shift and Ctrl state: Shift anchors and extends the selection, a key
    // without Shift drops it. `repeating` (the key auto-repeats) makes Up and Down step two rows at the
    // edge row of the window, so that holding the key scrolls faster.
    void NavigationKey(TNavKey key, bool shift, bool ctrl, bool repeating, TKeyViewport& viewport);
    // Scrolls by n rows keeping the caret at its place in the window.
    void PageMove(int n, TKeyViewport& viewport);
    // To the next (direction > 0) or previous word start of the token scanner, across row ends.
    void WordMove(int direction);
    // The editing keys; each does nothing when read-only.
    void DeleteKey();
    void BackspaceKey();
    void EnterKey();
    void TabKey();
    // Overwrite mode: typing replaces the characters under the caret, Tab and Enter only move it.
    bool OverwriteMode() const { return FOverwriteMode; }
    void SetOverwriteMode(bool on) { FOverwriteMode = on; }
    // The indentation of a tab-expanded text: leading blanks, an ASCII space 1, a full-width space 2;
    // -1 for an empty text.
    static int IndentWidth(std::string_view expanded);
    // The indentation of the nearest non-empty logical line above the logical line of `row` (0 if none).
    int PrevIndent(int row) const;

    // ---- Selection (EditModelSelection.cpp) -------------------------------------------------------------
    TSelectionState SelectionState() const { return FSelectionState; }
    bool SelAvail() const { return FSelectionState == TSelectionState::Active; }
    TSelDragState SelDragState() const { return FSelDragState; }
    bool BoxSelectMode() const { return FBoxSelectMode; }
    // Nothing when unchanged or while a selection is dragged; recomputes an active selection in the new mode.
    void SetBoxSelectMode(bool on);
    const TSelectionColumns& SelectionColumns() const { return FSelCols; }
    const TSelectionBytes& SelectionBytes() const { return FSelBytes; }
    // Sets the anchor at the caret (dropping an active selection), nothing selected yet.
    void BeginSelection();
    // Anchored: starts selecting; active: follows the caret.
    void ExtendSelection();
    void StartSelecting();
    // Recomputes both ranges from anchor and caret.
    void UpdateSelection();
    void CancelSelection();
    // Drops an active selection, or forgets an anchor.
    void CleanSelection();
    bool PointInSelection(int row, int col) const;
    bool CanDragSelection() const;
    // The bytes of a row inside the box (box mode).
    TByteSpan BoxRowBytes(int row) const { return FColumns.BoxRowBytes(row, FSelCols.left, FSelCols.right); }
    int BoxEdgeColumn(int row, int col) const { return FColumns.BoxEdgeColumn(row, col); }

    // Mouse gestures, box and clipboard (EditModelGestures.cpp, EditModelBox.cpp)
    // ---------------------------------------------------------------------------------------------------
    void SetSelDragState(TSelDragState state) { FSelDragState = state; }
    // A left-margin press on a row: selects the row with its line break (the end-of-text row: its text),
    // anchored so that a drag in the margin always keeps it; the caret goes to the row's start.
    void SelectRow(int row);
    // The pointer moved to a row while row-selecting: whole rows from the row first pressed to it.
    void ExtendRowSelection(int row);
    bool RowSelecting() const { return FRowSelecting; }
    void EndRowSelecting() { FRowSelecting = false; }
    // Moves (or copies) the active stream selection to the caret, which followed the pointer. A move
    // rebuilds the rows from the selection and the drop point in one ReplaceRows (one undo step). A drop
    // inside the selection, or when the selection cannot be dragged, only drops the selection. The caret
    // ends after the inserted text. Returns whether the text changed.
    bool DropSelection(bool copy);
    // Pastes the lines of text as a box: from the selection's top-left (the selected part of every row
    // removed first) or the caret, one line per row, at the same column, padding short rows with spaces and
    // adding rows past the end. Nothing when read-only; an empty text deletes the selection.
    void BoxPaste(std::string_view text);

private:
    // Guards of the view's nesting pairs, and of a multi-step placement.
    class TCaretHidden {
    public:
        explicit TCaretHidden(TEditView& view) : FView(view) { FView.HideCaretNested(); }
        ~TCaretHidden() { FView.ShowCaretNested(); }
        TCaretHidden(const TCaretHidden&) = delete;
        TCaretHidden& operator=(const TCaretHidden&) = delete;

    private:
        TEditView& FView;
    };
    class TUnderlineHidden {
    public:
        TUnderlineHidden(TEditView& view, bool on) : FView(on ? &view : nullptr) {
            if (FView) FView->HideUnderline();
        }
        ~TUnderlineHidden() {
            if (FView) FView->ShowUnderline();
        }
        TUnderlineHidden(const TUnderlineHidden&) = delete;
        TUnderlineHidden& operator=(const TUnderlineHidden&) = delete;

    private:
        TEditView* FView;
    };
    class TPlacing {
    public:
        explicit TPlacing(bool& flag) : FFlag(flag), FOld(flag) { FFlag = true; }
        ~TPlacing() { FFlag = FOld; }
        TPlacing(const TPlacing&) = delete;
        TPlacing& operator=(const TPlacing&) = delete;

    private:
        bool& FFlag;
        bool FOld;
    };

    void SetRowAndColumn(TRowCol at);
    // The row from which the caret's target is counted across an edit of `row`: the nearest row above the
    // edit that re-wrapping cannot move.
    int CaretBaseRow(int row) const;
    // Keyboard helpers (EditModelKeys.cpp).
    // The caret's byte index not limited to the row's length (a free caret right of the end counts on).
    int CaretByteUnlimited() const;
    // Overwrites from the caret with text (OverwriteMode typing).
    void OverwriteText(std::string_view text);
    void Unindent(int row);
    // Deletes an active selection that covers text (true); an empty one is only dropped.
    bool DeleteSelectedText();
    void JoinWithRowAbove(int row);

    TEditorScreenStrings* FRows;
    const TEditorCaret* FCaret;
    TEditView* FView;
    TRowColumns FColumns;
    TTextOffsets FOffsets;
    bool FReadOnly = false;
    bool FOverwriteMode = false;

    // Caret.
    int FRow = 0;
    int FCol = 0;
    int FGoalCol = 0;
    bool FGoalColValid = false;
    bool FPlacing = false;  // a multi-step placement: CaretPlaced once at its end

    // Selection.
    TSelectionState FSelectionState = TSelectionState::None;
    TSelDragState FSelDragState = TSelDragState::None;
    bool FBoxSelectMode = false;
    int FAnchorRow = 0;
    int FAnchorByte = 0;
    int FAnchorCol = 0;
    TSelectionBytes FSelBytes;
    TSelectionColumns FSelCols;

    // Row selection (a left-margin press and drag).
    int FRowSelFirst = 0;
    int FRowSelLast = 0;
    bool FRowSelNoBreak = false;  // the row first pressed is the end-of-text row
    bool FRowSelecting = false;
    int FRowSelPressed = 0;  // the row first pressed
    void SetAnchorAtRowStart(int row);
};
