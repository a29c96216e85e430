// TfrmMain: import and export of single documents and groups, and drag and drop on the tree.
#include <QDate>
#include <QDir>
#include <QDrag>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPointer>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>
#include <fstream>

#include "app/ListFile.h"
#include "app/TextImport.h"
#include "app/gui/DocumentModel.h"
#include "app/gui/DocumentTreeView.h"
#include "app/gui/DragDrop.h"
#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowDialogs.h"
#include "app/gui/RecordFields.h"
#include "gui/FilePaths.h"
#include "editor/widget/Editor.h"
#include "text/SjisCodec.h"

namespace {

const QString kAllFilesFilter = QStringLiteral("すべてのﾌｧｲﾙ ( *.* )");
const QString kListFilter = QStringLiteral("ﾄﾞｷｭﾒﾝﾄﾌｧｲﾙ ( *.vlt )");

// The open and save dialogs of the window with the filters of import and export. The list-file filters of
// Open and Save are built afresh for each of their dialogs, so they are in force again afterwards.
TMainWindowDialogs::TFileDialog ImportDialog() {
    return {QStringLiteral("ﾄﾞｷｭﾒﾝﾄﾌｧｲﾙを開く"), kAllFilesFilter, QStringLiteral("vlt"), {}};
}

TMainWindowDialogs::TFileDialog ExportDialog(const QString& filter) {
    // The default extension is added to a name typed without one, also under the "*.*" filter.
    return {QStringLiteral("ﾄﾞｷｭﾒﾝﾄﾌｧｲﾙを保存する"), filter, QStringLiteral("vlt"), {}};
}

bool IsListFileName(const QString& fileName) {
    // Case-sensitive: "A.VLT" is imported as a plain text document.
    const QString suffix = QFileInfo(fileName).suffix();
    return suffix == QLatin1String("vlt") || suffix == QLatin1String("vlp");
}

QString WithFile(const QString& text, const QString& fileName) {
    return text + QLatin1Char('\n') + QDir::toNativeSeparators(fileName);
}

// Writes bytes crash-safe; returns the error text, empty on success.
QString WriteFileBytes(const QString& fileName, const std::string& bytes) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        return file.errorString();
    if (!file.commit()) return file.errorString();
    return QString();
}

bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) return false;
    in.seekg(0, std::ios::beg);
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), size);
    return static_cast<std::streamoff>(in.gcount()) == size;
}

bool IsRegisteredNode(const TDocumentTree& tree, const TDocumentNode* node) {
    bool found = false;
    if (node) tree.ForEachPreOrder(nullptr, [&](const TDocumentNode* n, int) { found = found || n == node; });
    return found;
}

}  // namespace

// ---- Import -----------------------------------------------------------------------------------------------

void TfrmMain::onClick_DocumentInport() {
    const QString fileName = Dialogs().OpenFileName(this, ImportDialog());
    if (fileName.isEmpty()) return;
    ImportFile(fileName);
}

