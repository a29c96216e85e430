#include "printing/FormStrPreview.h"

#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QPainter>
#include <QPicture>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "printing/MetaFileList.h"
#include "printing/PageGeometry.h"
#include "printing/StringsPrinter.h"

namespace {

using printing::RoundHalfEven;

// Navigation glyphs: a triangle pointing left or right, with a bar for first and last.
QIcon Glyph(bool right, bool bar) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0));
    const double tip = right ? 12.5 : 3.5;
    const double base = right ? 5.5 : 10.5;
    const QPointF triangle[] = {{base, 3.5}, {tip, 8.0}, {base, 12.5}};
    p.drawPolygon(triangle, 3);
    if (bar) p.drawRect(right ? QRectF(12.5, 3.5, 2, 9) : QRectF(1.5, 3.5, 2, 9));
    p.end();
    QIcon icon(pixmap);
    return icon;
}

QToolButton* Button(QWidget* parent, int x, int width, const QString& text, const QIcon& icon = {}) {
    auto* button = new QToolButton(parent);
    button->setGeometry(x, 2, width, 25);
    button->setAutoRaise(true);
    if (icon.isNull()) {
        button->setText(text);
    } else {
        button->setIcon(icon);
        button->setToolTip(text);
    }
    return button;
}

}  // namespace

