// TFindDialog: the main window's modeless find dialog (objFindDialog).
//
// A tool window of the main window (it stays above that window only, not above every window of the desktop)
// with the find text, the direction (Up/Down) and the options Match case and Whole word, and the buttons
// Find Next and Cancel. Enter is Find Next, Esc closes. The texts and options stay between openings; on each
// opening the find text is selected, so typing replaces it. TReplaceDialog adds the replace text and the
// Replace and Replace All buttons.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "editor/search/SearchText.h"

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TFindDialog : public QDialog {
public:
    explicit TFindDialog(QWidget* parent = nullptr);

    // Raised by Find Next, after the dialog has been shown and after it was closed (Cancel, Esc, the title
    // bar's close button).
    std::function<void()> OnFind;
    std::function<void()> OnShow;
    std::function<void()> OnClose;

    QString FindText() const;
    void SetFindText(const QString& text);
    bool Down() const;
    void SetDown(bool down);
    bool MatchCase() const;
    void SetMatchCase(bool on);
    bool WholeWord() const;
    void SetWholeWord(bool on);
    // sfForward for Down, plus sfMatchCase and sfWholeWord as checked.
    TSearchFlags Flags() const;

    // The controls, for the window's tests.
    QLineEdit* edtFindText = nullptr;
    QRadioButton* rdoUp = nullptr;
    QRadioButton* rdoDown = nullptr;
    QCheckBox* chkMatchCase = nullptr;
    QCheckBox* chkWholeWord = nullptr;
    QPushButton* btnFindNext = nullptr;
    QPushButton* btnCancel = nullptr;

    void done(int result) override;

protected:
    // Builds the common controls; a replace dialog adds its own rows and buttons.
    TFindDialog(QWidget* parent, bool replace);
    void showEvent(QShowEvent* event) override;

    QGridLayout* FGrid = nullptr;
    class QVBoxLayout* FButtons = nullptr;

private:
    void Build(bool replace);
    void UpdateButtons();
};
