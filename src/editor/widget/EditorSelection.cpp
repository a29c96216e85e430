// TEditor: character offsets, the selection model and replacing the selection.
//
// Offsets count bytes, with 2 for every line break (a row ending with reLineBreak) and 0 for a wrap.
#include <algorithm>

#include "editor/rows/EditorScreenStrings.h"
#include "editor/widget/Editor.h"
#include "editor/wrap/ColumnMap.h"

namespace {

const std::string_view kCrLf = "\r\n";

}  // namespace

// ---- Offsets
// ------------------------------------------------------------------------------------------------

int TEditor::RowOffsetLength(int row) const {
    return static_cast<int>(RowText(row).size()) + (RowEnd(row) == reLineBreak ? 2 : 0);
}

int TEditor::PositionToOffset(int row, int byteIndex) const {
    int offset = 0;
    const int last = std::min(row, LineCount());
    for (int r = 0; r < last; ++r) offset += RowOffsetLength(r);
    return offset + byteIndex;
}

int TEditor::TextLength() const {
    int length = 0;
    const int n = LineCount();
    for (int r = 0; r < n; ++r) length += RowOffsetLength(r);
    return length;
}

void TEditor::OffsetToRowCol(int baseRow, int offset, int& row, int& col) const {
    const int n = LineCount();
    int remainder = std::max(0, offset);
    for (int r = std::max(0, baseRow); r < n; ++r) {
        const int length = RowOffsetLength(r);
        if (remainder < length || RowEnd(r) == reEndOfText) {
            row = r;
            col = std::min(ByteToColumn(r, remainder), RowWidth(r));
            return;
        }
        remainder -= length;
    }
    // Past the end: the empty row after a final line break, or the end of the last row.
    row = n;
    if (n > 0 && RowEnd(n - 1) == reEndOfText) row = n - 1;
    col = RowWidth(row);
}

int TEditor::SelStart() const {
    if (SelAvail()) return PositionToOffset(FSelFirstRow, FSelFirstByte);
    return PositionToOffset(FRow, ColumnToByte(FRow, FCol));
}

void TEditor::SetSelStart(int offset) {
    CleanSelection();
    int row = 0;
    int col = 0;
    if (offset > 0) OffsetToRowCol(0, offset, row, col);
    SetRow(row);
    SetCol(col);
}

int TEditor::SelLength() const {
    if (!SelAvail()) return 0;
    if (FSelFirstRow == FSelLastRow) return FSelLastByte - FSelFirstByte + 1;
    const int lastRow = std::min(FSelLastRow, LineCount());
    int length = 0;
    if (FBoxSelectMode) {
        for (int r = FSelFirstRow; r <= lastRow && r < LineCount(); ++r) {
            int first = 0;
            int end = 0;
            BoxRowBytes(r, first, end);
            length += end - first + 2;
        }
        return length;
    }
    length = static_cast<int>(RowText(FSelFirstRow).size()) - FSelFirstByte;
    for (int r = FSelFirstRow + 1; r < lastRow; ++r) length += static_cast<int>(RowText(r).size());
    length += FSelLastByte + 1;
    for (int r = FSelFirstRow; r < lastRow; ++r) {
        if (RowEnd(r) == reLineBreak) length += 2;
    }
    return length;
}

void TEditor::SetSelLength(int count) {
    if (LineCount() == 0) return;
    SetBoxSelectMode(false);
    if (count > 0) {
        CaretHider caret(*this);
        if (SelAvail()) SetRowCol(FSelCols.top, FSelCols.left);
        BeginSelection();
        int row = 0;
        int col = 0;
        OffsetToRowCol(FRow, ColumnToByte(FRow, FCol) + count, row, col);
        SetRow(row);
        SetCol(col);
        ExtendSelection();
    } else if (SelAvail()) {
        const int row = FSelCols.top;
        const int col = FSelCols.left;
        CancelSelection();
        SetRowCol(row, col);
    }
}

