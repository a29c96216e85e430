// A random "monkey" run: thousands of random keys and input-method commits on a Japanese text, replayed
// on a plain reference (the text as one byte string with a caret offset). After every step: the text
// equals the reference, the caret never stands inside a two-byte character, an edit leaves the caret
// where the reference says; at the end, undoing every step restores the original bytes.
//
// The actions are a table: further gestures (clicks, drags, pastes) are rows added to it, each with its
// own weight and its effect on the reference.
#include <gtest/gtest.h>

#include <QInputMethodEvent>
#include <functional>
#include <random>

#include "EditorTestSupport.h"
#include "editor/rows/EditorUndoObj.h"
#include "editor/wrap/ColumnMap.h"
#include "text/ShiftJis.h"

namespace {

// The text as the editor should hold it, and where an edit takes place.
struct TReference {
    std::string text;
    std::int64_t caret = 0;
    std::int64_t selStart = 0;
    std::int64_t selLength = 0;  // 0: no selection

    void Replace(std::int64_t from, std::int64_t length, std::string_view by) {
        text.replace(static_cast<std::size_t>(from), static_cast<std::size_t>(length), by);
        caret = from + static_cast<std::int64_t>(by.size());
        selLength = 0;
    }
    void Insert(std::string_view s) {
        if (selLength > 0) {
            Replace(selStart, selLength, s);
        } else {
            Replace(caret, 0, s);
        }
    }
    // The character before and after an offset (a line break is one character of 2 bytes).
    std::int64_t CharBefore(std::int64_t at) const {
        if (at >= 2 && text.compare(static_cast<std::size_t>(at - 2), 2, "\r\n") == 0) return 2;
        const std::size_t lineStart = text.rfind('\n', static_cast<std::size_t>(at > 0 ? at - 1 : 0));
        const std::size_t from = lineStart == std::string::npos ? 0 : lineStart + 1;
        const std::string_view line(text.data() + from, static_cast<std::size_t>(at) - from);
        return static_cast<std::int64_t>(line.size() - sjis::PrevCharPos(line, line.size()));
    }
    std::int64_t CharAfter(std::int64_t at) const {
        if (text.compare(static_cast<std::size_t>(at), 2, "\r\n") == 0) return 2;
        return static_cast<std::int64_t>(sjis::CharLength(text, static_cast<std::size_t>(at)));
    }
};

struct TMonkey {
    TEditor& editor;
    TReference ref;
    std::mt19937 random;
    bool edited = false;  // the last action changed the text: the caret must match the reference

