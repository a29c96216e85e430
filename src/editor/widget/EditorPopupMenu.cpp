// TEditorPopupMenu: items, their enabling and their actions.
#include "editor/widget/EditorPopupMenu.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QMimeData>

#include "editor/widget/Editor.h"

TEditorPopupMenu::TEditorPopupMenu(TEditor* editor) : QMenu(editor), FEditor(editor) {
    CreateItems();
    connect(this, &QMenu::aboutToShow, this, [this] { UpdateItems(); });
    if (editor) editor->installEventFilter(this);
}

void TEditorPopupMenu::CreateItems() {
    const auto item = [this](const QString& caption, const char* shortcut, void (TEditorPopupMenu::*click)()) {
        QAction* a = addAction(caption);
        if (shortcut) a->setShortcut(QKeySequence::fromString(QLatin1String(shortcut)));
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        a->setEnabled(false);
        connect(a, &QAction::triggered, this, [this, click] { (this->*click)(); });
        if (FEditor) FEditor->addAction(a);
        FItems.push_back(a);
    };
    const auto separator = [this] { FItems.push_back(addSeparator()); };
    item(QStringLiteral("元に戻す(&U)"), "Ctrl+Z", &TEditorPopupMenu::UndoClick);
    item(QStringLiteral("やり直し(&R)"), "Ctrl+A", &TEditorPopupMenu::RedoClick);
    separator();
    item(QStringLiteral("切り取り(&T)"), "Ctrl+X", &TEditorPopupMenu::CutClick);
    item(QStringLiteral("コピー(&C)"), "Ctrl+C", &TEditorPopupMenu::CopyClick);
    item(QStringLiteral("貼り付け(&P)"), "Ctrl+V", &TEditorPopupMenu::PasteClick);
    item(QStringLiteral("Box貼り付け(&B)"), "Ctrl+B", &TEditorPopupMenu::BoxPasteClick);
    item(QStringLiteral("削除(&D)"), nullptr, &TEditorPopupMenu::DeleteClick);
    separator();
    item(QStringLiteral("すべて選択(&A)"), nullptr, &TEditorPopupMenu::SelectAllClick);
    separator();
    item(QStringLiteral("Box選択モード(&K)"), "Ctrl+K", &TEditorPopupMenu::BoxModeClick);
    BoxModeItem()->setCheckable(true);
    BoxModeItem()->setEnabled(true);
}

bool TEditorPopupMenu::Installed() const {
    return FEditor && FEditor->PopupMenu() == this && FEditor->contextMenuPolicy() == Qt::DefaultContextMenu;
}

void TEditorPopupMenu::UpdateItems() {
    if (!Installed()) {
        // Another menu serves the editor: these shortcuts must not compete with its owner's.
        for (QAction* a : FItems) a->setEnabled(false);
        return;
    }
    const TEditor& e = *FEditor;
    const bool writable = !e.ReadOnly();
    const bool selected = e.SelLength() > 0;
    const QMimeData* data = QApplication::clipboard()->mimeData();
    const bool text = data && (data->hasText() || data->hasFormat(QLatin1String(TEditor::kSjisMimeType)));
    UndoItem()->setEnabled(e.CanUndo() && writable);
    RedoItem()->setEnabled(e.CanRedo() && writable);
    CutItem()->setEnabled(selected && writable);
    CopyItem()->setEnabled(selected);
    PasteItem()->setEnabled(text && writable);
    BoxPasteItem()->setEnabled(text && writable);
    DeleteItem()->setEnabled(selected && writable);
    SelectAllItem()->setEnabled(e.TextLength() > 0);
    BoxModeItem()->setEnabled(true);
    BoxModeItem()->setChecked(e.BoxSelectMode());
}

bool TEditorPopupMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FEditor.data()) {
        if (event->type() == QEvent::ShortcutOverride) {
            // Shortcuts are matched against the enabled actions: enable them for the state of now.
            UpdateItems();
        } else if (event->type() == QEvent::KeyPress && Installed() &&
                   static_cast<QKeyEvent*>(event)->key() == Qt::Key_Menu && !FEditor->GestureInProgress()) {
            // The context-menu key opens the menu at the caret.
            const QRect caret = FEditor->CaretRect();
            popup(FEditor->viewport()->mapToGlobal(caret.bottomLeft()));
            return true;
        }
    }
    return QMenu::eventFilter(watched, event);
}

void TEditorPopupMenu::UndoClick() {
    if (FEditor) FEditor->Undo();
}
void TEditorPopupMenu::RedoClick() {
    if (FEditor) FEditor->Redo();
}
void TEditorPopupMenu::CutClick() {
    if (FEditor) FEditor->CutToClipboard();
}
void TEditorPopupMenu::CopyClick() {
    if (FEditor) FEditor->CopyToClipboard();
}
void TEditorPopupMenu::PasteClick() {
    if (FEditor) FEditor->PasteFromClipboard();
}
void TEditorPopupMenu::BoxPasteClick() {
    if (FEditor) FEditor->BoxPasteFromClipboard();
}
void TEditorPopupMenu::DeleteClick() {
    if (FEditor) FEditor->DeleteSelection();
}
void TEditorPopupMenu::SelectAllClick() {
    if (FEditor) FEditor->SelectAll();
}
void TEditorPopupMenu::BoxModeClick() {
    // The check mark toggled with the click (a checkable action); the mode follows it.
    if (FEditor) FEditor->SetBoxSelectMode(BoxModeItem()->isChecked());
}

// ---- The editor's side
// -----------------------------------------------------------------------------------------

void TEditor::SetPopupMenu(QMenu* menu) {
    FPopupMenu = menu;
}

void TEditor::contextMenuEvent(QContextMenuEvent* event) {
    if (GestureInProgress() || !FPopupMenu) {
        event->accept();
        return;
    }
    event->accept();
    FPopupMenu->popup(event->globalPos());
}
