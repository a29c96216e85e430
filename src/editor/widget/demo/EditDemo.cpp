// velloria-edit: opens a Shift-JIS text file in one editor control with the main window's settings (left
// bar, ruler, URL and mail colouring), so that the control can be looked at and tried on its own.
//
//   velloria-edit [options] FILE
//     --wrap             word wrap on (80 columns)
//     --row N            scroll so that row N is at the top and put the caret there
//     --col N            scroll so that column N is the first one shown
//     --select A:B       select B characters from offset A
//     --marks            show the end-of-file and return marks
//     --screenshot PNG   save a picture of the window after it is shown, then quit
#include <QApplication>
#include <QCommandLineParser>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <cstdio>
#include <exception>

#include "editor/rows/EditorStrings.h"
#include "editor/widget/Editor.h"
#include "gui/FontSubstitutes.h"
#include "app/gui/MainWindowSettings.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velloria-edit"));
    RegisterFontSubstitutes();

    QCommandLineParser args;
    args.setApplicationDescription(
        QStringLiteral("Shows a Shift-JIS text file in the Velloria editor control."));
    args.addHelpOption();
    args.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Shift-JIS text file"));
    const QCommandLineOption wrap(QStringLiteral("wrap"), QStringLiteral("Word wrap at 80 columns."));
    const QCommandLineOption row(QStringLiteral("row"), QStringLiteral("First row shown."),
                                 QStringLiteral("N"));
    const QCommandLineOption col(QStringLiteral("col"), QStringLiteral("First column shown."),
                                 QStringLiteral("N"));
    const QCommandLineOption select(QStringLiteral("select"),
                                    QStringLiteral("Select B characters from offset A."),
                                    QStringLiteral("A:B"));
    const QCommandLineOption marks(QStringLiteral("marks"),
                                   QStringLiteral("Show the end-of-file and return marks."));
    const QCommandLineOption shot(QStringLiteral("screenshot"), QStringLiteral("Save a picture and quit."),
                                  QStringLiteral("PNG"));
    args.addOptions({wrap, row, col, select, marks, shot});
    args.process(app);
    if (args.positionalArguments().size() != 1) {
        std::fprintf(stderr, "usage: velloria-edit [options] FILE\n");
        return 2;
    }
    const QString file = args.positionalArguments().first();

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("velloria-edit - %1").arg(file));
    auto* editor = new TEditor(&window);
    ApplyMainWindowSettings(*editor);
    if (args.isSet(marks)) {
        editor->Marks().EofMark().SetVisible(true);
        editor->Marks().RetMark().SetVisible(true);
    }
    if (args.isSet(wrap)) editor->SetWordWrap(true);
    window.setCentralWidget(editor);
    auto* position = new QLabel(&window);
    window.statusBar()->addWidget(position);
    editor->OnCaretMoved = [position](TEditor* e) {
        position->setText(QStringLiteral("%1 行 %2 桁").arg(e->Row() + 1).arg(e->Col() + 1));
    };
    auto* changed = new QLabel(&window);
    window.statusBar()->addPermanentWidget(changed);
    editor->OnChange = [changed](TEditor*) { changed->setText(QStringLiteral("変更")); };

    try {
        editor->Lines().LoadFromFile(file.toLocal8Bit().toStdString());
    } catch (const std::exception& error) {
        const QString message =
            QStringLiteral("ファイルを開けません。\n%1\n%2").arg(file, QString::fromLocal8Bit(error.what()));
        std::fprintf(stderr, "velloria-edit: %s\n", message.toLocal8Bit().constData());
        // A screenshot run has nobody to close a message box.
        if (!args.isSet(shot)) QMessageBox::warning(nullptr, QStringLiteral("velloria-edit"), message);
        return 1;
    }
    editor->SetModified(false);

    window.resize(900, 640);
    window.show();
    window.activateWindow();
    editor->setFocus();
    position->setText(QStringLiteral("1 行 1 桁"));
    if (args.isSet(row)) {
        const int r = args.value(row).toInt();
        editor->SetTopRow(r);
        editor->SetRow(r);
    }
    if (args.isSet(col)) editor->SetTopCol(args.value(col).toInt());
    if (args.isSet(select)) {
        const QStringList parts = args.value(select).split(QLatin1Char(':'));
        if (parts.size() == 2) {
            editor->SetSelStart(parts[0].toInt());
            editor->SetSelLength(parts[1].toInt());
        }
    }
    if (args.isSet(shot)) {
        const QString out = args.value(shot);
        QTimer::singleShot(300, &window, [&window, out] {
            window.grab().save(out);
            QApplication::quit();
        });
    }
    return app.exec();
}
