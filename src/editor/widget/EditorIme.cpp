// TEditor: the input method. A commit string is inserted once, as a whole, through the same path as a
// typed character (InsertText); the pre-edit string is only drawn at the caret, underlined, and is no
// part of the text nor of the undo store; the queries tell the input method where the caret cell is,
// which font it uses and what text surrounds it, so that its candidate window sits at the caret.
#include <QApplication>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QPainter>

#include "editor/widget/Editor.h"
#include "text/SjisCodec.h"

namespace {

// Columns a character takes on the grid: its Shift-JIS bytes, 2 for one without a code (shown wide).
int ColumnsOf(char16_t ch) {
    const int code = SjisCodec::Encode(ch);
    return code < 0 || code > 0xFF ? 2 : 1;
}

}  // namespace

void TEditor::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (!commit.isEmpty() && !ReadOnly()) {
        std::string bytes;
        bool lost = false;
        for (const char16_t ch : commit.toStdU16String()) {
            const int code = ch < 0x20 || ch == 0x7F ? -1 : SjisCodec::Encode(ch);
            if (code < 0) {
                lost = true;
                continue;
            }
            if (code > 0xFF) bytes += static_cast<char>(code >> 8);
            bytes += static_cast<char>(code & 0xFF);
        }
        // Characters without a Shift-JIS code are left out, never replaced by another character.
        if (lost) QApplication::beep();
        if (!bytes.empty()) {
            if (FImePending) UpdateImeWindow();
            FEdit->InsertText(bytes);
        }
    }
    const QString preedit = event->preeditString();
    int cursor = preedit.size();
    for (const QInputMethodEvent::Attribute& a : event->attributes()) {
        if (a.type == QInputMethodEvent::Cursor) cursor = a.start;
    }
    if (preedit != FPreedit || cursor != FPreeditCursor) {
        if (!FPreeditDrawnRect.isEmpty()) InvalidateRect(FPreeditDrawnRect);
        FPreedit = preedit;
        FPreeditCursor = std::clamp(cursor, 0, static_cast<int>(preedit.size()));
        FPreeditDrawnRect = PreeditRect();
        if (!FPreeditDrawnRect.isEmpty()) InvalidateRect(FPreeditDrawnRect);
    }
    event->accept();
}

QRect TEditor::PreeditRect() const {
    if (FPreedit.isEmpty()) return QRect();
    int columns = 0;
    for (const QChar ch : FPreedit) columns += ColumnsOf(ch.unicode());
    const QPoint cell(TextLeft() + (Col() - FTopCol) * FCharWidth, RowY(Row()));
    return QRect(cell, QSize(columns * FCharWidth + 2, FCharHeight));
}

void TEditor::DrawPreedit(QPainter& p) {
    if (FPreedit.isEmpty()) return;
    const QRect rect = PreeditRect();
    const QColor text = Resolve(FFontColor);
    p.fillRect(rect, Resolve(FColor));
    p.setFont(font());
    p.setPen(text);
    int x = rect.left();
    int cursorX = x;
    for (int i = 0; i < FPreedit.size(); ++i) {
        if (i == FPreeditCursor) cursorX = x;
        const int width = ColumnsOf(FPreedit[i].unicode()) * FCharWidth;
        p.drawText(QRect(x, rect.top(), width, FCharHeight), Qt::AlignCenter, QString(FPreedit[i]));
        x += width;
    }
    if (FPreeditCursor >= FPreedit.size()) cursorX = x;
    p.drawLine(rect.left(), rect.bottom(), x - 1, rect.bottom());
    p.fillRect(QRect(cursorX, rect.top(), 1, FCharHeight - 1), text);
}

QVariant TEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
        case Qt::ImEnabled:
            return !ReadOnly();
        case Qt::ImCursorRectangle: {
            // The caret cell, in the control's coordinates (the viewport sits inside the frame).
            const QPoint cell(TextLeft() + (Col() - FTopCol) * FCharWidth, RowY(Row()));
            return QRect(viewport()->mapTo(this, cell), QSize(FCharWidth, FCharHeight));
        }
        case Qt::ImFont:
            return font();
        case Qt::ImSurroundingText:
            return SjisCodec::ToUnicode(RowText(Row()));
        case Qt::ImCursorPosition:
        case Qt::ImAnchorPosition: {
            // Characters of the caret row before the caret.
            const std::string_view row = RowText(Row());
            const int byte = std::min<int>(ColumnToByte(Row(), Col()), static_cast<int>(row.size()));
            return static_cast<int>(SjisCodec::ToUnicode(row.substr(0, static_cast<std::size_t>(byte))).size());
        }
        case Qt::ImCurrentSelection:
            // Only a selection inside the caret row: the input method wants a short text.
            if (SelAvail() && SelFirstRow() == SelLastRow()) return SjisCodec::ToUnicode(SelText());
            return QString();
        default:
            return QAbstractScrollArea::inputMethodQuery(query);
    }
}