std::string TEditor::BoxRowBytes(int row, int& firstByte, int& endByte) const {
    // The box's columns taken to whole characters: a two-byte character cut by the left edge and a TAB
    // whose fill covers the left edge are outside; one whose first half the right edge holds is inside.
    const std::string_view text = RowText(row);
    const std::string map = RowColumnMap(row);
    const int width = static_cast<int>(map.size());
    int left = FSelCols.left;
    const int right = FSelCols.right;
    firstByte = endByte = 0;
    if (left >= width) {
        firstByte = endByte = static_cast<int>(text.size());
        return std::string();
    }
    if (right <= left) {
        firstByte = endByte = ColumnToByte(row, left);
        return std::string();
    }
    if (ColumnCodeAt(map, left) == '5') ++left;
    while (ColumnCodeAt(map, left) == '3') ++left;
    firstByte = left >= width ? static_cast<int>(text.size()) : ColumnToByte(row, left);
    int last = std::min(right, width) - 1;
    if (ColumnCodeAt(map, last) == '3') {
        while (last > 0 && ColumnCodeAt(map, last) == '3') --last;
    }
    int lastByte = ColumnToByte(row, last);
    if (ColumnCodeAt(map, last) == '4') ++lastByte;
    endByte = std::clamp(lastByte + 1, firstByte, static_cast<int>(text.size()));
    return std::string(
        text.substr(static_cast<std::size_t>(firstByte), static_cast<std::size_t>(endByte - firstByte)));
}

std::string TEditor::SelText() const {
    if (!SelAvail()) return std::string();
    const int n = LineCount();
    if (FSelFirstRow == FSelLastRow) {
        const std::string_view text = RowText(FSelFirstRow);
        const int first = std::clamp(FSelFirstByte, 0, static_cast<int>(text.size()));
        const int end = std::clamp(FSelLastByte + 1, first, static_cast<int>(text.size()));
        return std::string(
            text.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(end - first)));
    }
    std::string out;
    if (FBoxSelectMode) {
        for (int r = FSelFirstRow; r <= FSelLastRow && r < n; ++r) {
            int first = 0;
            int end = 0;
            out += BoxRowBytes(r, first, end);
            out += kCrLf;
        }
        return out;
    }
    for (int r = FSelFirstRow; r <= FSelLastRow && r < n; ++r) {
        const std::string_view text = RowText(r);
        const int from = r == FSelFirstRow ? std::clamp(FSelFirstByte, 0, static_cast<int>(text.size())) : 0;
        if (r == FSelLastRow) {
            const int end = std::clamp(FSelLastByte + 1, from, static_cast<int>(text.size()));
            out.append(text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(end - from)));
            break;
        }
        out.append(text.substr(static_cast<std::size_t>(from)));
        if (RowEnd(r) == reLineBreak) out += kCrLf;
    }
    return out;
}

void TEditor::SetSelText(std::string_view text) {
    if (FReadOnly) return;
    if (SelAvail()) {
        ReplaceSelectionBy(text);
    } else if (!text.empty()) {
        InsertText(text);
    }
}

// ---- Replacing the selection
// ------------------------------------------------------------------------------------

void TEditor::ReplaceSelectionBy(std::string_view insert) {
    const int n = LineCount();
    if (!SelAvail() || n == 0) return;
    const int first = std::min(FSelFirstRow, n - 1);
    int last = FSelLastRow;
    std::string block;
    int insertAt = 0;  // byte offset in block where the inserted text goes
    if (FBoxSelectMode && FSelFirstRow != FSelLastRow) {
        last = std::min(last, n - 1);
        for (int r = first; r <= last; ++r) {
            int from = 0;
            int end = 0;
            BoxRowBytes(r, from, end);
            const std::string_view text = RowText(r);
            if (r == first) insertAt = from;
            block.append(text.substr(0, static_cast<std::size_t>(from)));
            if (r == first) block.append(insert);
            block.append(text.substr(static_cast<std::size_t>(end)));
            if (RowEnd(r) == reLineBreak) block += kCrLf;
        }
    } else {
        const std::string_view head = RowText(first);
        insertAt = std::clamp(FSelFirstByte, 0, static_cast<int>(head.size()));
        block.append(head.substr(0, static_cast<std::size_t>(insertAt)));
        block.append(insert);
        if (last >= n) {
            // The selection takes the final line break: nothing follows it.
            last = n - 1;
        } else {
            const std::string_view tail = RowText(last);
            const int after = std::clamp(FSelLastByte + 1, 0, static_cast<int>(tail.size()));
            block.append(tail.substr(static_cast<std::size_t>(after)));
            if (RowEnd(last) == reLineBreak) block += kCrLf;
        }
    }
    // The caret's target as an offset from a row that the re-wrap cannot move.
    const int base = std::max(FRows->LineFirstRow(first), first - 1);
    int offset = insertAt + static_cast<int>(insert.size());
    for (int r = std::max(0, base); r < first; ++r) offset += RowOffsetLength(r);

    const bool several = last > first;
    CaretHider caret(*this);
    if (several) HideUnderline();
    CancelSelection();
    FRows->ReplaceRows(first, last - first + 1, block);
    MoveCaretToOffset(std::max(0, base), offset);
    if (several) ShowUnderline();
}