    int Pick(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }
    // The reference takes the caret and the selection as the editor shows them before an edit.
    void SyncSelection() {
        ref.caret = editor.SelStart();
        ref.selStart = editor.SelStart();
        ref.selLength = editor.SelAvail() ? editor.SelLength() : 0;
        edited = true;
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = QString()) {
        const bool repeat = Pick(4) == 0;
        QKeyEvent press(QEvent::KeyPress, key, mods, text, repeat);
        QApplication::sendEvent(&editor, &press);
        if (!repeat) {
            QKeyEvent release(QEvent::KeyRelease, key, mods, text);
            QApplication::sendEvent(&editor, &release);
        }
    }
};

const char* const kPieces[] = {"漢字", "かな", "カタカナ", "ｶﾅ", "abc", " ", "、", "。", "１２", "\t", "x"};

std::string Piece(TMonkey& m) {
    return Sjis(kPieces[m.Pick(static_cast<int>(std::size(kPieces)))]);
}

struct TMonkeyAction {
    const char* name;
    int weight;
    std::function<void(TMonkey&)> run;
};

const std::vector<TMonkeyAction>& Actions() {
    static const std::vector<TMonkeyAction> actions = {
        {"move", 30,
         [](TMonkey& m) {
             static const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down,
                                            Qt::Key_Home, Qt::Key_End,   Qt::Key_PageUp, Qt::Key_PageDown};
             Qt::KeyboardModifiers mods;
             if (m.Pick(3) == 0) mods |= Qt::ShiftModifier;
             if (m.Pick(5) == 0) mods |= Qt::ControlModifier;
             m.Key(keys[m.Pick(8)], mods);
             m.edited = false;
         }},
        {"type", 25,
         [](TMonkey& m) {
             static const char* const chars[] = {"a", "Z", "1", " ", "ｱ", "あ", "漢", "、", "ー"};
             const char* utf8 = chars[m.Pick(static_cast<int>(std::size(chars)))];
             m.SyncSelection();
             m.ref.Insert(Sjis(utf8));
             m.Key(Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8(utf8));
         }},
        {"ime commit", 10,
         [](TMonkey& m) {
             std::string bytes;
             const int n = 1 + m.Pick(10);
             for (int i = 0; i < n; ++i) {
                 const std::string piece = Piece(m);
                 if (piece != "\t") bytes += piece;  // an input method commits no control characters
             }
             if (bytes.empty()) bytes = Sjis("字");
             m.SyncSelection();
             m.ref.Insert(bytes);
             QInputMethodEvent preedit(QStringLiteral("へんかん"), {});
             QApplication::sendEvent(&m.editor, &preedit);
             QInputMethodEvent commit;
             commit.setCommitString(SjisCodec::ToUnicode(bytes));
             QApplication::sendEvent(&m.editor, &commit);
         }},
        {"enter", 8,
         [](TMonkey& m) {
             m.SyncSelection();
             m.ref.Insert("\r\n");
             m.Key(Qt::Key_Return);
         }},
        {"tab", 4,
         [](TMonkey& m) {
             m.SyncSelection();
             m.ref.Insert("\t");
             m.Key(Qt::Key_Tab);
         }},
        {"backspace", 12,
         [](TMonkey& m) {
             m.SyncSelection();
             if (m.ref.selLength > 0) {
                 m.ref.Replace(m.ref.selStart, m.ref.selLength, "");
             } else if (m.ref.caret > 0) {
                 const std::int64_t n = m.ref.CharBefore(m.ref.caret);
                 m.ref.Replace(m.ref.caret - n, n, "");
             }
             m.Key(Qt::Key_Backspace);
         }},
        {"delete", 10,
         [](TMonkey& m) {
             m.SyncSelection();
             if (m.ref.selLength > 0) {
                 m.ref.Replace(m.ref.selStart, m.ref.selLength, "");
             } else if (m.ref.caret < static_cast<std::int64_t>(m.ref.text.size())) {
                 const std::int64_t at = m.ref.caret;
                 m.ref.Replace(at, m.ref.CharAfter(at), "");
             }
             m.Key(Qt::Key_Delete);
         }},
    };
    return actions;
}

}  // namespace

TEST(EditorMonkey, RandomKeysAndCommitsMatchAPlainReference) {
    const int steps = std::getenv("VELLORIA_MONKEY_STEPS") ? std::atoi(std::getenv("VELLORIA_MONKEY_STEPS")) : 5000;
    auto e = MakeEditor(300, 16 + 8 * 13);
    // Options under which every edit key has a plain meaning on the reference.
    e->Caret().SetAutoIndent(false);
    e->Caret().SetBackSpaceUnIndent(false);
    e->Caret().SetFreeCaret(false);
    e->Caret().SetSoftTab(false);
    e->SetUndoListMax(steps + 10);
    std::mt19937 random(20261208);
    std::string original;
    for (int i = 0; i < 30; ++i) {
        TMonkey seed{*e, {}, std::mt19937(static_cast<unsigned>(i))};
        for (int k = 0; k < 1 + i % 7; ++k) original += Piece(seed);
        original += "\r\n";
    }
    original += Sjis("最後の行");
    LoadText(*e, original);
    e->ScreenStrings().UndoObj().Clear();  // undo goes back to this text, not before it
    e->activateWindow();
    e->setFocus();
    Flush();
    ASSERT_TRUE(e->hasFocus());

    TMonkey m{*e, {original}, std::mt19937(20261208)};
    int total = 0;
    for (const TMonkeyAction& a : Actions()) total += a.weight;
    for (int step = 0; step < steps; ++step) {
        int pick = m.Pick(total);
        const TMonkeyAction* action = &Actions().front();
        for (const TMonkeyAction& a : Actions()) {
            if (pick < a.weight) {
                action = &a;
                break;
            }
            pick -= a.weight;
        }
        action->run(m);
        ASSERT_EQ(e->Text(), m.ref.text) << "step " << step << ": " << action->name;
        const std::string map = e->RowColumnMap(e->Row());
        ASSERT_NE(ColumnCodeAt(map, e->Col()), '5') << "step " << step << ": caret inside a character";
        if (m.edited) {
            ASSERT_FALSE(e->SelAvail()) << "step " << step << ": " << action->name;
            ASSERT_EQ(e->SelStart(), m.ref.caret) << "step " << step << ": " << action->name;
        }
        if (step % 200 == 0) Flush();  // let the repaints run now and then
    }
    while (e->CanUndo()) e->Undo();
    EXPECT_EQ(e->Text(), original);
}
