// TfrmMain: crash recovery (snapshots of the modified list, the offer to restore them) and the backups'
// settings.
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "app/Backups.h"
#include "app/ForbiddenWords.h"
#include "app/gui/Init.h"
#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowDialogs.h"
#include "app/gui/RecordFields.h"
#include "gui/FilePaths.h"
#include "editor/widget/Editor.h"

void TfrmMain::SetUpRecovery() {
    FDataDir = ToPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    FRecovery = std::make_unique<TRecoveryManager>();
    FRecovery->SetEnabled(!FDataDir.empty() && objInit->ReadBool("Application", "Recovery", true));
    FBackupsEnabled = objInit->ReadBool("Application", "Backups", true);
    FRecovery->TakeSnapshot = [this] { return TakeRecoverySnapshot(); };
    FRecovery->OnFailure = [this](const QString& reason) { WarnDataFolder(reason); };
}

std::filesystem::path TfrmMain::RecoveryFileFor(const QString& fileName) const {
    return backups::RecoveryFileName(FDataDir, ToPath(fileName));
}

TRecoveryManager::TSnapshot TfrmMain::TakeRecoverySnapshot() {
    // Nothing to keep, or the tree is being filled or replaced right now: the next change asks again.
    if (!FModified || FUpdating || FDataDir.empty()) return {};
    std::filesystem::path file = RecoveryFileFor(FFileName);
    if (file == FRecoveryDeferred) return {};
    // The editor's text goes into its record first, as a save does; the modified state and the editor's
    // undo stay as they are. A text with a forbidden word would not read back: its record keeps the text
    // stored last until the word is gone.
    TDocumentNode* node = SelectedNode();
    if (node && !node->BeingDeleted() && FTextEdited) {
        std::string text = txtDocument->Text();
        if (!::FindForbiddenWord(text)) {
            recfield::SetText(node->Record(), std::move(text));
            FTextEdited = false;
        }
    }
    TListFile list(FTree, *this);
    FLastRecoveryFile = file;
    return {std::move(file), list.Serialize()};
}

void TfrmMain::DropRecovery(const QString& fileName) {
    if (!FRecovery) return;
    FRecovery->Cancel();
    for (const std::filesystem::path& file : {RecoveryFileFor(fileName), FLastRecoveryFile}) {
        if (file.empty() || file == FRecoveryDeferred) continue;
        FRecovery->Remove(file);
    }
    FLastRecoveryFile.clear();
}

void TfrmMain::OfferRecovery() {
    if (!FRecovery || !FRecovery->Enabled()) return;
    const std::filesystem::path recovery = RecoveryFileFor(FFileName);
    if (!backups::RecoveryIsNewer(recovery, ToPath(FFileName))) return;
    const QString list = FFileName.isEmpty() ? QStringLiteral("（無題）") : QDir::toNativeSeparators(FFileName);
    const QString text = QStringLiteral("前回保存されずに終了したときの変更が残っています。\n"
                                        "復元しますか？ 復元してもファイルは保存するまで変わりません。\n") +
                         list;
    const int choice = Dialogs().Choice(this, QMessageBox::Question, text,
                                        {QStringLiteral("復元する"), QStringLiteral("破棄する"),
                                         QStringLiteral("後で決める")},
                                        0);
    if (choice == 0 && RestoreRecovery(recovery)) {
        FRecoveryDeferred.clear();
        return;
    }
    if (choice == 1) {
        FRecoveryDeferred.clear();
        FRecovery->Remove(recovery);
        return;
    }
    // Later (or a restore that could not read the file): it stays for the next start, untouched.
    FRecoveryDeferred = recovery;
}

bool TfrmMain::RestoreRecovery(const std::filesystem::path& recovery) {
    const QString listFile = FFileName;
    TListReadResult result;
    ClearList();
    {
        TUpdating updating(*this);
        ClearDocumentControls();
        // A damaged recovery file is reported as any damaged list, and what could be read is restored.
        result = ReadList(FromPath(recovery));
        FFileName = listFile;
        if (!result.Succeeded()) {
            // Nothing usable: the list as it is on disk again.
            ClearList();
            ClearDocumentControls();
            if (!listFile.isEmpty()) ReadList(listFile);
        }
        SelectFirstNode();
    }
    // The list file itself stays as it was until the user saves.
    if (!listFile.isEmpty()) RememberDiskStamp(listFile);
    else FDiskStamp = {};
    SetModified(result.Succeeded());
    return result.Succeeded();
}

void TfrmMain::WarnDataFolder(const QString& reason) {
    if (FDataFolderWarned) return;
    FDataFolderWarned = true;
    Inform(QMessageBox::Warning,
           QStringLiteral("データフォルダーに書き込めません。回復用ファイルとバックアップは作られませんが、"
                          "リストファイルの保存はできます。\n") +
               reason);
}
