// TEditor: the caret rule, caret moves, the caret's display and the IME candidate position.
#include <QGuiApplication>
#include <QInputMethod>
#include <algorithm>

#include "editor/rows/EditorScreenStrings.h"
#include "editor/wrap/EditorWrapOption.h"
#include "editor/widget/Editor.h"
#include "editor/wrap/ColumnMap.h"

namespace {

// Restores a flag on scope exit.
class FlagGuard {
public:
    FlagGuard(bool& flag, bool value) : FFlag(flag), FOld(flag) { FFlag = value; }
    ~FlagGuard() { FFlag = FOld; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& FFlag;
    bool FOld;
};

}  // namespace

// ---- The caret rule
// ----------------------------------------------------------------------------------------------

void TEditor::NormalizeCaretColumn(TMoveKind kind, int direction) {
    const std::string map = RowColumnMap(FRow);
    const int w = static_cast<int>(map.size());
    const bool vertical = kind == TMoveKind::Vertical;
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
        if (FCaret->KeepCaret()) remember((QGuiApplication::mouseButtons() & Qt::LeftButton) ? w : FCol);
        FCol = w;
    }
    if (ColumnCodeAt(map, FCol) == '5') {
        remember(FCol);
        FCol += direction;
    }
    if (!FCaret->InTab() && ColumnCodeAt(map, FCol) == '3') {
        remember(FCol);
        while (ColumnCodeAt(map, FCol) == '3') FCol += direction;
    }
    if (WordWrap() && FCol >= w) {
        remember(FCol);
        const int wrapByte = FRows->WrapOption().WrapByte();
        if (RowEnd(FRow) == reWrapped) {
            FCol = std::max(0, w - 1);
        } else if (FCol >= wrapByte) {
            FCol = std::max(w, wrapByte - 1);
        }
        if (ColumnCodeAt(map, FCol) == '5') --FCol;
        if (!FCaret->InTab()) {
            while (FCol > 0 && ColumnCodeAt(map, FCol) == '3') --FCol;
        }
    }
    FCol = std::clamp(FCol, 0, kMaxCols);
    if (!FPlacing) UpdateCaret();
}

// ---- Caret moves
// -------------------------------------------------------------------------------------------------

void TEditor::SetCol(int col) {
    col = std::clamp(col, 0, kMaxCols);
    if (FRuler->Visible()) EraseRulerMark(FCol);
    const int old = FCol;
    FCol = col;
    NormalizeCaretColumn(TMoveKind::Horizontal, col > old ? 1 : -1);
    if (FRuler->Visible()) DrawRulerMark(FCol);
}

void TEditor::SetRow(int row) {
    const int count = LineCount();
    if (row == FRow && FRow != count) return;
    UnderlineHider underline(*this);
    FRow = std::clamp(row, 0, count);
    if (FRow == count && count > 0 && RowEnd(count - 1) == reEndOfText) --FRow;
    const int oldCol = FCol;
    NormalizeCaretColumn(TMoveKind::Vertical, -1);
    if (FCol != oldCol && FRuler->Visible()) {
        EraseRulerMark(oldCol);
        DrawRulerMark(FCol);
    }
}

void TEditor::SetRowCol(int row, int col) {
    if (row == FRow && col == FCol) return;
    {
        FlagGuard placing(FPlacing, true);
        SetRow(row);
        const std::string map = RowColumnMap(FRow);
        if (ColumnCodeAt(map, col) == '5') --col;
        if (!FCaret->InTab()) {
            while (col > 0 && ColumnCodeAt(map, col) == '3') --col;
        }
        SetCol(col);
    }
    UpdateCaret();
}

void TEditor::MoveCaretToOffset(int baseRow, int offset) {
    int row = 0;
    int col = 0;
    OffsetToRowCol(baseRow, offset, row, col);
    {
        FlagGuard placing(FPlacing, true);
        SetRow(row);
        SetCol(col);
    }
    UpdateCaret();
}

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
    const bool wide = ColumnCodeAt(RowColumnMap(FRow), FCol) == '4';
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
    int y = TextTop() + (FRow - FTopRow) * FRowHeight;
    if (FCaret->Style() == csBrief && !FOverwriteMode) y += FCharHeight - 2;
    return QPoint(TextLeft() + (FCol - FTopCol) * FCharWidth, y);
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
    if (FRow < FTopRow || FRow > FTopRow + FVisibleRows || FCol < FTopCol || FCol > FTopCol + FVisibleCols)
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
    DestroyCaret();
}

// ---- IME
// ----------------------------------------------------------------------------------------------------

void TEditor::UpdateImeWindow() {
    FImePending = false;
    if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle | Qt::ImFont);
}

QVariant TEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
        case Qt::ImEnabled:
            return !FReadOnly;
        case Qt::ImCursorRectangle: {
            // The caret cell, in the control's coordinates (the viewport sits inside the frame).
            const QPoint cell(TextLeft() + (FCol - FTopCol) * FCharWidth, RowY(FRow));
            return QRect(viewport()->mapTo(this, cell), QSize(FCharWidth, FCharHeight));
        }
        case Qt::ImFont:
            return font();
        default:
            return QAbstractScrollArea::inputMethodQuery(query);
    }
}
