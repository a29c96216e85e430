// TEditor: what the caret and selection model asks to be shown, and the repaint of a changed selection.
#include <QGuiApplication>
#include <algorithm>

#include "editor/widget/Editor.h"
#include "editor/wrap/ColumnMap.h"

// ---- TEditView
// --------------------------------------------------------------------------------------------------

void TEditor::CaretPlaced() {
    UpdateCaret();
}

void TEditor::CaretColumnLeaving(int col) {
    if (FRuler->Visible()) EraseRulerMark(col);
}

void TEditor::CaretColumnEntered(int col) {
    if (FRuler->Visible()) DrawRulerMark(col);
}

void TEditor::SelectAll() {
    FEdit->SelectAll();
    SchedulePrimarySelection();
}

bool TEditor::LeftButtonHeld() const {
    return FLeftDown || (QGuiApplication::mouseButtons() & Qt::LeftButton);
}

void TEditor::SelectionChanged(const TSelectionColumns& before, const TSelectionColumns& after) {
    RepaintSelection(before, after);
    DoSelectionChange(true);
}

void TEditor::SelectionCancelled(const TSelectionColumns& last) {
    // The rows of the dropped selection, and one above it, whose underline may show again.
    if (!last.Empty()) {
        const int top = std::max(last.top - 1, FTopRow);
        const int bottom = std::min(last.bottom + 1, FTopRow + FVisibleRows + 1);
        if (bottom > top) {
            const int left = TextLeft();
            InvalidateRect(QRect(left, RowY(top), viewport()->width() - left, RowY(bottom) - RowY(top)));
        }
    }
    DoSelectionChange(false);
}

void TEditor::SelectionModeChanged(bool selectionActive) {
    if (selectionActive) {
        if (BoxSelectMode()) viewport()->setCursor(CursorOf(FCaret->Cursors().DefaultCursor()));
        viewport()->update();
    }
    DoSelectionModeChange();
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

void TEditor::RepaintSelection(const TSelectionColumns& oldSel, const TSelectionColumns& newSel) {
    // Exactly the strips whose selection state changed are repainted: on every row the painted and the new
    // selected spans are compared and their symmetric difference is invalidated.
    const int left = TextLeft();
    const int width = viewport()->width();
    const int bandHeight = FCharHeight + FMargin->UnderlineSpace();
    const auto cx = [&](int c) { return std::max(left, left + (c - FTopCol) * FCharWidth); };
    const auto span = [&](const TSelectionColumns& s, int r) -> Span {
        if (r < s.top || r > s.bottom) return {};
        if (BoxSelectMode()) return {cx(BoxEdgeColumn(r, s.left)), cx(BoxEdgeColumn(r, s.right))};
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
