// TEditor: the editor's own two cursor images, drawn as monochrome 32 x 32 bitmaps with masks.
#include <QBitmap>
#include <QPainter>
#include <QPolygon>

#include "editor/widget/Editor.h"

namespace {

// The usual arrow with its tip at (0, 0): the outline of the head and the stem.
QPolygon ArrowOutline() {
    return QPolygon({QPoint(0, 0), QPoint(0, 15), QPoint(4, 11), QPoint(7, 18), QPoint(9, 17), QPoint(6, 10),
                     QPoint(11, 10)});
}

// A cursor from a drawing function: the picture (black on white) and its mask (what is opaque).
template <class Draw>
QCursor MakeCursor(Draw draw, int hotX, int hotY) {
    QBitmap picture(32, 32);
    QBitmap mask(32, 32);
    picture.fill(Qt::color0);
    mask.fill(Qt::color0);
    {
        QPainter p(&picture);
        QPainter m(&mask);
        draw(p, m);
    }
    return QCursor(picture, mask, hotX, hotY);
}

}  // namespace

QCursor TEditor::RightArrowCursorImage() {
    // The arrow mirrored, pointing up and to the right, its tip at the hot spot (16, 12).
    return MakeCursor(
        [](QPainter& p, QPainter& m) {
            QPolygon arrow = ArrowOutline();
            for (QPoint& pt : arrow) pt = QPoint(16 - pt.x(), 12 + pt.y());
            m.setPen(Qt::color1);
            m.setBrush(Qt::color1);
            m.drawPolygon(arrow);
            // Bitmap colours: color1 is black, color0 white; a white body with a black outline.
            p.setPen(Qt::color1);
            p.setBrush(Qt::NoBrush);
            p.drawPolygon(arrow);
        },
        16, 12);
}

QCursor TEditor::DragSelCopyCursorImage() {
    // The arrow with a small box holding a plus sign beside it, hot spot at the tip.
    return MakeCursor(
        [](QPainter& p, QPainter& m) {
            const QPolygon arrow = ArrowOutline();
            const QRect box(12, 18, 10, 10);
            m.setPen(Qt::color1);
            m.setBrush(Qt::color1);
            m.drawPolygon(arrow);
            m.drawRect(box);
            p.setPen(Qt::color1);
            p.setBrush(Qt::NoBrush);
            p.drawPolygon(arrow);
            p.drawRect(box);
            p.drawLine(box.left() + 3, box.center().y(), box.right() - 3, box.center().y());
            p.drawLine(box.center().x(), box.top() + 3, box.center().x(), box.bottom() - 3);
        },
        0, 0);
}
