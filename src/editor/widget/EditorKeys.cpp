// TEditor: key events. The widget only sorts a Qt key event into the model's keyboard commands; what
// each key does is the model's (edit/EditModelKeys.cpp).
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>

#include "editor/widget/Editor.h"
#include "text/SjisCodec.h"

namespace {

using TNavKey = TEditModel::TNavKey;

// The scroll position of the control, as the model's key commands see it.
class TWidgetViewport : public TEditModel::TKeyViewport {
public:
    explicit TWidgetViewport(TEditor& editor) : FEditor(editor) {}
    int TopRow() const override { return FEditor.TopRow(); }
    int VisibleRows() const override { return FEditor.VisibleRows(); }
    void SetTopRow(int row) override { FEditor.SetTopRow(row); }

private:
    TEditor& FEditor;
};

bool NavigationKeyOf(int key, TNavKey& nav) {
    switch (key) {
        case Qt::Key_PageUp: nav = TNavKey::PageUp; return true;
        case Qt::Key_PageDown: nav = TNavKey::PageDown; return true;
        case Qt::Key_End: nav = TNavKey::End; return true;
        case Qt::Key_Home: nav = TNavKey::Home; return true;
        case Qt::Key_Left: nav = TNavKey::Left; return true;
        case Qt::Key_Up: nav = TNavKey::Up; return true;
        case Qt::Key_Right: nav = TNavKey::Right; return true;
        case Qt::Key_Down: nav = TNavKey::Down; return true;
        default: return false;
    }
}

constexpr Qt::KeyboardModifiers kAltOrMeta = Qt::AltModifier | Qt::MetaModifier;

// How long a selection made with the keys must stay unchanged before it goes to the primary selection: a
// held Shift+PgDn grows it with every repeat, and only the one the key stops at is copied.
constexpr int kPrimarySettleMs = 150;

// Ctrl+Z, X, C, V, B, K and A belong to the popup menu's shortcuts: the control leaves them alone.
bool IsPopupShortcut(int key, Qt::KeyboardModifiers mods) {
    if (!(mods & Qt::ControlModifier)) return false;
    switch (key) {
        case Qt::Key_Z: case Qt::Key_X: case Qt::Key_C: case Qt::Key_V:
        case Qt::Key_B: case Qt::Key_K: case Qt::Key_A:
            return true;
        default:
            return false;
    }
}

// The character code of the character part of a key: 8 Backspace (also Ctrl+H), 9 Tab, 13 Enter (also
// Ctrl+M); 0 for none of them.
char32_t ControlCodeOf(const QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    if (mods & kAltOrMeta) return 0;
    if (key == Qt::Key_Backspace || (ctrl && key == Qt::Key_H)) return 8;
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) return 9;
    if (key == Qt::Key_Return || key == Qt::Key_Enter || (ctrl && key == Qt::Key_M)) return 13;
    return 0;
}

// Printable text of a key without Ctrl or Alt (control characters are not typed).
bool HasTypedText(const QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | kAltOrMeta)) return false;
    for (const char32_t ch : event->text().toUcs4()) {
        if (ch >= 0x20 && ch != 0x7F) return true;
    }
    return false;
}

}  // namespace

bool TEditor::WantsKey(const QKeyEvent* event) const {
    const int key = event->key();
    if (IsPopupShortcut(key, event->modifiers())) return false;
    TNavKey nav;
    if (NavigationKeyOf(key, nav) && !(event->modifiers() & kAltOrMeta)) return true;
    if (key == Qt::Key_Delete) return true;
    const char32_t code = ControlCodeOf(event);
    if (code == 9) return FWantTabs;
    if (code != 0) return true;
    return HasTypedText(event);
}

