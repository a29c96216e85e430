// TfrmMain: the binding of the selected node to the editor and the fields, the forbidden-word rules, and
// the document and group commands.
#include <QCollator>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QUrl>
#include <algorithm>

#include "app/gui/DocumentModel.h"
#include "app/gui/DocumentTreeView.h"
#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowDialogs.h"
#include "app/gui/RecordFields.h"
#include "editor/widget/Editor.h"
#include "text/SjisCodec.h"

namespace {

const QString kForbiddenWordWarningText = SjisCodec::ToUnicode(kForbiddenWordWarning);

bool IsAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

// ---- Nodes and records ---------------------------------------------------------------------------------

TDocumentNode* TfrmMain::SelectedNode() const {
    return FModel ? FModel->Node(treDocument->DocumentSelection()->currentIndex()) : nullptr;
}

bool TfrmMain::SelectNode(TDocumentNode* node) {
    if (!node) return false;
    TDocumentSelectionModel* selection = treDocument->DocumentSelection();
    selection->NewGesture();
    const QModelIndex index = FModel->IndexOf(node);
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (SelectedNode() != node) return false;
    treDocument->scrollTo(index);
    return true;
}

TDocumentRecord TfrmMain::GetNodeRecord(const TDocumentNode* node) const {
    return node ? node->Record() : TDocumentRecord{};
}

void TfrmMain::SetNodeRecord(TDocumentNode* node, TDocumentRecord record) {
    if (!node) return;
    node->Record() = std::move(record);
    FModel->NodeChanged(node);
}

void TfrmMain::SetDocumentControlsEnabled(bool enabled) {
    edtDocumentName->setEnabled(enabled);
    edtDocumentAddr->setEnabled(enabled);
    txtDocument->setEnabled(enabled);
}

TDocumentNode* TfrmMain::AddDocumentNode(TDocumentRecord record) {
    if (FNoDocuments) {
        SetDocumentControlsEnabled(true);
        FNoDocuments = false;
    }
    // Where the node goes depends on whether the selected group is expanded: as the tree shows it.
    TDocumentNode* selected = SelectedNode();
    if (selected) selected->SetExpanded(treDocument->isExpanded(FModel->IndexOf(selected)));
    TDocumentNode* node = FTree.AddDocumentNode(selected, std::move(record));
    SelectNode(node);
    return node;
}

void TfrmMain::DeleteDocumentNode(TDocumentNode* node) {
    if (!node) return;
    TDocumentNode* neighbour = TDocumentTree::DeleteNeighbour(node);
    TDocumentNode* selected = SelectedNode();
    if (selected == node || (selected && selected->IsDescendantOf(node))) {
        // The current document goes with the node: nothing is stored into it, and the view does not move
        // the selection to a node of its own choosing while the rows go.
        TDocumentSelectionModel::TBypass bypass(*treDocument->DocumentSelection());
        treDocument->DocumentSelection()->clear();
        FTextEdited = false;
    }
    FTree.FreeNodeTree(node);
    if (neighbour) {
        SelectNode(neighbour);
        treDocument->setFocus();
    } else {
        SetDocumentControlsEnabled(false);
        FNoDocuments = true;
    }
    UpdateCommandStates();
}

void TfrmMain::ClearList() {
    {
        TDocumentSelectionModel::TBypass bypass(*treDocument->DocumentSelection());
        treDocument->DocumentSelection()->clear();
    }
    FTextEdited = false;
    FTree.Clear();
    SetDocumentControlsEnabled(false);
    FNoDocuments = true;
}

void TfrmMain::ClearDocumentControls() {
    TUpdating updating(*this);
    txtDocument->Clear();
    edtDocumentName->clear();
    edtDocumentAddr->clear();
    pnlStatus[0]->clear();
    FTextEdited = false;
}

void TfrmMain::StoreCurrentDocument() {
    TDocumentNode* node = SelectedNode();
    if (!node || node->BeingDeleted() || !FTextEdited) return;
    recfield::SetText(node->Record(), txtDocument->Text());
    FTextEdited = false;
}

TForbiddenWordMatch TfrmMain::FindForbiddenWord(std::string_view text) {
    TForbiddenWordMatch match = ::FindForbiddenWord(text);
    if (match) Message(QMessageBox::Warning, kForbiddenWordWarningText, QMessageBox::Ok, QMessageBox::Ok);
    return match;
}

bool TfrmMain::RefuseForbiddenEditorText() {
    // An unedited editor shows the record's text: the record is searched instead of building the text.
    const TDocumentNode* node = SelectedNode();
    if (!FTextEdited && node) {
        if (!::FindForbiddenWord(recfield::Text(node->Record()))) return false;
    }
    const std::string text = txtDocument->Text();
    const TForbiddenWordMatch match = FindForbiddenWord(text);
    if (!match) return false;
    txtDocument->SetSelStart(static_cast<int>(match.Pos));
    txtDocument->SetSelLength(static_cast<int>(match.Len));
    return true;
}

void TfrmMain::SetModified(bool value) {
    if (FUpdating) return;
    FModified = value;
    pnlStatus[1]->setText(value ? QStringLiteral("変更") : QString());
    if (FRecovery) value ? FRecovery->Changed() : FRecovery->Cancel();
}

// ---- Selection change ----------------------------------------------------------------------------------

bool TfrmMain::onChanging_treDocument(TDocumentNode* target) {
    TDocumentNode* current = SelectedNode();
    if (!current) return true;
    if (!target) return false;
    if (current->BeingDeleted()) return true;
    if (RefuseForbiddenEditorText()) return false;
    StoreCurrentDocument();
    return true;
}

void TfrmMain::onChange_treDocument(TDocumentNode* node) {
    UpdateCommandStates();
    if (!node) return;
    {
        TUpdating updating(*this);
        const TDocumentRecord& record = node->Record();
        DropSearchedText();
        txtDocument->SetText(recfield::Text(record));
        edtDocumentName->setText(SjisCodec::ToUnicode(recfield::Name(record)));
        edtDocumentAddr->setText(SjisCodec::ToUnicode(recfield::Address(record)));
        edtDocumentName->setCursorPosition(0);
        edtDocumentAddr->setCursorPosition(0);
    }
    FTextEdited = false;
    txtDocument->SetTopRow(0);
    UpdateEditorScrollBars();
    // The editor reports caret moves only while it has the focus: show where the loaded text starts.
    onCaretMoved_txtDocument();
}

void TfrmMain::UpdateEditorScrollBars() {
    txtDocument->SetScrollBars(txtDocument->LineCount() > txtDocument->VisibleRows() ? ssVertical : ssNone);
}

// ---- Editing the current document -------------------------------------------------------------------------

void TfrmMain::onChange_txtDocument() {
    if (!FUpdating) FTextEdited = true;
    SetModified(true);
    UpdateEditorScrollBars();
    UpdateCommandStates();
}

void TfrmMain::onCaretMoved_txtDocument() {
    pnlStatus[0]->setText(QString::asprintf("%3d : %3d", txtDocument->Row() + 1, txtDocument->Col() + 1));
}

void TfrmMain::onDblClick_txtDocument() {
    const std::string text = txtDocument->Text();
    if (text.empty()) return;
    const int p = std::clamp(txtDocument->SelStart(), 0, static_cast<int>(text.size()));
    int left = p, right = p;
    while (left > 0 && IsAsciiAlnum(static_cast<unsigned char>(text[left - 1]))) --left;
    while (right < static_cast<int>(text.size()) && IsAsciiAlnum(static_cast<unsigned char>(text[right])))
        ++right;
    txtDocument->SetSelStart(left);
    txtDocument->SetSelLength(right - left);
}

void TfrmMain::ApplyDocumentName(std::string bytes) {
    TDocumentNode* node = SelectedNode();
    if (!node) return;
    if (FindForbiddenWord(bytes)) {
        TUpdating updating(*this);
        edtDocumentName->setText(SjisCodec::ToUnicode(recfield::Name(node->Record())));
        return;
    }
    recfield::SetName(node->Record(), std::move(bytes));
    FModel->NodeChanged(node);
    SetModified(true);
}

void TfrmMain::onChange_edtDocumentName() {
    // A fill from the record needs no store: the record holds the exact bytes the field shows.
    if (FUpdating) return;
    ApplyDocumentName(SjisCodec::FromUnicode(edtDocumentName->text()));
}

void TfrmMain::onChange_edtDocumentAddr() {
    if (FUpdating) return;
    TDocumentNode* node = SelectedNode();
    if (!node) return;
    std::string bytes = SjisCodec::FromUnicode(edtDocumentAddr->text());
    if (FindForbiddenWord(bytes)) {
        TUpdating updating(*this);
        edtDocumentAddr->setText(SjisCodec::ToUnicode(recfield::Address(node->Record())));
        return;
    }
    recfield::SetAddress(node->Record(), std::move(bytes));
    SetModified(true);
}

void TfrmMain::onEnter_edtDocumentName() {
    if (!SelectedNode() || txtDocument->SelLength() == 0) return;
    // The first line of the editor's selection becomes the name, with its bytes as they are.
    std::string line = txtDocument->SelText();
    line.resize(std::min(line.find_first_of("\r\n"), line.size()));
    {
        TUpdating updating(*this);
        edtDocumentName->setText(SjisCodec::ToUnicode(line));
    }
    ApplyDocumentName(std::move(line));
}

void TfrmMain::onEdited_treDocument(TDocumentNode* node, const QString& label) {
    if (!node) return;
    // Editing that ends with the label unchanged is no edit (and must not round-trip the stored bytes).
    if (label == SjisCodec::ToUnicode(recfield::Name(node->Record()))) return;
    std::string bytes = SjisCodec::FromUnicode(label);
    if (FindForbiddenWord(bytes)) return;  // the label shows the stored name again
    recfield::SetName(node->Record(), std::move(bytes));
    if (node == SelectedNode()) {
        TUpdating updating(*this);
        edtDocumentName->setText(label);
    }
    FModel->NodeChanged(node);
    SetModified(true);
}

void TfrmMain::onDblClick_treDocument() {
    TDocumentNode* node = SelectedNode();
    if (!node || IsGroupNode(node)) return;
    // The marker is a reading aid, not a change of the list: the list is not marked modified.
    TDocumentRecord& record = node->Record();
    recfield::SetKind(record, recfield::Kind(record) != dkDocument ? dkDocument : dkMarked);
    FModel->NodeChanged(node);
}

void TfrmMain::onExpanded_treDocument(TDocumentNode* node, bool expanded) {
    if (!node) return;
    node->SetExpanded(expanded);
    FModel->NodeChanged(node);
}

void TfrmMain::onMouseDown_treDocument(const QPoint& pos) {
    // Right-aligned at the pressed point.
    const QPoint global = treDocument->viewport()->mapToGlobal(pos);
    objPopupDoc->popup(global - QPoint(objPopupDoc->sizeHint().width(), 0));
}

void TfrmMain::onKeyUp_treDocument(int key) {
    if (key == Qt::Key_Delete) onClick_EditDelete();
}

void TfrmMain::onDblClick_edtDocumentAddr() {
    const QString address = edtDocumentAddr->text().trimmed();
    if (address.isEmpty()) return;
    Dialogs().OpenUrl(QUrl::fromUserInput(address));
}

// ---- Document and group commands
// ------------------------------------------------------------------------------

void TfrmMain::onClick_DocumentNew() {
    AddDocumentNode(recfield::NewRecord(
        QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toStdString(), dkDocument));
    SetModified(true);
    txtDocument->setFocus();
}

void TfrmMain::onClick_GroupNew() {
    AddDocumentNode(recfield::NewRecord(
        QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toStdString(), dkGroup));
    SetModified(true);
}

void TfrmMain::onClick_DocumentDelete() {
    TDocumentNode* node = SelectedNode();
    if (!node) return;
    if (Message(QMessageBox::Question,
                QStringLiteral(
                    "選択されたドキュメントを削除しようとしています。\n元には戻せません。削除しますか？"),
                QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) != QMessageBox::Ok)
        return;
    DeleteDocumentNode(node);
    if (FTree.Empty()) ClearDocumentControls();
    SetModified(true);
}

void TfrmMain::SortSelectedChildren(int direction) {
    TDocumentNode* node = SelectedNode();
    if (!node) return;
    if (node->ChildCount() > 1) {
        QCollator collator{QLocale()};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        struct TItem {
            TDocumentNode* Node;
            QCollatorSortKey Key;
        };
        std::vector<TItem> items;
        items.reserve(static_cast<std::size_t>(node->ChildCount()));
        for (int i = 0; i < node->ChildCount(); ++i) {
            TDocumentNode* child = node->Child(i);
            items.push_back({child, collator.sortKey(SjisCodec::ToUnicode(recfield::Name(child->Record())))});
        }
        // Stable: children that compare equal keep their order.
        std::stable_sort(items.begin(), items.end(), [direction](const TItem& a, const TItem& b) {
            return direction * a.Key.compare(b.Key) < 0;
        });
        std::vector<TDocumentNode*> sorted;
        sorted.reserve(items.size());
        for (const TItem& item : items) sorted.push_back(item.Node);
        FModel->Reorder(node, sorted);
    }
    SetModified(true);
}

void TfrmMain::onClick_DocumentSortAsc() {
    SortSelectedChildren(+1);
}

void TfrmMain::onClick_DocumentSortDsc() {
    SortSelectedChildren(-1);
}

void TfrmMain::onClick_DocumentPrev() {
    if (TDocumentNode* node = SelectedNode()) SelectNode(node->PrevSibling());
}

void TfrmMain::onClick_DocumentNext() {
    if (TDocumentNode* node = SelectedNode()) SelectNode(node->NextSibling());
}
