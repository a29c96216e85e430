// TEditor: keys while a press or a selection drag holds the input.
#include <QKeyEvent>

#include "editor/widget/Editor.h"

bool TEditor::FilterKeyDuringGesture(QKeyEvent* event) {
    if (!GestureInProgress()) return false;
    const bool press = event->type() == QEvent::KeyPress;
    if (SelDragState() != TSelDragState::Dragging) {
        // Pressed, or a drag that has not started: every key waits for the release.
        event->accept();
        return true;
    }
    if (press) {
        if (event->key() == Qt::Key_Control) {
            SetCursorKind(4);
        } else if (event->key() == Qt::Key_Escape) {
            CancelDrag(true);
        } else if (!event->text().isEmpty() && event->key() != Qt::Key_Delete) {
            // Characters (Backspace, Tab and Enter among them) are not typed during a drag; the other
            // keys are handled as usual.
            event->accept();
            return true;
        }
        return false;
    }
    if (event->key() == Qt::Key_Control) {
        SetCursorKind(3);
        return false;
    }
    event->accept();
    return true;
}