bool TEditor::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // The keys that edit or move the caret are the control's, not the window's shortcuts.
        auto* key = static_cast<QKeyEvent*>(event);
        if (WantsKey(key)) {
            key->accept();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        // With WantTabs the control takes Tab (and Shift+Tab) instead of passing the focus on.
        auto* key = static_cast<QKeyEvent*>(event);
        if (FWantTabs && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !(key->modifiers() & (Qt::ControlModifier | kAltOrMeta))) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TEditor::keyPressEvent(QKeyEvent* event) {
    if (FilterKeyDuringGesture(event)) return;
    FKeyRepeating = event->isAutoRepeat();
    int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (OnKeyDown) {
        OnKeyDown(this, key, mods);
        if (key == 0) {
            event->accept();
            return;
        }
    }
    if (IsPopupShortcut(key, mods)) {
        event->ignore();
        return;
    }
    TNavKey nav;
    if (NavigationKeyOf(key, nav) && !(mods & kAltOrMeta)) {
        TWidgetViewport viewport(*this);
        FEdit->NavigationKey(nav, mods & Qt::ShiftModifier, mods & Qt::ControlModifier, FKeyRepeating, viewport);
        if ((mods & Qt::ShiftModifier) && SelAvail()) SchedulePrimarySelection(kPrimarySettleMs);
        event->accept();
        return;
    }
    if (key == Qt::Key_Delete) {
        FEdit->DeleteKey();
        event->accept();
        return;
    }
    if (KeyCharacters(event)) {
        event->accept();
        return;
    }
    event->ignore();
}

bool TEditor::KeyCharacters(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    char32_t code = ControlCodeOf(event);
    if (code == 9) {
        // Tab inserts only with WantTabs, and only without Shift and Ctrl.
        if (!FWantTabs) return false;
        if (mods & (Qt::ShiftModifier | Qt::ControlModifier)) return true;
    }
    if (code == 13 && !FWantReturns && qobject_cast<QDialog*>(window())) {
        return false;  // the dialog's default button takes Enter
    }
    if (code != 0) {
        if (OnKeyPress) {
            OnKeyPress(this, code);
            if (code == 0) return true;
        }
        if (code == 8) {
            FEdit->BackspaceKey();
        } else if (code == 9) {
            FEdit->TabKey();
        } else if (code == 13) {
            FEdit->EnterKey();
        } else {
            TypeCharacter(code);
        }
        return true;
    }
    if (!HasTypedText(event)) return false;
    for (char32_t ch : event->text().toUcs4()) {
        if (ch < 0x20 || ch == 0x7F) continue;
        if (OnKeyPress) {
            OnKeyPress(this, ch);
            if (ch == 0) continue;
        }
        if (ch == 8) {
            FEdit->BackspaceKey();
        } else if (ch == 9) {
            FEdit->TabKey();
        } else if (ch == 13) {
            FEdit->EnterKey();
        } else {
            TypeCharacter(ch);
        }
    }
    return true;
}

void TEditor::TypeCharacter(char32_t ch) {
    if (ReadOnly()) return;
    if (FImePending) UpdateImeWindow();
    // Characters outside the Basic Multilingual Plane have no Shift-JIS code.
    const int code = ch <= 0xFFFF ? SjisCodec::Encode(static_cast<char16_t>(ch)) : -1;
    if (code < 0) {
        QApplication::beep();
        return;
    }
    if (code > 0xFF) {
        // A two-byte character goes in as a whole, as an input method's result does.
        const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        FEdit->InsertText(std::string_view(bytes, 2));
        return;
    }
    // One byte: printable ASCII and half-width katakana only.
    if ((code >= 0x20 && code <= 0x7E) || (code >= 0xA1 && code <= 0xDF)) {
        const char byte = static_cast<char>(code);
        FEdit->InsertText(std::string_view(&byte, 1));
    }
}

void TEditor::keyReleaseEvent(QKeyEvent* event) {
    if (FilterKeyDuringGesture(event)) return;
    // The releases between the presses of an auto-repeating key are not the key's end.
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    FKeyRepeating = false;
    int key = event->key();
    if (OnKeyUp) {
        OnKeyUp(this, key, event->modifiers());
        if (key == 0) {
            event->accept();
            return;
        }
    }
    if (FImePending) UpdateImeWindow();
    event->ignore();
}
