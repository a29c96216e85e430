#include "app/gui/Icons.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <cmath>
#include <functional>

namespace {

using TDraw = std::function<void(QPainter&)>;

// An icon drawn on a 16 x 16 grid, at 16 and 32 pixels.
QIcon Drawn(const TDraw& draw) {
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        draw(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon Themed(const char* name, const std::function<QIcon()>& fallback) {
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(name));
    return themed.isNull() ? fallback() : themed;
}

QIcon Standard(QStyle::StandardPixmap which) {
    return QApplication::style()->standardIcon(which);
}

const QColor kInk(60, 60, 60);
const QColor kPaper(255, 255, 255);
const QColor kBlue(40, 100, 190);
const QColor kGreen(30, 140, 60);
const QColor kRed(200, 30, 30);

void Page(QPainter& p, QRectF r) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    for (qreal y = r.top() + 3; y < r.bottom() - 1; y += 2.5)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color) {
    p.setPen(QPen(color, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const qreal len = std::hypot(d.x(), d.y());
    const QPointF u = d / len, n(-u.y(), u.x());
    QPolygonF head{to + u * 1.5, to - u * 3 + n * 3, to - u * 3 - n * 3};
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(head);
}

void Plus(QPainter& p, QPointF c) {
    p.setPen(QPen(kGreen, 2));
    p.drawLine(c + QPointF(-3, 0), c + QPointF(3, 0));
    p.drawLine(c + QPointF(0, -3), c + QPointF(0, 3));
}

void SortLetters(QPainter& p, bool ascending) {
    QFont f = QApplication::font();
    f.setPixelSize(7);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRectF(0, 0, 8, 8), Qt::AlignCenter, ascending ? QStringLiteral("A") : QStringLiteral("Z"));
    p.drawText(QRectF(0, 8, 8, 8), Qt::AlignCenter, ascending ? QStringLiteral("Z") : QStringLiteral("A"));
    Arrow(p, QPointF(12, 2), QPointF(12, 13), kBlue);
}

QIcon DrawnCommand(TCommandIcon which) {
    switch (which) {
        case TCommandIcon::Print:
            return Drawn([](QPainter& p) {
                Page(p, QRectF(4.5, 1.5, 7, 6));
                p.setPen(QPen(kInk, 1));
                p.setBrush(QColor(190, 190, 190));
                p.drawRoundedRect(QRectF(1.5, 7.5, 13, 5), 1, 1);
                p.setBrush(kPaper);
                p.drawRect(QRectF(4.5, 10.5, 7, 4));
            });
        case TCommandIcon::Cut:
            return Drawn([](QPainter& p) {
                p.setPen(QPen(kInk, 1.3));
                p.drawLine(QPointF(5, 1), QPointF(10, 10));
                p.drawLine(QPointF(11, 1), QPointF(6, 10));
                p.setBrush(Qt::NoBrush);
                p.setPen(QPen(kBlue, 1.5));
                p.drawEllipse(QPointF(5, 12), 2.5, 2.5);
                p.drawEllipse(QPointF(11, 12), 2.5, 2.5);
            });
        case TCommandIcon::Copy:
            return Drawn([](QPainter& p) {
                Page(p, QRectF(1.5, 1.5, 8, 10));
                Page(p, QRectF(6.5, 4.5, 8, 10));
            });
        case TCommandIcon::Paste:
            return Drawn([](QPainter& p) {
                p.setPen(QPen(kInk, 1));
                p.setBrush(QColor(200, 150, 80));
                p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
                p.setBrush(QColor(160, 160, 160));
                p.drawRect(QRectF(4.5, 1.5, 4, 2));
                Page(p, QRectF(7.5, 6.5, 7, 8));
            });
        case TCommandIcon::Delete:
            return Drawn([](QPainter& p) {
                p.setPen(QPen(kRed, 2.2, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(4, 4), QPointF(12, 12));
                p.drawLine(QPointF(12, 4), QPointF(4, 12));
            });
        case TCommandIcon::Undo:
            return Drawn([](QPainter& p) {
                QPainterPath path;
                path.moveTo(4, 7);
                path.cubicTo(6, 2, 14, 3, 13, 9);
                path.cubicTo(12.5, 12, 10, 13, 8, 13);
                p.setPen(QPen(kBlue, 1.8, Qt::SolidLine, Qt::RoundCap));
                p.setBrush(Qt::NoBrush);
                p.drawPath(path);
                p.setPen(Qt::NoPen);
                p.setBrush(kBlue);
                p.drawPolygon(QPolygonF{QPointF(1, 4), QPointF(7, 5), QPointF(2.5, 10)});
            });
        case TCommandIcon::MoveFirst:
            return Drawn([](QPainter& p) {
                p.setPen(QPen(kInk, 2));
                p.drawLine(QPointF(3, 2.5), QPointF(13, 2.5));
                Arrow(p, QPointF(8, 14), QPointF(8, 5), kBlue);
            });
        case TCommandIcon::MoveEnd:
            return Drawn([](QPainter& p) {
                p.setPen(QPen(kInk, 2));
                p.drawLine(QPointF(3, 13.5), QPointF(13, 13.5));
                Arrow(p, QPointF(8, 2), QPointF(8, 11), kBlue);
            });
        case TCommandIcon::DocumentNew:
            return Drawn([](QPainter& p) {
                Page(p, QRectF(2.5, 1.5, 9, 12));
                Plus(p, QPointF(12, 12));
            });
        case TCommandIcon::Import:
            return Drawn([](QPainter& p) {
                Page(p, QRectF(5.5, 1.5, 9, 13));
                Arrow(p, QPointF(0.5, 8), QPointF(9, 8), kGreen);
            });
        case TCommandIcon::Export:
            return Drawn([](QPainter& p) {
                Page(p, QRectF(1.5, 1.5, 9, 13));
                Arrow(p, QPointF(6, 8), QPointF(14.5, 8), kBlue);
            });
        case TCommandIcon::SortAsc:
            return Drawn([](QPainter& p) { SortLetters(p, true); });
        case TCommandIcon::SortDsc:
            return Drawn([](QPainter& p) { SortLetters(p, false); });
        case TCommandIcon::Find:
            return Drawn([](QPainter& p) {
                p.setPen(QPen(kInk, 1.5));
                p.setBrush(QColor(210, 230, 250));
                p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
                p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(10, 10), QPointF(14, 14));
            });
        default:
            return QIcon();
    }
}

}  // namespace

namespace icons {

QIcon Command(TCommandIcon which) {
    const auto drawn = [which] { return DrawnCommand(which); };
    const auto standard = [](QStyle::StandardPixmap sp) { return [sp] { return Standard(sp); }; };
    switch (which) {
        case TCommandIcon::New:
            return Themed("document-new", standard(QStyle::SP_FileIcon));
        case TCommandIcon::Open:
            return Themed("document-open", standard(QStyle::SP_DialogOpenButton));
        case TCommandIcon::Save:
            return Themed("document-save", standard(QStyle::SP_DialogSaveButton));
        case TCommandIcon::Print:
            return Themed("document-print", drawn);
        case TCommandIcon::Cut:
            return Themed("edit-cut", drawn);
        case TCommandIcon::Copy:
            return Themed("edit-copy", drawn);
        case TCommandIcon::Paste:
            return Themed("edit-paste", drawn);
        case TCommandIcon::Delete:
            return Themed("edit-delete", drawn);
        case TCommandIcon::Undo:
            return Themed("edit-undo", drawn);
        case TCommandIcon::MoveFirst:
            return Themed("go-top", drawn);
        case TCommandIcon::MoveEnd:
            return Themed("go-bottom", drawn);
        case TCommandIcon::DocumentNew:
            return drawn();  // kept apart from the list's New
        case TCommandIcon::Import:
            return Themed("document-import", drawn);
        case TCommandIcon::Export:
            return Themed("document-export", drawn);
        case TCommandIcon::GroupNew:
            return Themed("folder-new", standard(QStyle::SP_FileDialogNewFolder));
        case TCommandIcon::Previous:
            return Themed("go-up", standard(QStyle::SP_ArrowUp));
        case TCommandIcon::Next:
            return Themed("go-down", standard(QStyle::SP_ArrowDown));
        case TCommandIcon::SortAsc:
            return Themed("view-sort-ascending", drawn);
        case TCommandIcon::SortDsc:
            return Themed("view-sort-descending", drawn);
        case TCommandIcon::Info:
            return Themed("help-about", standard(QStyle::SP_MessageBoxInformation));
        case TCommandIcon::Find:
            return Themed("edit-find", drawn);
    }
    return QIcon();
}

QIcon Document() {
    return Themed("text-x-generic", [] { return Standard(QStyle::SP_FileIcon); });
}

QIcon Group() {
    return Themed("folder", [] { return Standard(QStyle::SP_DirClosedIcon); });
}

QIcon GroupOpen() {
    return Themed("folder-open", [] { return Standard(QStyle::SP_DirOpenIcon); });
}

QIcon Marked() {
    const QIcon document = Document();
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pixmap = document.pixmap(size, size);
        if (pixmap.isNull()) {
            pixmap = QPixmap(size, size);
            pixmap.fill(Qt::transparent);
        }
        pixmap.setDevicePixelRatio(1);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(pixmap.width() / 16.0, pixmap.height() / 16.0);
        // A white edge keeps the mark readable over any document image.
        QPainterPath check;
        check.moveTo(1, 11);
        check.lineTo(3.5, 14);
        check.lineTo(8.5, 8);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(check);
        p.setPen(QPen(kRed, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(check);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void PaintProgram(QPainter& p) {
    // A stack of three cards with lines of text, the top one with a folded corner. The scalable file of the
    // installed icon (data/icons/velloria.svg) draws the same shapes.
    p.setPen(QPen(QColor(40, 70, 120), 1.2));
    p.setBrush(QColor(120, 160, 215));
    p.drawRoundedRect(QRectF(9, 3, 20, 24), 2, 2);
    p.setBrush(QColor(170, 200, 235));
    p.drawRoundedRect(QRectF(6, 5, 20, 24), 2, 2);
    QPainterPath card;
    card.moveTo(3, 7);
    card.lineTo(17, 7);
    card.lineTo(23, 13);
    card.lineTo(23, 31);
    card.lineTo(3, 31);
    card.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(card);
    p.drawLine(QPointF(17, 7), QPointF(17, 13));
    p.drawLine(QPointF(17, 13), QPointF(23, 13));
    p.setPen(QPen(QColor(200, 60, 50), 2));
    for (qreal y = 17; y <= 28; y += 4) p.drawLine(QPointF(6, y), QPointF(20, y));
}

QImage ProgramImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    PaintProgram(p);
    p.end();
    return image;
}

QIcon Program() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 256}) icon.addPixmap(QPixmap::fromImage(ProgramImage(size)));
    return icon;
}

}  // namespace icons
