// TfrmMain: find and replace in the current document, quick find, group find, and the two dialogs.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <utility>
#include <vector>

#include "app/gui/FindDialog.h"
#include "app/gui/MainWindow.h"
#include "app/gui/ReplaceDialog.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/widget/Editor.h"
#include "text/SjisCodec.h"

namespace {

const QString kNotFound = QStringLiteral("見つかりません");

}  // namespace

void TfrmMain::CreateFindDialogs() {
    objFindDialog = new TFindDialog(this);
    objReplaceDialog = new TReplaceDialog(this);
    objFindDialog->OnFind = [this] { onFind_objFindDialog(*objFindDialog); };
    objFindDialog->OnShow = [this] { onShow_objFindDialog(); };
    objFindDialog->OnClose = [this] { onClose_objFindDialog(); };
    objReplaceDialog->OnFind = [this] { onFind_objFindDialog(*objReplaceDialog); };
    objReplaceDialog->OnReplace = [this](bool all) { onReplace_objReplaceDialog(all); };
    objReplaceDialog->OnShow = [this] { onShow_objReplaceDialog(); };
    objReplaceDialog->OnClose = [this] { onClose_objReplaceDialog(); };
    // Enter in the quick-find field runs the quick find.
    connect(edtEditFind, &QLineEdit::returnPressed, this, &TfrmMain::onClick_EditFind);
}

bool TfrmMain::EncodeFindText(const QString& text, std::string& bytes) {
    for (const QChar c : text)
        if (SjisCodec::Encode(c.unicode()) < 0) return false;
    bytes = SjisCodec::FromUnicode(text);
    return !bytes.empty();
}

int TfrmMain::SkipLength(const std::string& findText) const {
    return txtDocument->SelAvail() ? static_cast<int>(findText.size()) : 0;
}

void TfrmMain::ReportNotFound() {
    pnlStatus[2]->setText(kNotFound);
    QApplication::beep();
}

const std::string& TfrmMain::SearchedText() {
    // The editor keeps its text in rows: a copy is taken once and reused until the rows change, so that
    // pressing Find Next again and again costs the search alone.
    const TEditorScreenStrings& rows = txtDocument->ScreenStrings();
    if (FSearched.Rows != &rows || FSearched.Stamp != rows.ChangeStamp()) {
        FSearched.Text = txtDocument->Text();
        FSearched.Rows = &rows;
        FSearched.Stamp = rows.ChangeStamp();
    }
    return FSearched.Text;
}

void TfrmMain::DropSearchedText() {
    FSearched = {};
}

bool TfrmMain::FindInEditor(int pos, int len, TSearchFlags flags, const std::string& findText) {
    const std::string& text = SearchedText();
    TSearchPosition found{pos, len};
    if (!SearchText(text, found, findText, flags)) return false;
    txtDocument->SetSelStart(static_cast<int>(found.Start));
    txtDocument->SetSelLength(static_cast<int>(found.Length));
    // A match near the top or the bottom edge (or outside the window) goes about a third down the window.
    const int r = txtDocument->VisibleRows();
    const int d = txtDocument->Row() - txtDocument->TopRow();
    if (d > (4 * r) / 5 || d < r / 5) txtDocument->SetTopRow(std::max(0, txtDocument->Row() - r / 3));
    pnlStatus[2]->clear();
    return true;
}

// ---- Commands --------------------------------------------------------------------------------------------

void TfrmMain::onClick_FindDialog() {
    objFindDialog->show();
    objFindDialog->raise();
    objFindDialog->activateWindow();
}

void TfrmMain::onClick_ReplaceDialog() {
    objReplaceDialog->show();
    objReplaceDialog->raise();
    objReplaceDialog->activateWindow();
}

void TfrmMain::onClick_GroupFind() {
    FGroupFind = true;
    TDocumentNode* node = SelectedNode();
    if (IsGroupNode(node) && node->FirstChild()) SelectNode(node->FirstChild());
    onClick_FindDialog();
}

void TfrmMain::onClick_EditFind() {
    // Always downwards, without case, not whole-word and never group-wise, whatever the dialogs say.
    std::string findText;
    if (edtEditFind->text().isEmpty()) return;
    if (!EncodeFindText(edtEditFind->text(), findText) ||
        !FindInEditor(txtDocument->SelStart(), SkipLength(findText), sfForward, findText))
        ReportNotFound();
}

void TfrmMain::onFind_objFindDialog(TFindDialog& dialog) {
    std::string findText;
    if (!EncodeFindText(dialog.FindText(), findText)) {
        ReportNotFound();
        return;
    }
    if (FindInEditor(txtDocument->SelStart(), SkipLength(findText), dialog.Flags(), findText)) return;
    // Group find: nothing (more) in this document, so the next Find Next searches the next sibling, after
    // the last one the first. A document the forbidden-word rule keeps selected stays (with its warning).
    TDocumentNode* node = SelectedNode();
    if (FGroupFind && node) {
        TDocumentNode* next = node->NextSibling();
        if (!next && node->Parent()) next = node->Parent()->FirstChild();
        if (next && next != node && SelectNode(next)) {
            pnlStatus[2]->clear();
            return;
        }
    }
    ReportNotFound();
}

