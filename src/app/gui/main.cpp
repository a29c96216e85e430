// velloria [FILE.vlt]: the program's main window, optionally opening a list file.
#include <QApplication>
#include <QFileInfo>

#include "app/gui/Icons.h"
#include "app/gui/MainWindow.h"
#include "gui/FontSubstitutes.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velloria"));
    QApplication::setWindowIcon(icons::Program());
    RegisterFontSubstitutes();

    TfrmMainOptions options;
    const QStringList args = QApplication::arguments();
    // One optional argument; further ones are ignored.
    if (args.size() > 1) options.CommandLineFile = QFileInfo(args.at(1)).absoluteFilePath();
    TfrmMain window(std::move(options));
    return app.exec();
}
