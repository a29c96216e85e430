// The modal questions, file dialogs and printer setup of the main window, and the shell's "open".
//
// The window asks everything through one TMainWindowDialogs object, so that tests answer the questions
// themselves instead of a user. The default implementation uses QMessageBox, QFileDialog, QPrintDialog and
// QDesktopServices.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QDialog;
class QPrinter;
class QUrl;
class QWidget;

class TMainWindowDialogs {
public:
    virtual ~TMainWindowDialogs() = default;

    // A message box with the program's caption; returns the button chosen.
    virtual QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton);

    // A question with buttons of its own (texts, left to right); returns the index of the button chosen.
    // Escape and the box's close button choose the last one; -1 when there is none.
    virtual int Choice(QWidget* parent, QMessageBox::Icon icon, const QString& text, const QStringList& buttons,
                       int defaultButton);

    struct TFileDialog {
        QString Title;
        QString Filter;         // one Qt filter, e.g. "ﾄﾞｷｭﾒﾝﾄﾘｽﾄ ( *.vlt )"
        QString DefaultSuffix;  // added to a name typed without one
        QString FileName;       // the name the dialog starts with
    };
    // The chosen file, or an empty string when cancelled. Open: the file must exist. Save: asks before
    // overwriting.
    virtual QString OpenFileName(QWidget* parent, const TFileDialog& dialog);
    virtual QString SaveFileName(QWidget* parent, const TFileDialog& dialog);

    // The printer setup dialog on printer (printer, paper, output file), which it changes; false when
    // cancelled.
    virtual bool PrintSetup(QWidget* parent, QPrinter& printer);

    // Shows a dialog modally (the About box); returns its result.
    virtual int Exec(QDialog& dialog);

    // Opens an address with the desktop's default handler; the result is not examined.
    virtual void OpenUrl(const QUrl& url);
};
