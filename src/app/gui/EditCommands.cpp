#include "app/gui/EditCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>

#include "editor/widget/Editor.h"

namespace {

// The editor's clipboard commands. They are called when the control has them; until it does, the call
// does nothing. (A template, so that the test is made when the editor's class is complete.)
template <class Editor>
void CutToClipboard(Editor& e) {
    if constexpr (requires { e.CutToClipboard(); }) e.CutToClipboard();
}
template <class Editor>
void CopyToClipboard(Editor& e) {
    if constexpr (requires { e.CopyToClipboard(); }) e.CopyToClipboard();
}
template <class Editor>
void PasteFromClipboard(Editor& e) {
    if constexpr (requires { e.PasteFromClipboard(); }) e.PasteFromClipboard();
}

TEditor* AsEditor(QWidget* w) {
    return dynamic_cast<TEditor*>(w);
}
const TEditor* AsEditor(const QWidget* w) {
    return dynamic_cast<const TEditor*>(w);
}
QLineEdit* AsField(QWidget* w) {
    return qobject_cast<QLineEdit*>(w);
}
const QLineEdit* AsField(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w);
}

}  // namespace

namespace editcmd {

bool HasSelection(const QWidget* control) {
    if (const TEditor* e = AsEditor(control)) return e->SelAvail();
    if (const QLineEdit* f = AsField(control)) return f->hasSelectedText();
    return false;
}

bool CanUndo(const QWidget* control) {
    if (const TEditor* e = AsEditor(control)) return e->CanUndo();
    if (const QLineEdit* f = AsField(control)) return f->isUndoAvailable();
    return false;
}

bool ClipboardHasText() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasText();
}

void Undo(QWidget* control) {
    if (TEditor* e = AsEditor(control)) {
        if (e->CanUndo()) e->Undo();
    } else if (QLineEdit* f = AsField(control)) {
        if (f->isUndoAvailable()) f->undo();
    }
}

void Cut(QWidget* control) {
    if (TEditor* e = AsEditor(control)) {
        if (!e->ReadOnly()) CutToClipboard(*e);
    } else if (QLineEdit* f = AsField(control)) {
        f->cut();
    }
}

void Copy(QWidget* control) {
    if (TEditor* e = AsEditor(control)) {
        CopyToClipboard(*e);
    } else if (QLineEdit* f = AsField(control)) {
        f->copy();
    }
}

void Paste(QWidget* control) {
    if (TEditor* e = AsEditor(control)) {
        PasteFromClipboard(*e);
    } else if (QLineEdit* f = AsField(control)) {
        f->paste();
    }
}

void Delete(QWidget* control) {
    if (TEditor* e = AsEditor(control)) {
        if (!e->ReadOnly()) e->DeleteSelection();
    } else if (QLineEdit* f = AsField(control)) {
        if (f->hasSelectedText()) f->del();
    }
}

void SelectAll(QWidget* control) {
    if (TEditor* e = AsEditor(control)) {
        e->SelectAll();
    } else if (QLineEdit* f = AsField(control)) {
        f->selectAll();
    }
}

}  // namespace editcmd
