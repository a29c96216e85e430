#include "app/gui/FindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

TFindDialog::TFindDialog(QWidget* parent) : TFindDialog(parent, false) {}

TFindDialog::TFindDialog(QWidget* parent, bool replace) : QDialog(parent, Qt::Tool) {
    setModal(false);
    setWindowTitle(replace ? QStringLiteral("置換") : QStringLiteral("検索"));
    setObjectName(replace ? QStringLiteral("objReplaceDialog") : QStringLiteral("objFindDialog"));
    Build(replace);
}

void TFindDialog::Build(bool replace) {
    auto* outer = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    FGrid = new QGridLayout;
    edtFindText = new QLineEdit;
    edtFindText->setObjectName(QStringLiteral("edtFindText"));
    edtFindText->setMinimumWidth(200);
    auto* label = new QLabel(QStringLiteral("検索する文字列(&N):"));
    label->setBuddy(edtFindText);
    FGrid->addWidget(label, 0, 0);
    FGrid->addWidget(edtFindText, 0, 1);
    left->addLayout(FGrid);

    auto* options = new QHBoxLayout;
    auto* checks = new QVBoxLayout;
    chkMatchCase = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"));
    chkWholeWord = new QCheckBox(QStringLiteral("単語単位で探す(&W)"));
    checks->addStretch();
    checks->addWidget(chkWholeWord);
    checks->addWidget(chkMatchCase);
    options->addLayout(checks);
    auto* direction = new QGroupBox(QStringLiteral("検索する方向"));
    auto* dirs = new QHBoxLayout(direction);
    rdoUp = new QRadioButton(QStringLiteral("上へ(&U)"));
    rdoDown = new QRadioButton(QStringLiteral("下へ(&D)"));
    rdoDown->setChecked(true);
    dirs->addWidget(rdoUp);
    dirs->addWidget(rdoDown);
    options->addWidget(direction);
    left->addLayout(options);
    left->addStretch();
    outer->addLayout(left, 1);

    FButtons = new QVBoxLayout;
    btnFindNext = new QPushButton(QStringLiteral("次を検索(&F)"));
    btnFindNext->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("キャンセル"));
    FButtons->addWidget(btnFindNext);
    if (!replace) FButtons->addWidget(btnCancel);
    FButtons->addStretch();
    outer->addLayout(FButtons);

    connect(btnFindNext, &QPushButton::clicked, this, [this] {
        if (OnFind && !edtFindText->text().isEmpty()) OnFind();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(edtFindText, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
    UpdateButtons();
}

void TFindDialog::UpdateButtons() {
    const bool any = !edtFindText->text().isEmpty();
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b != btnCancel) b->setEnabled(any);
}

QString TFindDialog::FindText() const {
    return edtFindText->text();
}
void TFindDialog::SetFindText(const QString& text) {
    edtFindText->setText(text);
}
bool TFindDialog::Down() const {
    return rdoDown->isChecked();
}
void TFindDialog::SetDown(bool down) {
    (down ? rdoDown : rdoUp)->setChecked(true);
}
bool TFindDialog::MatchCase() const {
    return chkMatchCase->isChecked();
}
void TFindDialog::SetMatchCase(bool on) {
    chkMatchCase->setChecked(on);
}
bool TFindDialog::WholeWord() const {
    return chkWholeWord->isChecked();
}
void TFindDialog::SetWholeWord(bool on) {
    chkWholeWord->setChecked(on);
}

TSearchFlags TFindDialog::Flags() const {
    TSearchFlags flags = 0;
    if (Down()) flags |= sfForward;
    if (MatchCase()) flags |= sfMatchCase;
    if (WholeWord()) flags |= sfWholeWord;
    return flags;
}

void TFindDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    // Opened again: the previous find text is selected, so typing replaces it.
    edtFindText->selectAll();
    edtFindText->setFocus(Qt::OtherFocusReason);
    UpdateButtons();
    if (OnShow) OnShow();
}

void TFindDialog::done(int result) {
    const bool wasVisible = isVisible();
    QDialog::done(result);
    if (wasVisible && OnClose) OnClose();
}
