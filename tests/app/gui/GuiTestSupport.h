// Helpers of the main window tests: the one QApplication of the test program, and a TMainWindowDialogs that
// answers the window's questions and file dialogs from a script and records what it was asked.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPrinter>
#include <QUrl>
#include <deque>
#include <functional>
#include <vector>

#include "app/gui/MainWindowDialogs.h"
#include "gui/FontSubstitutes.h"
#include "support/TempDir.h"

// The user's data folder (recovery files, backups) of the whole test program: a private temporary one, so
// that no test sees the user's files or another run's. A test that needs a folder of its own sets
// XDG_DATA_HOME before it creates its window.
inline const std::filesystem::path& TestDataHome() {
    static TTempDir home("vel_data_");
    return home.Path();
}

inline QApplication& App() {
    static QApplication* app = [] {
        static int argc = 1;
        static char name[] = "test_appgui";
        static char* argv[] = {name, nullptr};
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(TestDataHome().string()));
        auto* a = new QApplication(argc, argv);
        RegisterFontSubstitutes();
        return a;
    }();
    return *app;
}

class TScriptedDialogs : public TMainWindowDialogs {
public:
    struct TShown {
        QMessageBox::Icon Icon;
        QString Text;
        QMessageBox::StandardButtons Buttons;
    };
    std::vector<TShown> Shown;  // every message box, in order
    // Answers to the next questions (boxes with more than an OK button). A question without an answer fails
    // the test: a command asked where it should not have.
    std::deque<QMessageBox::StandardButton> Answers;
    // The files the next open or save dialogs return; "" = cancelled. A dialog without one fails the test.
    std::deque<QString> OpenFiles, SaveFiles;
    std::vector<TFileDialog> Dialogs;
    std::vector<QUrl> Urls;
    std::vector<QString> ExecutedDialogs;  // window titles of the modal dialogs shown

    QMessageBox::StandardButton Message(QWidget*, QMessageBox::Icon icon, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton) override {
        Shown.push_back({icon, text, buttons});
        if (buttons == QMessageBox::Ok) return QMessageBox::Ok;
        if (Answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return QMessageBox::Cancel;
        }
        const auto answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    // Answers to the next questions with buttons of their own (the index of the button). None left fails
    // the test.
    std::deque<int> Choices;
    int Choice(QWidget*, QMessageBox::Icon icon, const QString& text, const QStringList& buttons,
               int) override {
        Shown.push_back({icon, text, QMessageBox::NoButton});
        ChoiceButtons = buttons;
        if (Choices.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return static_cast<int>(buttons.size()) - 1;
        }
        const int answer = Choices.front();
        Choices.pop_front();
        return answer;
    }
    QStringList ChoiceButtons;  // the buttons of the last such question
    QString OpenFileName(QWidget*, const TFileDialog& d) override { return Next(OpenFiles, d, "open"); }
    QString SaveFileName(QWidget*, const TFileDialog& d) override { return Next(SaveFiles, d, "save"); }
    int Exec(QDialog& dialog) override {
        ExecutedDialogs.push_back(dialog.windowTitle());
        if (OnExec) OnExec(dialog);
        return QDialog::Accepted;
    }
    std::function<void(QDialog&)> OnExec;
    // Answers the printer setup dialog (it may set up the printer); a dialog without it fails the test.
    std::function<bool(QPrinter&)> OnPrintSetup;
    int PrintSetups = 0;
    bool PrintSetup(QWidget*, QPrinter& printer) override {
        ++PrintSetups;
        if (!OnPrintSetup) {
            ADD_FAILURE() << "unexpected printer setup dialog";
            return false;
        }
        return OnPrintSetup(printer);
    }
    void OpenUrl(const QUrl& url) override { Urls.push_back(url); }

    // Texts of the boxes shown so far, and forgetting them.
    int Count() const { return static_cast<int>(Shown.size()); }
    QString Last() const { return Shown.empty() ? QString() : Shown.back().Text; }
    void Forget() { Shown.clear(); }

private:
    QString Next(std::deque<QString>& files, const TFileDialog& d, const char* kind) {
        Dialogs.push_back(d);
        if (files.empty()) {
            ADD_FAILURE() << "unexpected " << kind << " dialog: " << d.Title.toStdString();
            return QString();
        }
        QString f = files.front();
        files.pop_front();
        return f;
    }
};
