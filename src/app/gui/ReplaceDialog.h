// TReplaceDialog: the main window's modeless replace dialog (objReplaceDialog).
//
// The find dialog's controls plus the replace text and the buttons Replace and Replace All.
#pragma once

#include "app/gui/FindDialog.h"

class TReplaceDialog : public TFindDialog {
public:
    explicit TReplaceDialog(QWidget* parent = nullptr);

    // Raised by Replace (all = false) and Replace All (all = true).
    std::function<void(bool all)> OnReplace;

    QString ReplaceText() const;
    void SetReplaceText(const QString& text);

    QLineEdit* edtReplaceText = nullptr;
    QPushButton* btnReplace = nullptr;
    QPushButton* btnReplaceAll = nullptr;
};
