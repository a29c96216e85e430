// TEditModel: the anchor, the selection's ranges and its state.
#include <algorithm>

#include "editor/edit/EditModel.h"
#include "editor/options/EditorCaret.h"

void TEditModel::BeginSelection() {
    if (SelAvail()) CancelSelection();
    if (LineCount() == 0) {
        // Nothing to anchor in an empty text; an anchor left from before the text was emptied goes too,
        // or Shift with a key would make a selection of it, over which typing inserts nothing.
        FSelectionState = TSelectionState::None;
        return;
    }
    FSelectionState = TSelectionState::Anchored;
    const int b = CaretByte();
    FAnchorRow = FRow;
    FAnchorByte = b;
    // Outside box mode the anchor never lies right of its row's end (a free caret may).
    FAnchorCol = FBoxSelectMode ? FCol : std::min(FCol, FColumns.Width(FRow));
    FSelBytes = {FRow, FRow, b, b};
    FSelCols = {FRow, FRow, FAnchorCol, FAnchorCol};
}

void TEditModel::ExtendSelection() {
    if (FSelectionState == TSelectionState::Anchored) {
        StartSelecting();
    } else if (FSelectionState == TSelectionState::Active) {
        UpdateSelection();
    }
}

void TEditModel::StartSelecting() {
    if (FSelectionState != TSelectionState::Anchored) return;
    // The caret row's underline stays hidden while a selection is shown.
    FView->HideUnderline();
    FSelectionState = TSelectionState::Active;
    UpdateSelection();
}

void TEditModel::UpdateSelection() {
    if (FSelectionState != TSelectionState::Active) return;
    const int ar = FAnchorRow;
    const int ab = FAnchorByte;
    const int ac = FAnchorCol;
    const int r = FRow;
    const int c = FCol;
    const int cb = CaretByte();
    TSelectionBytes bytes{std::min(ar, r), std::max(ar, r), 0, 0};
    if (ar == r) {
        bytes.firstByte = std::min(ab, cb);
        bytes.lastByte = std::max(ab, cb) - 1;
    } else if (ar < r) {
        bytes.firstByte = ab;
        bytes.lastByte = cb - 1;
    } else {
        bytes.firstByte = cb;
        bytes.lastByte = ab - 1;
    }
    TSelectionColumns cols{bytes.firstRow, bytes.lastRow, 0, 0};
    if (FBoxSelectMode) {
        cols.left = std::min(ac, c);
        cols.right = std::max(ac, c);
    } else if (ar == r) {
        const int w = FColumns.Width(r);
        cols.left = std::min(std::min(ac, c), w);
        cols.right = std::min(std::max(ac, c), w);
    } else if (ar < r) {
        cols.left = std::min(ac, FColumns.Width(ar));
        cols.right = std::min(c, FColumns.Width(r));
    } else {
        cols.left = std::min(c, FColumns.Width(r));
        cols.right = std::min(ac, FColumns.Width(ar));
    }
    const TSelectionColumns before = FSelCols;
    FSelBytes = bytes;
    FSelCols = cols;
    FView->SelectionChanged(before, cols);
}

void TEditModel::CancelSelection() {
    if (FSelectionState != TSelectionState::Active) return;
    FSelectionState = TSelectionState::None;
    FGoalColValid = false;
    FView->ShowUnderline();
    FView->SelectionCancelled(FSelCols);
}

void TEditModel::CleanSelection() {
    if (FSelectionState == TSelectionState::Active) {
        CancelSelection();
    } else {
        FSelectionState = TSelectionState::None;
    }
}

void TEditModel::SetBoxSelectMode(bool on) {
    if (on == FBoxSelectMode || FSelDragState != TSelDragState::None) return;
    FBoxSelectMode = on;
    if (SelAvail()) UpdateSelection();
    FView->SelectionModeChanged(SelAvail());
}

bool TEditModel::PointInSelection(int row, int col) const {
    if (!SelAvail() || row < FSelCols.top || row > FSelCols.bottom) return false;
    if (FBoxSelectMode)
        return col >= BoxEdgeColumn(row, FSelCols.left) && col < BoxEdgeColumn(row, FSelCols.right);
    if (row == FSelCols.top && col < FSelCols.left) return false;
    if (row == FSelCols.bottom && col >= FSelCols.right) return false;
    return true;
}

bool TEditModel::CanDragSelection() const {
    return !FReadOnly && SelAvail() && !FBoxSelectMode && FCaret->SelMove();
}
