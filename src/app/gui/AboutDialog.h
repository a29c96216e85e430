// TAboutDialog, the About component of the main window, and TfrmAbout, the modal box it shows.
//
// The component holds the texts (Unicode; they are shown, never stored) and builds, shows and frees a
// TfrmAbout each time Execute runs. A click on the copyright line opens the user's mail program with
// "mailto:" and MailAddress.
#pragma once

#include <QDialog>
#include <QObject>
#include <QString>

class QLabel;
class TMainWindowDialogs;

class TfrmAbout : public QDialog {
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    QLabel* imgIcon;
    QLabel* lblProjectName;
    QLabel* lblProjectVersion;
    QLabel* lblCopyright;
    QLabel* lblComments;

    void SetMailAddress(const QString& address) { FMailAddress = address; }
    const QString& MailAddress() const { return FMailAddress; }
    // Where the mail link is opened (the desktop by default).
    void SetDialogs(TMainWindowDialogs* dialogs) { FDialogs = dialogs; }

    // onClick_lblCopyright.
    void onClick_lblCopyright();

private:
    QString FMailAddress;
    TMainWindowDialogs* FDialogs = nullptr;
};

class TAboutDialog : public QObject {
public:
    explicit TAboutDialog(QObject* owner = nullptr) : QObject(owner) {}

    QString ProjectName, ProjectVersion, Copyright, Comments, MailAddress;

    // Modal questions and the shell (null: the default ones).
    void SetDialogs(TMainWindowDialogs* dialogs) { FDialogs = dialogs; }

    // Shows the box modally over parent; always true.
    bool Execute(QWidget* parent = nullptr);

private:
    TMainWindowDialogs* FDialogs = nullptr;
};
