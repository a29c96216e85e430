// TEditor: the caret's display and the move of the IME candidate window (the caret rule and moves are the
// model's; the input method's queries and events are in EditorIme.cpp).
#include <QGuiApplication>
#include <QInputMethod>
#include <algorithm>

#include "editor/widget/Editor.h"
#include "editor/wrap/ColumnMap.h"

void TEditor::UpdateCaret() {
    CreateEditorCaret();
    ScrollCaretIntoView();
    PlaceCaret();
    ShowEditorCaret();
}

// ---- Caret display
// -----------------------------------------------------------------------------------------------

void TEditor::CreateEditorCaret() {
    if (!hasFocus()) return;
    const int w = FCharWidth - FMargin->Character();
    const bool wide = ColumnCodeAt(RowColumnMap(Row()), Col()) == '4';
    QSize size;
    if (FOverwriteMode) {
        size = QSize(wide ? 2 * w : w, FCharHeight);
    } else if (FCaret->Style() == csBrief) {
        size = QSize(wide ? 2 * w : w, 2);
    } else {
        size = QSize(2, FCharHeight);
    }
    if (FCaretShown) HideEditorCaret();
    FCaretSize = size;
    FCaretCreated = true;
}

void TEditor::DestroyCaret() {
    HideEditorCaret();
    FCaretCreated = false;
}

QPoint TEditor::CaretPixelPos() const {
    int y = TextTop() + (Row() - FTopRow) * FRowHeight;
    if (FCaret->Style() == csBrief && !FOverwriteMode) y += FCharHeight - 2;
    return QPoint(TextLeft() + (Col() - FTopCol) * FCharWidth, y);
}

QRect TEditor::CaretRect() const {
    return QRect(CaretPixelPos(), FCaretSize);
}

void TEditor::PlaceCaret() {
    if (!hasFocus() || !FCaretCreated) return;
    if (FCaretShown) {
        InvalidateRect(FCaretDrawnRect);
        FCaretDrawnRect = CaretRect();
        FCaretBlinkOn = true;
        InvalidateRect(FCaretDrawnRect);
        FBlinkTimer.start();
    }
    if (FKeyRepeating) {
        FImePending = true;
    } else {
        UpdateImeWindow();
    }
    if (OnCaretMoved) OnCaretMoved(this);
}

void TEditor::ShowEditorCaret() {
    if (FCaretHideCount != 0 || !hasFocus() || FCaretShown || !FCaretCreated) return;
    if (Row() < FTopRow || Row() > FTopRow + FVisibleRows || Col() < FTopCol ||
        Col() > FTopCol + FVisibleCols)
        return;
    FCaretShown = true;
    FCaretBlinkOn = true;
    FCaretDrawnRect = CaretRect();
    InvalidateRect(FCaretDrawnRect);
    FBlinkTimer.start();
}

void TEditor::HideEditorCaret() {
    if (!FCaretShown) return;
    FCaretShown = false;
    FBlinkTimer.stop();
    InvalidateRect(FCaretDrawnRect);
}

void TEditor::HideCaretNested() {
    if (++FCaretHideCount == 1) HideEditorCaret();
}

void TEditor::ShowCaretNested() {
    if (FCaretHideCount <= 0) {
        FCaretHideCount = 0;
        return;
    }
    if (--FCaretHideCount == 0) ShowEditorCaret();
}

void TEditor::BlinkCaret() {
    if (!FCaretShown) {
        FBlinkTimer.stop();
        return;
    }
    FCaretBlinkOn = !FCaretBlinkOn;
    InvalidateRect(FCaretDrawnRect);
}

void TEditor::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    CreateEditorCaret();
    PlaceCaret();
    ShowEditorCaret();
}

void TEditor::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    // Without the focus the caret does not scroll the text: a drag outside the text area stops scrolling.
    StopAutoScroll();
    DestroyCaret();
}

// ---- IME
// ----------------------------------------------------------------------------------------------------

void TEditor::UpdateImeWindow() {
    FImePending = false;
    if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle | Qt::ImFont);
}
