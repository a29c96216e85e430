#include "printing/FormStrProgress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include "printing/PageGeometry.h"

namespace {

const QString kProcessing = QStringLiteral("処理中...");

}  // namespace

TFormStrProgress::TFormStrProgress(QWidget* parent) : QDialog(parent) {
    setWindowTitle(kProcessing);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint);
    setWindowModality(Qt::ApplicationModal);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);
    resize(373, 91);

    Label1 = new QLabel(kProcessing, this);
    Label1->move(20, 10);
    Label1->resize(334, 18);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(20, 31, 334, 16);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    Button1 = new QPushButton(QStringLiteral("Cancel"), this);
    Button1->setGeometry(149, 59, 75, 25);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TFormStrProgress::Open(const QString& caption) {
    setWindowTitle(caption.isEmpty() ? kProcessing : caption);
    Label1->setText(kProcessing);
    ProgressBar1->setValue(0);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    ProcessEvents();
}

void TFormStrProgress::UpdateProgress(int lastIndex, int index) {
    if (lastIndex <= 0) lastIndex = index = 1;
    const int position = printing::RoundHalfEven(static_cast<double>(index) / lastIndex * 100.0);
    if (position != ProgressBar1->value()) ProgressBar1->setValue(position);
}

void TFormStrProgress::ProcessEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

int TFormStrProgress::Position() const {
    return ProgressBar1->value();
}

void TFormStrProgress::reject() {
    FCancelled = true;
}

void TFormStrProgress::closeEvent(QCloseEvent* event) {
    FCancelled = true;
    event->ignore();
}