void TEditor::DeleteSelection() {
    if (SelAvail()) ReplaceSelectionBy(std::string_view());
}

void TEditor::InsertText(std::string_view text) {
    if (SelAvail()) {
        ReplaceSelectionBy(text);
        return;
    }
    if (text.empty()) return;
    CaretHider caret(*this);
    CleanSelection();
    const int n = LineCount();
    const int row = std::clamp(FRow, 0, n);
    if (row >= n) {
        // The empty row after a final line break (or an empty text): the text becomes the new last line.
        const int base = std::max(0, n > 0 ? FRows->LineFirstRow(n - 1) : 0);
        int offset = static_cast<int>(text.size());
        for (int r = base; r < n; ++r) offset += RowOffsetLength(r);
        FRows->ReplaceRows(n, 0, text);
        MoveCaretToOffset(base, offset);
        return;
    }
    const std::string_view line = RowText(row);
    const int width = RowWidth(row);
    const int at = ColumnToByte(row, FCol);
    std::string block(line.substr(0, static_cast<std::size_t>(at)));
    // A caret right of the row's end (free caret) types after spaces up to it.
    const int pad = FCol > width ? FCol - width : 0;
    block.append(static_cast<std::size_t>(pad), ' ');
    block.append(text);
    block.append(line.substr(static_cast<std::size_t>(at)));
    if (RowEnd(row) == reLineBreak) block += kCrLf;
    const int base = std::max(FRows->LineFirstRow(row), row - 1);
    int offset = at + pad + static_cast<int>(text.size());
    for (int r = std::max(0, base); r < row; ++r) offset += RowOffsetLength(r);
    FRows->ReplaceRows(row, 1, block);
    MoveCaretToOffset(std::max(0, base), offset);
}

void TEditor::SelectAll() {
    CaretHider caret(*this);
    SetSelStart(0);
    SetSelLength(TextLength());
}

// ---- Selection model
// ------------------------------------------------------------------------------------------

void TEditor::BeginSelection() {
    if (SelAvail()) CancelSelection();
    if (LineCount() == 0) return;
    FSelectionState = TSelectionState::Anchored;
    const int b = ColumnToByte(FRow, FCol);
    FAnchorRow = FRow;
    FAnchorByte = b;
    FAnchorCol = FBoxSelectMode ? FCol : std::min(FCol, RowWidth(FRow));
    FSelFirstRow = FSelLastRow = FRow;
    FSelFirstByte = FSelLastByte = b;
    FSelCols = {FRow, FRow, FAnchorCol, FAnchorCol};
    FPaintedSel = FSelCols;
}

void TEditor::ExtendSelection() {
    if (FSelectionState == TSelectionState::Anchored) {
        StartSelecting();
    } else if (FSelectionState == TSelectionState::Active) {
        UpdateSelection();
    }
}

void TEditor::StartSelecting() {
    if (FSelectionState != TSelectionState::Anchored) return;
    HideUnderline();
    FSelectionState = TSelectionState::Active;
    UpdateSelection();
}

void TEditor::UpdateSelection() {
    if (FSelectionState != TSelectionState::Active) return;
    const int ar = FAnchorRow;
    const int ab = FAnchorByte;
    const int ac = FAnchorCol;
    const int r = FRow;
    const int c = FCol;
    const int cb = ColumnToByte(r, c);
    FSelFirstRow = std::min(ar, r);
    FSelLastRow = std::max(ar, r);
    if (ar == r) {
        FSelFirstByte = std::min(ab, cb);
        FSelLastByte = std::max(ab, cb) - 1;
    } else if (ar < r) {
        FSelFirstByte = ab;
        FSelLastByte = cb - 1;
    } else {
        FSelFirstByte = cb;
        FSelLastByte = ab - 1;
    }
    TSelectionColumns cols{FSelFirstRow, FSelLastRow, 0, 0};
    if (FBoxSelectMode) {
        cols.left = std::min(ac, c);
        cols.right = std::max(ac, c);
    } else if (ar == r) {
        const int w = RowWidth(r);
        cols.left = std::min(std::min(ac, c), w);
        cols.right = std::min(std::max(ac, c), w);
    } else if (ar < r) {
        cols.left = std::min(ac, RowWidth(ar));
        cols.right = std::min(c, RowWidth(r));
    } else {
        cols.left = std::min(c, RowWidth(r));
        cols.right = std::min(ac, RowWidth(ar));
    }
    FSelCols = cols;
    RepaintSelection();
    DoSelectionChange(true);
}