TFormStrPreview::TFormStrPreview(TStringsPrinter& printer, const TMetaFileList& pages, QWidget* parent)
    : QDialog(parent), FPrinter(printer), FPages(pages) {
    setWindowTitle(QStringLiteral("プレビュー"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);
    resize(520, 459);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }

    Panel1 = new QWidget(this);
    Panel1->setFixedHeight(29);
    SpeedButton2 = Button(Panel1, 5, 25, QStringLiteral("前のページ"), Glyph(false, false));
    SpeedButton3 = Button(Panel1, 30, 25, QStringLiteral("次のページ"), Glyph(true, false));
    SpeedButton5 = Button(Panel1, 55, 46, QStringLiteral("標準"));
    SpeedButton7 = Button(Panel1, 101, 46, QStringLiteral("拡大"));
    SpeedButton8 = Button(Panel1, 150, 46, QStringLiteral("閉じる"));
    SpeedButton1 = Button(Panel1, 210, 25, QStringLiteral("最初のページ"), Glyph(false, true));
    SpeedButton4 = Button(Panel1, 235, 25, QStringLiteral("最後のページ"), Glyph(true, true));
    SpeedButton6 = Button(Panel1, 285, 85, QStringLiteral("Adjust Width"));
    SpeedButton1->hide();
    SpeedButton4->hide();
    SpeedButton6->hide();
    SpeedButton5->setCheckable(true);
    SpeedButton7->setCheckable(true);
    SpeedButton7->setChecked(true);
    auto* zoomGroup = new QButtonGroup(this);
    zoomGroup->setExclusive(true);
    zoomGroup->addButton(SpeedButton5);
    zoomGroup->addButton(SpeedButton7);

    Panel2 = new QFrame(this);
    auto* panel2Layout = new QVBoxLayout(Panel2);
    panel2Layout->setContentsMargins(2, 2, 2, 2);
    ScrollBox1 = new QScrollArea(Panel2);
    ScrollBox1->setAlignment(Qt::AlignCenter);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    Image1 = new QLabel;
    Image1->setScaledContents(false);
    ScrollBox1->setWidget(Image1);
    panel2Layout->addWidget(ScrollBox1);

    StatusBar1 = new QStatusBar(this);
    StatusPanel0 = new QLabel(StatusBar1);
    StatusPanel0->setFixedWidth(60);
    StatusPanel0->setAlignment(Qt::AlignCenter);
    StatusPanel1 = new QLabel(StatusBar1);
    StatusPanel1->setFixedWidth(50);
    StatusBar1->addWidget(StatusPanel0);
    StatusBar1->addWidget(StatusPanel1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(Panel2, 1);
    layout->addWidget(StatusBar1);

    connect(SpeedButton1, &QToolButton::clicked, this, [this] { ShowPage(0); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { ShowPage(FPage - 1); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { ShowPage(FPage + 1); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { ShowPage(FPages.Count() - 1); });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { SetZoom(zmPageHeight); });
    connect(SpeedButton6, &QToolButton::clicked, this, [this] { SetZoom(zmPageWidth); });
    connect(SpeedButton7, &QToolButton::clicked, this, [this] { SetZoom(zmActualSize); });
    connect(SpeedButton8, &QToolButton::clicked, this, [this] { accept(); });

    FScrollBarWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ScrollBox1);
    FScrollBarHeight = FScrollBarWidth;
}

void TFormStrPreview::ShowPreview(TStringsPrinter& printer, const TMetaFileList& pages, QWidget* parent) {
    TFormStrPreview preview(printer, pages, parent);
    preview.ShowPage(0);
    preview.SetZoom(zmActualSize);
    preview.exec();
}

QString TFormStrPreview::StatusText() const {
    return StatusPanel0->text();
}

void TFormStrPreview::ShowPage(int n) {
    const int count = FPages.Count();
    FPage = std::clamp(n, 0, std::max(0, count - 1));
    StatusPanel0->setText(QString::asprintf("%3d / %3d", count > 0 ? FPage + 1 : 0, count));
    const bool back = FPage > 0;
    const bool forward = FPage < count - 1;
    SpeedButton1->setEnabled(back);
    SpeedButton2->setEnabled(back);
    SpeedButton3->setEnabled(forward);
    SpeedButton4->setEnabled(forward);
    SetZoom(FZoomMode);
}

void TFormStrPreview::SetZoom(int mode) {
    FZoomMode = std::clamp(mode, 0, 2);
    if (FPages.Count() == 0) return;
    const QPicture& page = FPages[FPage];
    const QRect bounds = page.boundingRect();
    const printing::TPaperOffsets o = FPrinter.GetPaperOffsets();
    // The sheet in printer pixels: the printable area with the unprintable border around it.
    const double pw = bounds.width() + o.Left + o.Right;
    const double ph = bounds.height() + o.Top + o.Bottom;
    if (pw <= 0 || ph <= 0) return;

    const QSize view = ScrollBox1->maximumViewportSize();
    int iw = 1;
    int ih = 1;
    switch (FZoomMode) {
        case zmActualSize: {
            const double r = FPrinter.ScreenToPrinterRatio();
            iw = RoundHalfEven(pw * r);
            ih = RoundHalfEven(ph * r);
            break;
        }
        case zmPageWidth:
            iw = view.width() - FScrollBarWidth;
            ih = RoundHalfEven(ph * iw / pw);
            break;
        default:
            ih = view.height() - FScrollBarHeight;
            iw = RoundHalfEven(pw * ih / ph);
            break;
    }
    iw = std::max(1, iw);
    ih = std::max(1, ih);

    QPixmap sheet(iw, ih);
    sheet.fill(Qt::white);
    {
        QPainter painter(&sheet);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                               QPainter::SmoothPixmapTransform);
        const int left = RoundHalfEven(o.Left * iw / pw);
        const int top = RoundHalfEven(o.Top * ih / ph);
        const int right = RoundHalfEven((bounds.width() + o.Left) * iw / pw);
        const int bottom = RoundHalfEven((bounds.height() + o.Top) * ih / ph);
        TStringsPrinter::DrawPage(painter, page, QRectF(left, top, right - left, bottom - top));
    }
    Image1->setPixmap(sheet);
    Image1->resize(iw, ih);
    CentreImage();
}

void TFormStrPreview::CentreImage() {
    // The scroll area centres a sheet smaller than its view and puts a larger one at the top-left corner.
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
}

void TFormStrPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FScrollBarWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ScrollBox1);
    FScrollBarHeight = FScrollBarWidth;
}

void TFormStrPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    CentreImage();
}
