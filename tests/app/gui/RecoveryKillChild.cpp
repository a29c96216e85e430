// The program the recovery kill test runs and kills: it opens a list in the main window, then types lines
// into the first document round after round, and after each round writes a recovery snapshot and reports
// the round's number on stdout once the snapshot is on disk ("ready" first, once the list is open).
//
//   recovery_kill_child LIST LINES_PER_ROUND
//
// The data folder comes from XDG_DATA_HOME. The lines typed are RecoveryKillLine(round, line).
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "RecoveryKillLine.h"
#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowDialogs.h"
#include "editor/widget/Editor.h"

namespace {

// Nothing is to be asked; a question ends the program, so that the test sees it.
class TSilentDialogs : public TMainWindowDialogs {
public:
    QMessageBox::StandardButton Message(QWidget*, QMessageBox::Icon, const QString& text,
                                        QMessageBox::StandardButtons, QMessageBox::StandardButton) override {
        std::fprintf(stderr, "unexpected message: %s\n", text.toLocal8Bit().constData());
        std::_Exit(3);
    }
    int Choice(QWidget*, QMessageBox::Icon, const QString& text, const QStringList&, int) override {
        std::fprintf(stderr, "unexpected question: %s\n", text.toLocal8Bit().constData());
        std::_Exit(3);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velloria"));
    TSilentDialogs dialogs;
    TfrmMainOptions options;
    options.CommandLineFile = QString::fromLocal8Bit(argv[1]);
    options.IniFile = std::filesystem::path(argv[1]).replace_extension(".ini");
    options.Dialogs = &dialogs;
    TfrmMain window(options);
    window.show();
    while (window.FileName().isEmpty()) QApplication::processEvents();
    QApplication::processEvents();
    window.Recovery().SetDelays(std::chrono::hours(1), std::chrono::hours(1));  // snapshots come from here
    std::printf("ready\n");
    std::fflush(stdout);
    const int lines = std::atoi(argv[2]);
    for (int round = 1;; ++round) {
        for (int line = 0; line < lines; ++line) {
            window.txtDocument->SetSelStart(window.txtDocument->TextLength());
            window.txtDocument->SetSelText(RecoveryKillLine(round, line));
        }
        window.Recovery().SnapshotNow();
        window.Recovery().WaitIdle();
        std::printf("%d\n", round);
        std::fflush(stdout);
    }
}