void TfrmMain::onReplace_objReplaceDialog(bool all) {
    std::string findText;
    if (!EncodeFindText(objReplaceDialog->FindText(), findText)) {
        ReportNotFound();
        return;
    }
    // The replace text is typed by the user: characters without a Shift-JIS form become '?'.
    const std::string replaceText = SjisCodec::FromUnicode(objReplaceDialog->ReplaceText());
    TSearchFlags flags = objReplaceDialog->Flags();
    if (all) {
        ReplaceAll(flags | sfReplaceAll, findText, replaceText);
        return;
    }
    // Every Replace searches from the selection first: right after Find Next it replaces the match after
    // the selected one.
    if (!FindInEditor(txtDocument->SelStart(), SkipLength(findText), flags, findText)) {
        ReportNotFound();
        return;
    }
    const int start = txtDocument->SelStart();
    txtDocument->SetSelText(replaceText);
    // The next search starts after the inserted text downwards (the caret is there now) and before it
    // upwards, so the inserted text is never searched again.
    if (!(flags & sfForward)) txtDocument->SetSelStart(start);
    txtDocument->ScrollCaretIntoView();
}

void TfrmMain::ReplaceAll(TSearchFlags flags, const std::string& findText, const std::string& replaceText) {
    // One pass over the text: every search starts where the previous match ended (downwards, from the
    // start of the text) or began (upwards, from its end), so replaced text is never searched again. The
    // matches are then replaced by one edit of the stretch from the first to the last, which is one undo
    // step and costs time in proportion to that stretch.
    const std::string& text = SearchedText();
    const bool down = flags & sfForward;
    std::vector<TSearchPosition> matches;
    TSearchPosition pos{down ? 0 : static_cast<std::ptrdiff_t>(text.size()), 0};
    while (SearchText(text, pos, findText, flags)) {
        matches.push_back(pos);
        pos = down ? TSearchPosition{pos.Start + pos.Length, 0} : TSearchPosition{pos.Start, 0};
    }
    if (matches.empty()) {
        ReportNotFound();
        return;
    }
    if (!down) std::reverse(matches.begin(), matches.end());
    const std::ptrdiff_t first = matches.front().Start;
    const std::ptrdiff_t end = matches.back().Start + matches.back().Length;
    std::string middle;
    middle.reserve(static_cast<std::size_t>(end - first) +
                   matches.size() * (replaceText.size() > findText.size() ? replaceText.size() : 0));
    std::ptrdiff_t at = first;
    for (const TSearchPosition& m : matches) {
        middle.append(text, static_cast<std::size_t>(at), static_cast<std::size_t>(m.Start - at));
        middle.append(replaceText);
        at = m.Start + m.Length;
    }
    txtDocument->SetSelStart(static_cast<int>(first));
    txtDocument->SetSelLength(static_cast<int>(end - first));
    DropSearchedText();  // the replaced text is no longer the editor's
    txtDocument->SetSelText(middle);
    // Where the last pass left the caret: after the last replacement downwards, before the first upwards.
    if (!down) txtDocument->SetSelStart(static_cast<int>(first));
    txtDocument->ScrollCaretIntoView();
    pnlStatus[2]->setText(QStringLiteral("%1 個置換しました").arg(matches.size()));
}

// ---- The dialogs' showing and closing ---------------------------------------------------------------------

void TfrmMain::SetEditShortcuts(bool on) {
    // While a dialog is shown, these keys belong to its edit boxes (the dialog is a tool window of this
    // window, where this window's shortcuts would otherwise take them).
    const std::pair<QAction*, QKeyCombination> items[] = {
        {mnu.EditCut, Qt::CTRL | Qt::Key_X},  {mnu.EditCopy, Qt::CTRL | Qt::Key_C},
        {mnu.EditPaste, Qt::CTRL | Qt::Key_V}, {mnu.EditFind, Qt::CTRL | Qt::Key_F},
        {mnu.EditReplace, Qt::CTRL | Qt::Key_R}, {mnu.EditSelectAll, Qt::CTRL | Qt::Key_A},
    };
    for (const auto& [action, key] : items) action->setShortcut(on ? QKeySequence(key) : QKeySequence());
}

void TfrmMain::onShow_objFindDialog() {
    SetEditShortcuts(false);
}

void TfrmMain::onShow_objReplaceDialog() {
    SetEditShortcuts(false);
}

void TfrmMain::onClose_objFindDialog() {
    SetEditShortcuts(true);
    FGroupFind = false;
}

void TfrmMain::onClose_objReplaceDialog() {
    SetEditShortcuts(true);
}
