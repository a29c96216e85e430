#include "app/gui/AboutDialog.h"

#include <QApplication>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <functional>

#include "app/gui/MainWindowDialogs.h"

namespace {

// A label that reports a left click.
class TLinkLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> OnClick;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && OnClick) OnClick();
        QLabel::mousePressEvent(event);
    }
};

TMainWindowDialogs& DefaultDialogs() {
    static TMainWindowDialogs dialogs;
    return dialogs;
}

}  // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(393, 122);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);

    imgIcon = new QLabel(this);
    imgIcon->setGeometry(10, 10, 32, 32);
    lblProjectName = new QLabel(this);
    lblProjectName->move(55, 10);
    lblProjectVersion = new QLabel(this);
    lblProjectVersion->move(55, 30);
    auto* copyright = new TLinkLabel(this);
    copyright->move(155, 30);
    QPalette blue = copyright->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    copyright->setPalette(blue);
    QFont underlined = font;
    underlined.setUnderline(true);
    copyright->setFont(underlined);
    copyright->setCursor(Qt::PointingHandCursor);
    copyright->OnClick = [this] { onClick_lblCopyright(); };
    lblCopyright = copyright;
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(10, 50, 376, 2);
    lblComments = new QLabel(this);
    lblComments->move(10, 60);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(310, 95, 75, 21);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);  // Escape rejects: OK is the cancel button
}

void TfrmAbout::onClick_lblCopyright() {
    TMainWindowDialogs& dialogs = FDialogs ? *FDialogs : DefaultDialogs();
    dialogs.OpenUrl(QUrl(QStringLiteral("mailto:") + FMailAddress, QUrl::TolerantMode));
}

bool TAboutDialog::Execute(QWidget* parent) {
    TfrmAbout form(parent);
    form.setWindowTitle(ProjectName);
    form.SetMailAddress(MailAddress);
    form.SetDialogs(FDialogs);
    const QIcon icon = parent ? parent->window()->windowIcon() : QApplication::windowIcon();
    form.imgIcon->setPixmap(icon.pixmap(32, 32));
    form.lblProjectName->setText(ProjectName);
    form.lblProjectVersion->setText(ProjectVersion);
    form.lblCopyright->setText(Copyright);
    form.lblComments->setText(QString(Comments).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    for (QLabel* label : {form.lblProjectName, form.lblProjectVersion, form.lblCopyright, form.lblComments})
        label->adjustSize();
    if (QScreen* screen = parent ? parent->screen() : QApplication::primaryScreen())
        form.move(screen->geometry().center() - form.rect().center());
    TMainWindowDialogs& dialogs = FDialogs ? *FDialogs : DefaultDialogs();
    dialogs.Exec(form);
    return true;
}
