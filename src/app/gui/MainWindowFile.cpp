// TfrmMain: the file commands, the edit commands, the About box and the list file host.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStatusBar>

#include "app/Backups.h"
#include "app/ListFile.h"
#include "app/gui/AboutDialog.h"
#include "app/gui/DocumentModel.h"
#include "app/gui/DocumentTreeView.h"
#include "app/gui/EditCommands.h"
#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowDialogs.h"
#include "app/gui/RecordFields.h"
#include "editor/rows/EditorStrings.h"
#include "gui/FilePaths.h"
#include "editor/widget/Editor.h"
#include "text/SjisCodec.h"

namespace {

// A Shift-JIS message pattern with "%s" for the file name, for a message box.
QString MessageText(std::string_view pattern, const QString& file) {
    QString text = SjisCodec::ToUnicode(pattern);
    text.replace(QStringLiteral("%s"), QDir::toNativeSeparators(file));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

TMainWindowDialogs::TFileDialog OpenDialog() {
    return {QStringLiteral("ﾄﾞｷｭﾒﾝﾄﾌｧｲﾙを開く"),
            QStringLiteral("ﾄﾞｷｭﾒﾝﾄﾌｧｲﾙ ( *.vlt )"),
            QStringLiteral("vlt"),
            {}};
}

TMainWindowDialogs::TFileDialog SaveDialog(const QString& fileName) {
    return {QStringLiteral("ﾄﾞｷｭﾒﾝﾄﾌｧｲﾙを保存する"), QStringLiteral("ﾄﾞｷｭﾒﾝﾄﾘｽﾄ ( *.vlt )"),
            QStringLiteral("vlt"), fileName};
}

}  // namespace

QMessageBox::StandardButton TfrmMain::Message(QMessageBox::Icon icon, const QString& text,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton) {
    return Dialogs().Message(this, icon, text, buttons, defaultButton);
}

// ---- Saving ----------------------------------------------------------------------------------------------

bool TfrmMain::WriteList(const QString& fileName) {
    // The file about to be replaced is kept among the backups; a failed save takes its backup back.
    backups::TBackupResult backup;
    if (FBackupsEnabled && !FDataDir.empty()) {
        backup = backups::KeepBackup(FDataDir, ToPath(fileName));
        if (!backup.Ok()) WarnDataFolder(QString::fromLocal8Bit(backup.Error.c_str()));
    }
    TListFile list(FTree, *this);
    if (!list.WriteListFile(ToPath(fileName))) {
        std::error_code ignored;
        if (!backup.Backup.empty()) std::filesystem::remove(backup.Backup, ignored);
        return false;
    }
    if (!backup.Backup.empty()) backups::PruneBackups(FDataDir);
    RememberDiskStamp(fileName);
    DropRecovery(fileName);
    return true;
}

void TfrmMain::RememberDiskStamp(const QString& fileName) {
    std::error_code error;
    const std::filesystem::path path = ToPath(fileName);
    FDiskStamp = {fileName, std::filesystem::file_size(path, error), {}, false};
    if (!error) FDiskStamp.Time = std::filesystem::last_write_time(path, error);
    FDiskStamp.Valid = !error;
}

bool TfrmMain::ConfirmOverwriteChangedFile(const QString& fileName) {
    if (!FDiskStamp.Valid || FDiskStamp.File != fileName) return true;
    std::error_code sizeError, timeError;
    const std::filesystem::path path = ToPath(fileName);
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    const auto time = std::filesystem::last_write_time(path, timeError);
    // A file that is gone loses nothing when it is written again.
    if (sizeError || timeError) return true;
    if (size == FDiskStamp.Size && time == FDiskStamp.Time) return true;
    const QString text =
        QStringLiteral("このファイルは読み込んだ後で他のウィンドウまたはプログラムによって変更されています。\n"
                       "上書きすると、その変更は失われます。上書きしますか？\n") +
        QDir::toNativeSeparators(fileName);
    return Message(QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

bool TfrmMain::SaveList(bool askName) {
    if (RefuseForbiddenEditorText()) return false;
    StoreCurrentDocument();
    if (askName || FFileName.isEmpty()) {
        const QString chosen = Dialogs().SaveFileName(this, SaveDialog(askName ? FFileName : QString()));
        if (chosen.isEmpty()) return false;
        FFileName = chosen;  // the save dialog has asked about overwriting
    } else if (!ConfirmOverwriteChangedFile(FFileName)) {
        return false;
    }
    return WriteList(FFileName);
}

bool TfrmMain::ConfirmDiscard(bool skipWithoutDocuments) {
    if (!FModified || (skipWithoutDocuments && FNoDocuments)) return true;
    const QString text = QStringLiteral("ファイルが変更されています。変更を保存しますか？\n") +
                         QDir::toNativeSeparators(FFileName);
    switch (Message(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    QMessageBox::Yes)) {
        case QMessageBox::Yes:
            // A save that did not happen (forbidden word, cancelled dialog, failed write) keeps the list.
            return SaveList(false);
        case QMessageBox::No:
            DropRecovery(FFileName);
            return true;
        default:
            return false;
    }
}

void TfrmMain::onClick_DocumentSave() {
    SaveList(false);
}

void TfrmMain::onClick_DocumentSaveAs() {
    SaveList(true);
}

bool TfrmMain::onCloseQ_frmMain() {
    return ConfirmDiscard(false);
}

// ---- New and Open -----------------------------------------------------------------------------------------

void TfrmMain::onClick_DocumentClear() {
    if (!ConfirmDiscard(true)) return;
    ClearList();
    {
        TUpdating updating(*this);
        FFileName.clear();
        ClearDocumentControls();
    }
    SetModified(false);
}

TListReadResult TfrmMain::ReadList(const QString& fileName) {
    // Taken before the reading: a change while the file is read counts as a change since.
    RememberDiskStamp(fileName);
    TListFile list(FTree, *this);
    TListReadResult result;
    if (FTree.Empty()) {
        // A whole list: one reset of the view instead of one insertion per node. The reader's messages wait
        // until the reset is over, so that no message box runs the event loop while the view is in it.
        std::vector<TDeferredMessage> messages;
        {
            FDeferredMessages = &messages;
            TDocumentModel::TResetScope reset(*FModel);
            result = list.ReadListFile(ToPath(fileName));
            FDeferredMessages = nullptr;
        }
        for (const TDeferredMessage& m : messages) Message(m.Icon, m.Text, QMessageBox::Ok, QMessageBox::Ok);
    } else {
        result = list.ReadListFile(ToPath(fileName));
    }
    UpdateCommandStates();
    return result;
}

void TfrmMain::Inform(QMessageBox::Icon icon, const QString& text) {
    if (FDeferredMessages) {
        FDeferredMessages->push_back({icon, text});
        return;
    }
    Message(icon, text, QMessageBox::Ok, QMessageBox::Ok);
}

void TfrmMain::SelectFirstNode() {
    if (TDocumentNode* first = FTree.First()) SelectNode(first);
}

void TfrmMain::ShowFileNotFound(const QString& fileName) {
    Message(
        QMessageBox::Information,
        QDir::toNativeSeparators(fileName) +
            QStringLiteral("\n指定されたファイルが見つかりません。\nファイル名が正しいか確認してください。"),
        QMessageBox::Ok, QMessageBox::Ok);
}

void TfrmMain::onClick_DocumentLoad() {
    const QString fileName = Dialogs().OpenFileName(this, OpenDialog());
    if (fileName.isEmpty()) return;
    if (!ConfirmDiscard(true)) return;
    if (!QFileInfo::exists(fileName)) {
        ShowFileNotFound(fileName);
        return;
    }
    ClearList();
    {
        TUpdating updating(*this);
        ClearDocumentControls();
        FFileName = fileName;
        ReadList(FFileName);
        SelectFirstNode();
    }
    SetModified(false);
    OfferRecovery();
}

void TfrmMain::OpenCommandLine() {
    const QString fileName = FOptions.CommandLineFile;
    if (!QFileInfo::exists(fileName)) {
        ShowFileNotFound(fileName);
        return;
    }
    repaint();
    onClick_DocumentClear();
    if (!FTree.Empty()) return;  // the list in the window was kept
    FFileName = fileName;
    ReadList(FFileName);
    SelectFirstNode();
    OfferRecovery();
}

// ---- Print and Preview ------------------------------------------------------------------------------------

void TfrmMain::PreparePrinter() {
    StoreCurrentDocument();
    const TDocumentRecord record = GetNodeRecord(SelectedNode());
    objStringsPrinter.SetFileName(FFileName);
    objStringsPrinter.SetHeader(TStringsPrinter::DocumentHeader(recfield::Name(record)));
    objStringsPrinter.SetFooter("%p");
    // The whole font (family, size, weight, italic, pitch) as the editor shows it.
    objStringsPrinter.SetFont(txtDocument->font());
    objStringsPrinter.SetFontColor(txtDocument->Resolve(txtDocument->FontColor()));
}

void TfrmMain::onClick_DocumentPrint() {
    if (!SelectedNode()) return;
    if (RefuseForbiddenEditorText()) return;
    // The setup dialog comes before anything is stored: Cancel leaves the list as it was.
    if (!Dialogs().PrintSetup(this, objStringsPrinter.Printer())) return;
    PreparePrinter();
    // The editor's logical lines, not its wrapped screen rows.
    if (objStringsPrinter.Print(txtDocument->Lines(), this) == TPrintResult::Failed) {
        Inform(QMessageBox::Warning,
               QStringLiteral("印刷できませんでした。\r\n") + objStringsPrinter.LastError());
    }
}

void TfrmMain::onClick_DocumentPreview() {
    if (!SelectedNode()) return;
    if (RefuseForbiddenEditorText()) return;
    PreparePrinter();
    objStringsPrinter.PreviewStrings(txtDocument->Lines(), this);
}

// ---- Edit commands
// -----------------------------------------------------------------------------------------

void TfrmMain::onClick_EditUndo() {
    editcmd::Undo(FocusedEditControl());
}

void TfrmMain::onClick_EditCut() {
    editcmd::Cut(FocusedEditControl());
}

void TfrmMain::onClick_EditCopy() {
    editcmd::Copy(FocusedEditControl());
}

void TfrmMain::onClick_EditPaste() {
    editcmd::Paste(FocusedEditControl());
}

void TfrmMain::onClick_EditSelectAll() {
    editcmd::SelectAll(FocusedEditControl());
}

void TfrmMain::onClick_EditDelete() {
    if (QWidget* control = FocusedEditControl()) {
        editcmd::Delete(control);
        return;
    }
    if (focusWidget() == treDocument && SelectedNode()) onClick_DocumentDelete();
}

void TfrmMain::onClick_EditMove1st() {
    txtDocument->setFocus();
    txtDocument->SetSelStart(0);
}

void TfrmMain::onClick_EditMoveEnd() {
    txtDocument->setFocus();
    // The end of the last line: before the final line break, where there is one.
    const int length = txtDocument->TextLength();
    const int rows = txtDocument->LineCount();
    const bool finalBreak = rows > 0 && txtDocument->RowEnd(rows - 1) == reLineBreak;
    txtDocument->SetSelStart(std::max(0, length - (finalBreak ? 2 : 0)));
}

void TfrmMain::onClick_HelpAbout() {
    objAboutDialog->Comments =
        QStringLiteral("文書管理ツール - Velloria\r\n異常を発見したときはメールしてください");
    objAboutDialog->Execute(this);
}

// ---- List file host
// ----------------------------------------------------------------------------------------

void TfrmMain::ShowWarning(std::string_view pattern, const std::filesystem::path& file) {
    Inform(QMessageBox::Warning, MessageText(pattern, FromPath(file)));
}

void TfrmMain::ShowIoError(const std::filesystem::path& file, std::string_view reason) {
    Inform(QMessageBox::Critical,
           QStringLiteral("ファイルの読み書きに失敗しました。\n") + QDir::toNativeSeparators(FromPath(file)) +
               QStringLiteral("\n") +
               QString::fromLocal8Bit(reason.data(), static_cast<qsizetype>(reason.size())));
}

void TfrmMain::ReportDamage(const std::filesystem::path& file, long firstBadLine) {
    Inform(QMessageBox::Warning,
           QStringLiteral("ファイルの一部が壊れています（%1 行目から）。読み込めた文書だけを開きました。\n")
                   .arg(firstBadLine) +
               QDir::toNativeSeparators(FromPath(file)));
}

void TfrmMain::SetStatusText(std::string_view text) {
    pnlStatus[2]->setText(SjisCodec::ToUnicode(text));
    // The window's thread is busy reading: show it now.
    barStatus->repaint();
}

void TfrmMain::SetProgressMax(int max) {
    barProgress->setMaximum(max);
}

void TfrmMain::SetProgressMin(int min) {
    barProgress->setMinimum(min);
}

void TfrmMain::SetProgressPosition(int position) {
    barProgress->setValue(position);
}

void TfrmMain::SetProgressVisible(bool visible) {
    if (visible) {
        barProgress->setGeometry(pnlStatus[0]->geometry());
        barProgress->raise();
    }
    barProgress->setVisible(visible);
}

void TfrmMain::SetBusyCursor(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++FBusy;
    } else if (FBusy > 0) {
        QApplication::restoreOverrideCursor();
        --FBusy;
    }
}

void TfrmMain::DocumentsArrived() {
    // A list without records leaves the controls disabled: there is no document to edit.
    if (FNoDocuments && !FTree.Empty()) {
        SetDocumentControlsEnabled(true);
        FNoDocuments = false;
    }
}
