// velloria [FILE.vlt]: the program's main window, optionally opening a list file.
//
//   --help, --version
//       print the usage or the version and quit, without a display
//   --screenshot PNG [--maximized] [--select N]
//       saves a picture of the window once the list is shown, then quits (for the documentation; also without
//       a display, offscreen); --select N selects the N-th node in tree order first (1 = the first)
#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "app/gui/Icons.h"
#include "app/gui/MainWindow.h"
#include "gui/FontSubstitutes.h"

namespace {

constexpr const char* kUsage =
    "usage: velloria [FILE]\n"
    "       velloria --help | --version\n"
    "\n"
    "Opens the main window; with FILE, on that document list (.vlt, or an old .vlp).\n"
    "Qt's own options (-platform, -display ...) are accepted too.\n";

// --help and --version are answered before QApplication exists, so that they work without a display.
// Returns the exit status, or -1 when the window is to be started.
int AnswerInfoOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("velloria %s\n", VELLORIA_VERSION);
            return 0;
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (const int status = AnswerInfoOption(argc, argv); status >= 0) return status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velloria"));
    QApplication::setApplicationVersion(QStringLiteral(VELLORIA_VERSION));
    // The window belongs to the installed menu entry (the application id on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("velloria"));
    QApplication::setWindowIcon(icons::Program());
    RegisterFontSubstitutes();

    QStringList args = QApplication::arguments();
    args.removeFirst();
    QString screenshot;
    bool maximized = false;
    if (const qsizetype at = args.indexOf(QStringLiteral("--screenshot")); at >= 0 && at + 1 < args.size()) {
        screenshot = args.at(at + 1);
        args.remove(at, 2);
    }
    if (args.removeAll(QStringLiteral("--maximized")) > 0) maximized = true;
    int select = 0;
    if (const qsizetype at = args.indexOf(QStringLiteral("--select")); at >= 0 && at + 1 < args.size()) {
        select = args.at(at + 1).toInt();
        args.remove(at, 2);
    }

    TfrmMainOptions options;
    // One optional argument; further ones are ignored.
    if (!args.isEmpty()) options.CommandLineFile = QFileInfo(args.first()).absoluteFilePath();
    TfrmMain window(std::move(options));
    if (maximized) window.showMaximized();
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(300, &window, [&window, screenshot, select] {
            TDocumentNode* node = window.Tree().First();
            for (int i = 1; node && i < select; ++i) node = TDocumentTree::NextPreOrder(node);
            if (select > 0 && node) window.SelectNode(node);
            QTimer::singleShot(200, &window, [&window, screenshot] {
                window.grab().save(screenshot);
                QApplication::exit(0);
            });
        });
    }
    return app.exec();
}
