#include "app/gui/MainWindowDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPushButton>
#include <QUrl>

QMessageBox::StandardButton TMainWindowDialogs::Message(QWidget* parent, QMessageBox::Icon icon,
                                                        const QString& text,
                                                        QMessageBox::StandardButtons buttons,
                                                        QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, buttons, parent);
    box.setWindowTitle(parent ? parent->window()->windowTitle() : QString());
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

int TMainWindowDialogs::Choice(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                               const QStringList& buttons, int defaultButton) {
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, QMessageBox::NoButton, parent);
    box.setWindowTitle(parent ? parent->window()->windowTitle() : QString());
    QList<QAbstractButton*> added;
    for (const QString& caption : buttons) added.push_back(box.addButton(caption, QMessageBox::ActionRole));
    if (defaultButton >= 0 && defaultButton < added.size())
        box.setDefaultButton(static_cast<QPushButton*>(added[defaultButton]));
    if (!added.isEmpty()) box.setEscapeButton(added.back());
    box.exec();
    return static_cast<int>(added.indexOf(box.clickedButton()));
}

namespace {

QString RunFileDialog(QWidget* parent, const TMainWindowDialogs::TFileDialog& d, bool save) {
    QFileDialog dialog(parent, d.Title, QString(), d.Filter);
    // "*.*" means every file, also one without a dot in its name, as the filter's caption says.
    if (d.Filter.contains(QLatin1String("( *.* )"))) {
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilter(d.Filter + QStringLiteral(" (*)"));
    }
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(d.DefaultSuffix);
    if (!d.FileName.isEmpty()) dialog.selectFile(d.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

}  // namespace

QString TMainWindowDialogs::OpenFileName(QWidget* parent, const TFileDialog& dialog) {
    return RunFileDialog(parent, dialog, false);
}

QString TMainWindowDialogs::SaveFileName(QWidget* parent, const TFileDialog& dialog) {
    return RunFileDialog(parent, dialog, true);
}

bool TMainWindowDialogs::PrintSetup(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

int TMainWindowDialogs::Exec(QDialog& dialog) {
    return dialog.exec();
}

void TMainWindowDialogs::OpenUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}
