// TEditModel: the left-margin row selection and the drop of a dragged selection.
#include <algorithm>
#include <utility>

#include "editor/edit/EditModel.h"
#include "editor/rows/EditorScreenStrings.h"

namespace {

const std::string_view kCrLf = "\r\n";

}  // namespace

void TEditModel::SetAnchorAtRowStart(int row) {
    FAnchorRow = row;
    FAnchorByte = 0;
    FAnchorCol = 0;
    FRowSelFirst = row;
}

void TEditModel::SelectRow(int row) {
    const int n = LineCount();
    if (n == 0) return;
    row = std::clamp(row, 0, n);
    if (row == n && FColumns.End(n - 1) == reEndOfText) row = n - 1;
    TCaretHidden caret(*FView);
    if (FColumns.End(row) == reEndOfText) {
        // The last row has no line break: its text, anchored at its end.
        SetRowCol(row, FColumns.Width(row));
        BeginSelection();
        SetRowCol(row, 0);
        StartSelecting();
        FRowSelFirst = FRowSelLast = row;
        FRowSelNoBreak = true;
    } else {
        SetRowCol(row, 0);
        BeginSelection();
        SetRowCol(row + 1, 0);
        StartSelecting();
        FRowSelFirst = row;
        FRowSelLast = row + 1;
        FRowSelNoBreak = false;
    }
    FRowSelPressed = row;
    // The caret stands at the row's start; the selection stays as it is.
    SetRowCol(row, 0);
    FRowSelecting = true;
}

void TEditModel::ExtendRowSelection(int row) {
    if (!FRowSelecting) return;
    const int n = LineCount();
    if (n == 0) return;
    row = std::clamp(row, 0, n);
    if (row == n && FColumns.End(n - 1) == reEndOfText) row = n - 1;
    const int pressed = FRowSelPressed;
    TCaretHidden caret(*FView);
    // The anchor sits below the pressed row while the rows above it are selected and at its start
    // otherwise, so the pressed row is always part of the selection. The end-of-text row keeps its anchor
    // at its end.
    if (!FRowSelNoBreak) {
        const int anchorRow = row < pressed ? pressed + 1 : pressed;
        if (FAnchorRow != anchorRow || FAnchorByte != 0) SetAnchorAtRowStart(anchorRow);
    }
    if (row < pressed) {
        SetRowCol(row, 0);
    } else if (FColumns.End(row) != reEndOfText) {
        SetRowCol(row + 1, 0);
    } else if (FRowSelNoBreak) {
        SetRowCol(row, 0);
    } else {
        SetRowCol(row, FColumns.Width(row));
    }
    FRowSelLast = row;
    ExtendSelection();
}

bool TEditModel::DropSelection(bool copy) {
    if (!SelAvail()) return false;
    const int n = LineCount();
    if (n == 0 || !CanDragSelection() || PointInSelection(FRow, FCol) || FSelBytes.firstRow >= n) {
        CancelSelection();
        return false;
    }
    if (copy) {
        const std::string text = SelText();
        TCaretHidden caret(*FView);
        CancelSelection();
        InsertText(text);
        return true;
    }
    // The rows from the selection and the drop point are rebuilt in one piece.
    const TSelectionBytes s = FSelBytes;
    const int first = std::min(s.firstRow, FRow);
    const int last = std::min(std::max(s.lastRow, FRow), n - 1);
    std::string block;
    for (int r = first; r <= last; ++r) {
        block.append(FColumns.Text(r));
        if (FColumns.End(r) == reLineBreak) block += kCrLf;
    }
    const std::int64_t base = PositionToOffset(first, 0);
    const auto inBlock = [&](int row, int byteIndex) {
        const std::int64_t at = PositionToOffset(row, byteIndex) - base;
        return static_cast<std::size_t>(std::clamp<std::int64_t>(at, 0, static_cast<std::int64_t>(block.size())));
    };
    const std::size_t selStart = inBlock(s.firstRow, s.firstByte);
    const std::size_t selEnd = std::max(selStart, inBlock(s.lastRow, s.lastByte + 1));
    const std::size_t drop = inBlock(FRow, CaretByte());
    if (drop > selStart && drop < selEnd) {
        CancelSelection();
        return false;
    }
    const std::string moved = block.substr(selStart, selEnd - selStart);
    block.erase(selStart, moved.size());
    const std::size_t at = drop >= selEnd ? drop - moved.size() : drop;
    block.insert(at, moved);

    const int caretBase = CaretBaseRow(first);
    const std::int64_t offset =
        FOffsets.OffsetBetween(caretBase, first) + static_cast<std::int64_t>(at + moved.size());
    TCaretHidden caret(*FView);
    TUnderlineHidden underline(*FView, true);
    CancelSelection();
    FRows->ReplaceRows(first, last - first + 1, std::move(block));
    MoveCaretToOffset(caretBase, offset);
    return true;
}