bool TfrmMain::ImportFile(const QString& fileName, const QString& documentName) {
    const std::filesystem::path path = ToPath(fileName);
    const bool list = IsListFileName(fileName);
    // A list file may be as large as the lists the window opens; a document's text may not.
    switch (textimport::CheckFile(path, list ? UINTMAX_MAX : textimport::kMaxImportSize)) {
        case textimport::TFileCheck::Ok:
            break;
        case textimport::TFileCheck::Missing:
            Inform(QMessageBox::Warning, WithFile(QStringLiteral("ファイル読み込みに失敗しました。"), fileName));
            return true;
        case textimport::TFileCheck::Directory:
            Inform(QMessageBox::Warning, WithFile(QStringLiteral("フォルダはインポートできません。"), fileName));
            return true;
        case textimport::TFileCheck::NotRegularFile:
            Inform(QMessageBox::Warning,
                   WithFile(QStringLiteral("通常のファイルではないため、インポートできません。"), fileName));
            return true;
        case textimport::TFileCheck::TooLarge:
            Inform(QMessageBox::Warning,
                   WithFile(QStringLiteral("ファイルが大きすぎるため、インポートできません（512 MB まで）。"),
                            fileName));
            return true;
    }

    if (list) {
        TListFile reader(FTree, *this);
        reader.ReadListFile(path, SelectedNode());
        SetModified(true);
        // Into an empty window: the first document is shown, as after Open.
        if (!SelectedNode()) SelectFirstNode();
        UpdateCommandStates();
        return true;
    }

    std::string raw;
    if (!ReadFileBytes(path, raw)) {
        ShowIoError(path, "the file could not be read");
        return true;
    }
    const textimport::TConversion converted = textimport::ToShiftJis(raw, &SjisCodec::Encode);
    raw = std::string();
    if (converted.Unconvertible > 0) {
        const char32_t first = converted.FirstUnconvertible;
        const QString text =
            QStringLiteral("Shift-JIS で表せない文字が %1 文字あります（最初は %2 行目の「%3」）。\n"
                           "これらの文字は「?」に置き換えられます。インポートしますか？")
                .arg(converted.Unconvertible)
                .arg(converted.FirstUnconvertibleLine)
                .arg(QString::fromUcs4(&first, 1));
        if (Message(QMessageBox::Warning, WithFile(text, fileName), QMessageBox::Ok | QMessageBox::Cancel,
                    QMessageBox::Cancel) != QMessageBox::Ok)
            return false;
    }
    TDocumentRecord record = recfield::NewRecord(
        QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toStdString(), dkDocument);
    recfield::SetText(record, textimport::AsLines(converted.Text));
    if (!documentName.isEmpty()) {
        std::string name = SjisCodec::FromUnicode(documentName);
        if (!::FindForbiddenWord(name)) recfield::SetName(record, std::move(name));
    }
    // The list file has no escaping: a text with one of its tags would break the list at the next save. Such
    // a document comes in only as the current one, with the word selected: the window lets the user neither
    // leave it nor save before the word is gone. A second one while the first still has its word is refused.
    const bool tagged = static_cast<bool>(::FindForbiddenWord(recfield::Text(record)));
    const QString refused = WithFile(SjisCodec::ToUnicode(kForbiddenWordWarning) +
                                         QStringLiteral("\nこのファイルはインポートできません。"),
                                     fileName);
    if (tagged && HoldsForbiddenWord()) {
        Inform(QMessageBox::Warning, refused);
        return true;
    }
    TDocumentNode* node = AddDocumentNode(std::move(record));
    if (tagged && SelectedNode() != node) {
        DeleteDocumentNode(node);
        Inform(QMessageBox::Warning, refused);
        return true;
    }
    SetModified(true);
    UpdateCommandStates();
    if (tagged) RefuseForbiddenEditorText();  // the warning, and the word selected in the editor
    return true;
}

void TfrmMain::ImportDroppedFiles(const QStringList& fileNames) {
    for (const QString& fileName : fileNames)
        if (!ImportFile(fileName, QFileInfo(fileName).fileName())) break;
}

// ---- Export -----------------------------------------------------------------------------------------------

void TfrmMain::onClick_DocumentExport() {
    StoreCurrentDocument();
    TDocumentNode* node = SelectedNode();
    if (IsGroupNode(node)) {
        const QString fileName = Dialogs().SaveFileName(this, ExportDialog(kListFilter));
        if (fileName.isEmpty()) return;
        // The group's descendants; a group without children writes no file. The modified state stays.
        TListFile(FTree, *this).WriteListFile(ToPath(fileName), node);
        return;
    }
    const QString fileName = Dialogs().SaveFileName(this, ExportDialog(kAllFilesFilter));
    if (fileName.isEmpty()) return;
    const QString error = WriteFileBytes(fileName, textimport::AsLines(txtDocument->Text()));
    if (!error.isEmpty()) ShowIoError(ToPath(fileName), error.toLocal8Bit().toStdString());
}

// ---- Drag and drop ----------------------------------------------------------------------------------------

void TfrmMain::ConnectDragDrop() {
    ExecDrag = [](QDrag& drag) { return drag.exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction); };
    treDocument->OnStartDrag = [this] { onMouseMove_treDocument(); };
    treDocument->OnDragOver = [this](const QMimeData* data, const QPoint& pos) { return DragOverTree(data, pos); };
    treDocument->OnDrop = [this](const QMimeData* data, const QPoint& pos) { DropFiles(data, pos); };
}

QString TfrmMain::DragFolderPath() const {
    return FDragFolder ? FDragFolder->Path() : QString();
}

