// TEditor: the mouse: placing the caret, drag-selecting, Shift+click, the left-margin row selection,
// dragging a selection to move or copy it, and the cursor kinds.
#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <cstdlib>

#include "editor/widget/Editor.h"

namespace {

bool CtrlDown(Qt::KeyboardModifiers modifiers) {
    return modifiers & Qt::ControlModifier;
}

// A pointer that went half a cell (or more) away from the press starts a selection or a drag.
bool FarFrom(const QPoint& at, const QPoint& press, int charWidth) {
    const int threshold = charWidth / 2;
    return std::abs(at.x() - press.x()) >= threshold || std::abs(at.y() - press.y()) >= threshold;
}

}  // namespace

void TEditor::SetCursorKind(int kind) {
    if (!FCaret->AutoCursor() || kind == FCursorKind) return;
    FCursorKind = kind;
    const TEditorCursors& c = FCaret->Cursors();
    const TCursor cursors[] = {c.DefaultCursor(), c.LeftMarginCursor(), c.InSelCursor(), c.DragSelCursor(),
                               c.DragSelCopyCursor()};
    viewport()->setCursor(CursorOf(cursors[std::clamp(kind, 0, 4)]));
}

void TEditor::UpdateHoverCursor(const QPoint& at) {
    if (at.x() < TextLeft()) {
        SetCursorKind(1);
        return;
    }
    // The cell under the pointer, as a press takes it: the cursor offers a drag exactly where a press
    // grabs the selection.
    const TRowCol cell = PointToRowCol(at.x(), at.y(), false);
    SetCursorKind(CanDragSelection() && PointInSelection(cell.row, cell.col) ? 2 : 0);
}

void TEditor::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (GestureInProgress()) {
        // Other buttons are ignored while a press or a drag holds the input.
        event->accept();
        return;
    }
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::MiddleButton) {
        PastePrimarySelection(at);
        event->accept();
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    event->accept();
    FLeftDown = true;
    if (event->modifiers() & Qt::ShiftModifier) {
        // Shift+click extends from the anchor, or from the caret before the click.
        if (!SelAvail()) BeginSelection();
        const TRowCol rc = PointToRowCol(at.x(), at.y(), true);
        SetRowCol(rc.row, rc.col);
        ExtendSelection();
        return;
    }
    FMouseDown = at;
    const TRowCol cell = PointToRowCol(at.x(), at.y(), false);
    if (CanDragSelection() && at.x() >= TextLeft() && PointInSelection(cell.row, cell.col)) {
        SetRowCol(cell.row, cell.col);
        if (FCaret->SelDragMode() == dmAutomatic) {
            // The press ends at once: moving the pointer drags the selection, it does not select.
            FLeftDown = false;
            FEdit->SetSelDragState(TSelDragState::Pending);
        }
        return;
    }
    const TRowCol rc = PointToRowCol(at.x(), at.y(), true);
    if (at.x() < TextLeft() && FCaret->RowSelect()) {
        SelectRow(rc.row);
        return;
    }
    CaretHider hidden(*this);
    SetRowCol(rc.row, rc.col);
    BeginSelection();
}

void TEditor::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (FLeftDown || SelDragState() == TSelDragState::Dragging) {
        DragTo(at);
        FollowPointer(at);
    } else if (SelDragState() == TSelDragState::Pending) {
        if (FarFrom(at, FMouseDown, FCharWidth)) {
            FEdit->SetSelDragState(TSelDragState::Dragging);
            SetCursorKind(CtrlDown(event->modifiers()) ? 4 : 3);
        }
    } else {
        UpdateHoverCursor(at);
    }
    QAbstractScrollArea::mouseMoveEvent(event);
}

void TEditor::DragTo(const QPoint& at) {
    if (FLeftDown) {
        // Drag-selecting; above the text area one row higher, so that the text scrolls down.
        TRowCol rc = PointToRowCol(at.x(), at.y(), true);
        if (at.y() < TextTop()) rc.row = std::max(0, rc.row - 1);
        if (FEdit->RowSelecting()) {
            ExtendRowSelection(rc.row);
            return;
        }
        SetRowCol(rc.row, rc.col);
        if (SelAvail()) {
            UpdateSelection();
        } else if (FarFrom(at, FMouseDown, FCharWidth)) {
            StartSelecting();
        }
    } else if (SelDragState() == TSelDragState::Dragging) {
        // The caret shows the drop point.
        TRowCol rc = PointToRowCol(at.x(), at.y(), false);
        if (at.y() < TextTop()) rc.row = std::max(0, rc.row - 1);
        SetRowCol(rc.row, rc.col);
    }
}

bool TEditor::OutsideTextArea(const QPoint& at) const {
    // The rows shown whole; a partly shown last row counts as outside, since a pointer on it scrolls.
    const int top = TextTop();
    if (at.y() < top || at.y() >= top + FVisibleRows * FRowHeight) return true;
    // The left-margin row selection follows the pointer's row only.
    if (FEdit->RowSelecting()) return false;
    const int left = TextLeft();
    return at.x() < left || at.x() >= left + FVisibleCols * FCharWidth;
}

void TEditor::FollowPointer(const QPoint& at) {
    FDragPoint = at;
    if (!OutsideTextArea(at)) {
        StopAutoScroll();
    } else if (!FAutoScrollTimer.isActive()) {
        // Every tick moves the caret to where the pointer points now, so the farther above or below the
        // text the pointer rests, the more rows each tick scrolls.
        FAutoScrollTimer.start();
    }
}

void TEditor::AutoScroll() {
    if (!FLeftDown && SelDragState() != TSelDragState::Dragging) {
        StopAutoScroll();
        return;
    }
    DragTo(FDragPoint);
    if (!OutsideTextArea(FDragPoint)) StopAutoScroll();  // the window grew under the pointer
}

void TEditor::StopAutoScroll() {
    FAutoScrollTimer.stop();
}

void TEditor::mouseReleaseEvent(QMouseEvent* event) {
    QAbstractScrollArea::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    event->accept();
    const QPoint at = event->position().toPoint();
    FLeftDown = false;
    StopAutoScroll();
    if (SelDragState() == TSelDragState::Dragging) {
        Drop(at, CtrlDown(event->modifiers()));
    } else if (SelDragState() == TSelDragState::Pending) {
        // A click inside the selection without a drag: the caret stays at the click, nothing selected.
        CancelDrag(false);
    }
    if (FEdit->RowSelecting()) FEdit->EndRowSelecting();
    if (SelAvail()) SchedulePrimarySelection();
}

void TEditor::mouseDoubleClickEvent(QMouseEvent* event) {
    // No double-click behaviour of the control's own: the owner's handler runs.
    event->accept();
    if (GestureInProgress()) return;
    if (event->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
}

void TEditor::CancelDrag(bool escape) {
    StopAutoScroll();
    FEdit->SetSelDragState(TSelDragState::None);
    if (escape && FCaret->AutoCursor()) {
        FCursorKind = 0;
        viewport()->setCursor(CursorOf(FCaret->Cursors().DefaultCursor()));
    } else {
        SetCursorKind(0);
    }
    CancelSelection();
}

void TEditor::Drop(const QPoint& at, bool copy) {
    FEdit->SetSelDragState(TSelDragState::None);
    if (!viewport()->rect().contains(at)) {
        CancelSelection();
    } else {
        // The model drops only the selection when the caret (the drop point) lies inside it or the
        // selection cannot be dragged now.
        FEdit->DropSelection(copy);
    }
    UpdateHoverCursor(at);
}
