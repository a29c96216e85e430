#include "app/gui/ReplaceDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TReplaceDialog::TReplaceDialog(QWidget* parent) : TFindDialog(parent, true) {
    edtReplaceText = new QLineEdit;
    edtReplaceText->setObjectName(QStringLiteral("edtReplaceText"));
    auto* label = new QLabel(QStringLiteral("置換後の文字列(&P):"));
    label->setBuddy(edtReplaceText);
    FGrid->addWidget(label, 1, 0);
    FGrid->addWidget(edtReplaceText, 1, 1);
    setTabOrder(edtFindText, edtReplaceText);

    btnReplace = new QPushButton(QStringLiteral("置換して次に(&R)"));
    btnReplaceAll = new QPushButton(QStringLiteral("すべて置換(&A)"));
    // After Find Next, before the stretch: Find Next, Replace, Replace All, Cancel.
    FButtons->insertWidget(1, btnReplace);
    FButtons->insertWidget(2, btnReplaceAll);
    FButtons->insertWidget(3, btnCancel);
    const bool any = !edtFindText->text().isEmpty();
    btnReplace->setEnabled(any);
    btnReplaceAll->setEnabled(any);
    const auto raise = [this](bool all) {
        if (OnReplace && !edtFindText->text().isEmpty()) OnReplace(all);
    };
    connect(btnReplace, &QPushButton::clicked, this, [raise] { raise(false); });
    connect(btnReplaceAll, &QPushButton::clicked, this, [raise] { raise(true); });
}

QString TReplaceDialog::ReplaceText() const {
    return edtReplaceText->text();
}
void TReplaceDialog::SetReplaceText(const QString& text) {
    edtReplaceText->setText(text);
}