void TfrmMain::onMouseMove_treDocument() {
    TDocumentNode* node = SelectedNode();
    if (!node || FDragging) return;
    StoreCurrentDocument();
    if (!FDragFolder) FDragFolder = std::make_unique<TDragFolder>();
    const QString file =
        FDragFolder->FilePath(IsGroupNode(node) ? QStringLiteral("DragDrop.vlt") : QStringLiteral("DragDrop.txt"));
    if (file.isEmpty()) {
        Inform(QMessageBox::Warning, QStringLiteral("ドラッグ用の一時フォルダを作成できませんでした。"));
        return;
    }
    FDragNode = node;
    FDragFileName = file;
    FDragError.clear();

    QPointer<TfrmMain> self(this);
    auto* data = new TDragMimeData(file, [self] {
        if (!self) return QString();
        QString error = self->WriteDragFile();
        // A receiver that asks after the drag has ended hears of a failure at once; during the drag it waits
        // until the drag is over.
        if (!error.isEmpty() && !self->FDragging) {
            QTimer::singleShot(0, self, [self, error] {
                if (self) self->Inform(QMessageBox::Warning, error);
            });
        }
        return error;
    });
    auto* drag = new QDrag(treDocument);  // Qt deletes a drag that ran; the deleteLater below covers the rest
    drag->setMimeData(data);
    drag->setPixmap(FModel->data(FModel->IndexOf(node), Qt::DecorationRole).value<QIcon>().pixmap(16, 16));
    FDragging = true;
    ExecDrag(*drag);  // the result is not used: the node stays in the tree whatever the receiver did
    FDragging = false;
    const QString error = data->Rendered() ? data->RenderError() : QString();
    drag->deleteLater();
    if (!error.isEmpty()) Inform(QMessageBox::Warning, error);
}

QString TfrmMain::WriteDragFile() {
    if (!IsRegisteredNode(FTree, FDragNode)) return QString();
    if (IsGroupNode(FDragNode)) {
        // A list of the group's descendants; the list's own modified state is not touched.
        TListFile writer(FTree, *this);
        if (!FDragNode->HasChildren()) {
            QFile::remove(FDragFileName);  // no file rather than the one of an earlier drag
            return QString();
        }
        return writer.WriteListFile(ToPath(FDragFileName), FDragNode)
                   ? QString()
                   : WithFile(QStringLiteral("ドラッグしたグループを書き込めませんでした。"), FDragFileName);
    }
    const QString error = WriteFileBytes(FDragFileName, textimport::AsLines(recfield::Text(FDragNode->Record())));
    return error.isEmpty()
               ? QString()
               : WithFile(QStringLiteral("ドラッグした文書を書き込めませんでした。"), FDragFileName) +
                     QLatin1Char('\n') + error;
}

bool TfrmMain::HoldsForbiddenWord() const {
    const TDocumentNode* node = SelectedNode();
    if (!node) return false;
    if (!FTextEdited) return static_cast<bool>(::FindForbiddenWord(recfield::Text(node->Record())));
    return static_cast<bool>(::FindForbiddenWord(txtDocument->Text()));
}

Qt::DropAction TfrmMain::DragOverTree(const QMimeData* data, const QPoint& pos) {
    // Our own drag, or files (a folder or device among them is refused at the drop, with a message).
    if (!FDragging && !(data && data->hasUrls())) return Qt::IgnoreAction;
    // The selection follows the pointer, storing and loading documents as it passes. While the editor holds
    // a forbidden word it stays: the warning would come up in the middle of the drag.
    TDocumentNode* node = FModel->Node(treDocument->indexAt(pos));
    if (node && node != SelectedNode() && !HoldsForbiddenWord()) SelectNode(node);
    // Files from outside are copied in: a file manager must never delete them after a "move".
    return FDragging ? Qt::MoveAction : Qt::CopyAction;
}

void TfrmMain::DropFiles(const QMimeData* data, const QPoint& pos) {
    if (FDragging) {
        MoveDraggedNode(FModel->Node(treDocument->indexAt(pos)));
        return;
    }
    QStringList files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files.push_back(url.toLocalFile());
    // After the drop has returned to the source: the messages of the import must not hold it up.
    if (!files.isEmpty()) QTimer::singleShot(0, this, [this, files] { ImportDroppedFiles(files); });
}

void TfrmMain::MoveDraggedNode(TDocumentNode* target) {
    if (!target || !FDragNode || target == FDragNode) return;
    // Onto its own subtree: nothing moves.
    if (!target->IsDescendantOf(FDragNode)) {
        const bool expanded = target->HasChildren() && treDocument->isExpanded(FModel->IndexOf(target));
        TDocumentNode* parent = expanded ? target : target->Parent();
        const int row = expanded ? 0 : target->Index();
        {
            TDocumentSelectionModel::TBypass bypass(*treDocument->DocumentSelection());
            FTree.Move(FDragNode, parent, row);
        }
        if (parent) treDocument->expand(FModel->IndexOf(parent));
        treDocument->scrollTo(FModel->IndexOf(FDragNode));
    }
    SetModified(true);
}