void TEditor::CancelSelection() {
    if (FSelectionState != TSelectionState::Active) return;
    FSelectionState = TSelectionState::None;
    const TSelectionColumns& s = FPaintedSel;
    if (!(s.top == s.bottom && s.left == s.right) ||
        !(FSelCols.top == FSelCols.bottom && FSelCols.left == FSelCols.right)) {
        const int top = std::max(std::min(s.top, FSelCols.top) - 1, FTopRow);
        const int bottom = std::min(std::max(s.bottom, FSelCols.bottom) + 1, FTopRow + FVisibleRows + 1);
        if (bottom > top) {
            const int left = TextLeft();
            InvalidateRect(QRect(left, RowY(top), viewport()->width() - left, RowY(bottom) - RowY(top)));
        }
    }
    FPaintedSel = FSelCols;
    ShowUnderline();
    FGoalColValid = false;
    DoSelectionChange(false);
}

void TEditor::SetBoxSelectMode(bool on) {
    if (on == FBoxSelectMode || FSelDragState != TSelDragState::None) return;
    FBoxSelectMode = on;
    if (SelAvail()) {
        if (on) viewport()->setCursor(CursorOf(FCaret->Cursors().DefaultCursor()));
        UpdateSelection();
        viewport()->update();
    }
    DoSelectionModeChange();
}

bool TEditor::PointInSelection(int row, int col) const {
    if (!SelAvail() || row < FSelCols.top || row > FSelCols.bottom) return false;
    if (FBoxSelectMode)
        return col >= BoxEdgeColumn(row, FSelCols.left) && col < BoxEdgeColumn(row, FSelCols.right);
    if (row == FSelCols.top && col < FSelCols.left) return false;
    if (row == FSelCols.bottom && col >= FSelCols.right) return false;
    return true;
}

bool TEditor::CanDragSelection() const {
    return !FReadOnly && SelAvail() && !FBoxSelectMode && FCaret->SelMove();
}

int TEditor::BoxEdgeColumn(int row, int col) const {
    // Box edges on the row's expanded text: clamped to its end, never inside a two-byte character.
    const std::string map = RowColumnMap(row);
    col = std::min(col, static_cast<int>(map.size()));
    if (ColumnCodeAt(map, col) == '5') ++col;
    return col;
}

// ---- Incremental repaint of a changed selection
// --------------------------------------------------------------

namespace {

struct Span {
    int from = 0;
    int to = 0;
    bool Empty() const { return to <= from; }
};

}  // namespace

void TEditor::RepaintSelection() {
    // Exactly the strips whose selection state changed are repainted: on every row the painted and the new
    // selected spans are compared and their symmetric difference is invalidated.
    const TSelectionColumns oldSel = FPaintedSel;
    const TSelectionColumns newSel = FSelCols;
    FPaintedSel = newSel;
    const int left = TextLeft();
    const int width = viewport()->width();
    const int bandHeight = FCharHeight + FMargin->UnderlineSpace();
    const auto cx = [&](int c) { return std::max(left, left + (c - FTopCol) * FCharWidth); };
    const auto span = [&](const TSelectionColumns& s, int r) -> Span {
        if (r < s.top || r > s.bottom) return {};
        if (FBoxSelectMode) return {cx(BoxEdgeColumn(r, s.left)), cx(BoxEdgeColumn(r, s.right))};
        return {r == s.top ? cx(s.left) : left, r == s.bottom ? cx(s.right) : width};
    };
    const int firstRow = std::max(std::min(oldSel.top, newSel.top), FTopRow);
    const int lastRow =
        std::min({std::max(oldSel.bottom, newSel.bottom), FTopRow + FVisibleRows, LineCount()});
    for (int r = firstRow; r <= lastRow; ++r) {
        const Span a = span(oldSel, r);
        const Span b = span(newSel, r);
        const int y = RowY(r);
        const auto strip = [&](int x1, int x2) {
            if (x2 > x1) InvalidateRect(QRect(x1, y, x2 - x1, bandHeight));
        };
        if (a.Empty() || b.Empty() || a.to <= b.from || b.to <= a.from) {
            if (!a.Empty()) strip(a.from, a.to);
            if (!b.Empty()) strip(b.from, b.to);
            continue;
        }
        strip(std::min(a.from, b.from), std::max(a.from, b.from));
        strip(std::min(a.to, b.to), std::max(a.to, b.to));
    }
}
