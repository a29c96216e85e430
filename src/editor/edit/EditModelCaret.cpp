// TEditModel: the caret rule and the caret moves.
#include <algorithm>

#include "editor/edit/EditModel.h"
#include "editor/wrap/ColumnMap.h"
#include "editor/options/EditorCaret.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/wrap/EditorWrapOption.h"

void TEditModel::NormalizeCaretColumn(TMoveKind kind, int direction) {
    const std::string map = FColumns.Map(FRow);
    const auto at = [&](int c) { return ColumnCodeAt(map, c); };
    const int w = static_cast<int>(map.size());
    const bool vertical = kind == TMoveKind::Vertical;
    // A vertical move remembers the column it started from, so that it returns there on a long row.
    const auto remember = [&](int c) {
        if (vertical && !FGoalColValid) {
            FGoalCol = c;
            FGoalColValid = true;
        }
    };

    if (!vertical) {
        FGoalColValid = false;
    } else if (FGoalColValid) {
        FCol = FGoalCol;
    }
    if (!FCaret->FreeCaret() && FCol > w) {
        if (FCaret->KeepCaret()) remember(FView->LeftButtonHeld() ? w : FCol);
        FCol = w;
    }
    if (at(FCol) == '5') {
        remember(FCol);
        FCol += direction;
    }
    if (!FCaret->InTab() && at(FCol) == '3') {
        remember(FCol);
        while (at(FCol) == '3') FCol += direction;
    }
    if (FRows->WordWrap() && FCol >= w) {
        // The position after the last character of a wrapped row is the start of the next row.
        remember(FCol);
        const int wrapByte = FRows->WrapOption().WrapByte();
        if (FColumns.End(FRow) == reWrapped) {
            FCol = std::max(0, w - 1);
        } else if (FCol >= wrapByte) {
            FCol = std::max(w, wrapByte - 1);
        }
        if (at(FCol) == '5') --FCol;
        if (!FCaret->InTab()) {
            while (FCol > 0 && at(FCol) == '3') --FCol;
        }
    }
    FCol = std::clamp(FCol, 0, kMaxCols);
    if (!FPlacing) FView->CaretPlaced();
}

void TEditModel::SetCol(int col) {
    col = std::clamp(col, 0, kMaxCols);
    FView->CaretColumnLeaving(FCol);
    const int old = FCol;
    FCol = col;
    NormalizeCaretColumn(TMoveKind::Horizontal, col > old ? 1 : -1);
    FView->CaretColumnEntered(FCol);
}

void TEditModel::SetRow(int row) {
    const int count = LineCount();
    if (row == FRow && FRow != count) return;
    TUnderlineHidden underline(*FView, true);
    FRow = std::clamp(row, 0, count);
    if (FRow == count && count > 0 && FColumns.End(count - 1) == reEndOfText) --FRow;
    const int oldCol = FCol;
    NormalizeCaretColumn(TMoveKind::Vertical, -1);
    if (FCol != oldCol) {
        FView->CaretColumnLeaving(oldCol);
        FView->CaretColumnEntered(FCol);
    }
}

void TEditModel::SetRowCol(int row, int col) {
    if (row == FRow && col == FCol) return;
    {
        TPlacing placing(FPlacing);
        SetRow(row);
        const std::string map = FColumns.Map(FRow);
        if (ColumnCodeAt(map, col) == '5') --col;
        if (!FCaret->InTab()) {
            while (col > 0 && ColumnCodeAt(map, col) == '3') --col;
        }
        SetCol(col);
    }
    FView->CaretPlaced();
}

void TEditModel::SetRowAndColumn(TRowCol at) {
    {
        TPlacing placing(FPlacing);
        SetRow(at.row);
        SetCol(at.col);
    }
    FView->CaretPlaced();
}

void TEditModel::MoveCaretToOffset(int baseRow, std::int64_t offset) {
    SetRowAndColumn(FOffsets.OffsetToRowCol(baseRow, offset));
}

void TEditModel::ClampCaret() {
    const int count = LineCount();
    FRow = std::clamp(FRow, 0, count);
    if (FRow == count && FRow > 0 && FColumns.End(FRow - 1) == reEndOfText) --FRow;
    TPlacing placing(FPlacing);
    NormalizeCaretColumn(TMoveKind::Horizontal, -1);
}
