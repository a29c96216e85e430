// TEditor keyboard and input method: navigation and selection keys, indentation, two-byte characters,
// input-method commit and pre-edit, the ReadOnly/WantTabs/WantReturns switches and unencodable input.
#include <gtest/gtest.h>

#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "EditorTestSupport.h"
#include "editor/wrap/EditorWrapOption.h"

namespace {

constexpr int kRh = 13;

// An editor of 10 visible rows with the keyboard focus (the caret exists and scrolls into view only then).
std::unique_ptr<TEditor> FocusedEditor(std::string_view text) {
    auto e = MakeEditor(400, 16 + 10 * kRh);
    LoadText(*e, text);
    e->activateWindow();
    e->setFocus();
    Flush();
    return e;
}

void Press(TEditor& e, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, bool repeat = false) {
    QKeyEvent press(QEvent::KeyPress, key, mods, QString(), repeat);
    QApplication::sendEvent(&e, &press);
}

// A key event carrying text, as the platform sends for a typed character.
void Type(TEditor& e, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(&e, &press);
}

void Commit(TEditor& e, const QString& commit, const QString& preedit = QString()) {
    QInputMethodEvent event(preedit, {});
    event.setCommitString(commit);
    QApplication::sendEvent(&e, &event);
}

std::string Row(const TEditor& e, int row) {
    return std::string(e.RowText(row));
}

}  // namespace

TEST(EditorKeys, NavigationAndSelection) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "line " + std::to_string(i) + "\r\n";
    auto e = FocusedEditor(text + "last");
    ASSERT_TRUE(e->hasFocus());
    // Shift+Right and Shift+Down select from the anchor; a key without Shift drops the selection.
    QTest::keyClick(e.get(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(e.get(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_TRUE(e->SelAvail());
    EXPECT_EQ(e->SelText(), "line 0\r\nl");
    QTest::keyClick(e.get(), Qt::Key_End);
    EXPECT_FALSE(e->SelAvail());
    EXPECT_EQ(e->Col(), 6);
    // Right at the end of a row stays there without NextLine; with it, goes to the next row.
    QTest::keyClick(e.get(), Qt::Key_Right);
    EXPECT_EQ(e->Row(), 1);
    EXPECT_EQ(e->Col(), 6);
    e->Caret().SetNextLine(true);
    QTest::keyClick(e.get(), Qt::Key_Right);
    EXPECT_EQ(e->Row(), 2);
    EXPECT_EQ(e->Col(), 0);
    QTest::keyClick(e.get(), Qt::Key_Left);
    EXPECT_EQ(e->Row(), 1);
    // PgDn scrolls a page less one row and keeps the caret at its place in the window.
    QTest::keyClick(e.get(), Qt::Key_PageDown);
    EXPECT_EQ(e->TopRow(), 9);
    EXPECT_EQ(e->Row(), 10);
    // Shift+PgDn extends a selection over the page.
    QTest::keyClick(e.get(), Qt::Key_PageDown, Qt::ShiftModifier);
    EXPECT_EQ(e->Row(), 19);
    EXPECT_EQ(e->SelFirstRow(), 10);
    // Ctrl+End and Ctrl+Home go to the ends of the text.
    QTest::keyClick(e.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(e->Row(), 40);
    EXPECT_EQ(e->Col(), 4);
    QTest::keyClick(e.get(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(e->Row(), 0);
    EXPECT_EQ(e->TopRow(), 0);
    // Auto-repeat at the bottom row steps two rows; a fresh press one.
    for (int i = 0; i < 9; ++i) Press(*e, Qt::Key_Down);
    EXPECT_EQ(e->Row(), 9);
    Press(*e, Qt::Key_Down, Qt::NoModifier, true);
    EXPECT_EQ(e->Row(), 11);
    EXPECT_EQ(e->TopRow(), 2);
    EXPECT_TRUE(e->KeyRepeating());
    QTest::keyRelease(e.get(), Qt::Key_Down);
    EXPECT_FALSE(e->KeyRepeating());
    // Ctrl+Right goes from word start to word start, passing blanks and symbols.
    LoadText(*e, "foo, bar baz");
    e->SetRow(0);
    e->SetCol(0);
    QTest::keyClick(e.get(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(e->Col(), 5);
    QTest::keyClick(e.get(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(e->Col(), 9);
    QTest::keyClick(e.get(), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(e->Col(), 5);
    // An anchor (as a click leaves it) does not outlive the text it was in: Shift+Right on the emptied
    // text selects nothing, and what is typed then goes in.
    LoadText(*e, "ab");
    e->SetRowCol(0, 2);
    e->BeginSelection();
    Press(*e, Qt::Key_Backspace);
    Press(*e, Qt::Key_Backspace);
    Press(*e, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_FALSE(e->SelAvail());
    Type(*e, QStringLiteral("x"));
    EXPECT_EQ(e->Text(), "x");
}

TEST(EditorKeys, IndentationOnEnterTabAndBackspace) {
    auto e = FocusedEditor("    abc");
    e->SetCol(7);
    QTest::keyClick(e.get(), Qt::Key_Return);
    EXPECT_EQ(Row(*e, 1), "    ");
    EXPECT_EQ(e->Row(), 1);
    EXPECT_EQ(e->Col(), 4);
    // Enter inside the indentation indents the new row by the caret's column only.
    LoadText(*e, "    abc");
    e->SetRow(0);
    e->SetCol(2);
    QTest::keyClick(e.get(), Qt::Key_Return);
    EXPECT_EQ(Row(*e, 0), "  ");
    EXPECT_EQ(Row(*e, 1), "    abc");
    EXPECT_EQ(e->Col(), 2);
    // TabIndent writes 10 columns as one TAB and 2 spaces.
    e->Caret().SetTabIndent(true);
    LoadText(*e, std::string(10, ' ') + "x");
    e->SetCol(11);
    QTest::keyClick(e.get(), Qt::Key_Return);
    EXPECT_EQ(Row(*e, 1), "\t  ");
    e->Caret().SetTabIndent(false);
    // PrevSpaceIndent: an empty row takes the indentation of the line above.
    e->Caret().SetPrevSpaceIndent(true);
    LoadText(*e, "  a\r\n\r\nz");
    e->SetRow(1);
    QTest::keyClick(e.get(), Qt::Key_Return);
    EXPECT_EQ(Row(*e, 2), "  ");
    // SoftTab fills to the tab stop; with word wrap it stops at the wrap width.
    e->Caret().SetSoftTab(true);
    LoadText(*e, "abc");
    e->SetCol(3);
    QTest::keyClick(e.get(), Qt::Key_Tab);
    EXPECT_EQ(Row(*e, 0), "abc     ");
    e->WrapOption().SetWrapByte(20);
    e->SetWordWrap(true);
    LoadText(*e, std::string(18, 'x'));
    e->SetCol(18);
    QTest::keyClick(e.get(), Qt::Key_Tab);
    EXPECT_EQ(Row(*e, 0), std::string(18, 'x') + "  ");
    e->SetWordWrap(false);
    // BackSpaceUnIndent goes back to the indentation above, or to column 0.
    LoadText(*e, "    p\r\n        q");
    e->SetRow(1);
    e->SetCol(8);
    QTest::keyClick(e.get(), Qt::Key_Backspace);
    EXPECT_EQ(Row(*e, 1), "    q");
    EXPECT_EQ(e->Col(), 4);
    LoadText(*e, "p\r\n        q");
    e->SetRow(1);
    e->SetCol(8);
    QTest::keyClick(e.get(), Qt::Key_Backspace);
    EXPECT_EQ(Row(*e, 1), "q");
    EXPECT_EQ(e->Col(), 0);
    // One undo step per key restores the bytes.
    e->Undo();
    EXPECT_EQ(Row(*e, 1), "        q");
}

TEST(EditorKeys, TwoByteCharactersAreNeverSplit) {
    const std::string kanji = Sjis("漢字かな");
    auto e = FocusedEditor(kanji + "\r\n" + kanji);
    e->SetCol(3);  // inside 字: taken to after it
    EXPECT_EQ(e->Col(), 4);
    QTest::keyClick(e.get(), Qt::Key_Left);
    EXPECT_EQ(e->Col(), 2);
    QTest::keyClick(e.get(), Qt::Key_Delete);
    EXPECT_EQ(Row(*e, 0), Sjis("漢かな"));
    QTest::keyClick(e.get(), Qt::Key_Backspace);
    EXPECT_EQ(Row(*e, 0), Sjis("かな"));
    EXPECT_EQ(e->Col(), 0);
    // Overwriting one byte over a two-byte character leaves a space for its second half.
    e->SetOverwriteMode(true);
    Type(*e, QStringLiteral("x"));
    EXPECT_EQ(Row(*e, 0), "x " + Sjis("な"));
    e->SetOverwriteMode(false);
    // Backspace at the start of a wrap continuation deletes the whole last character of the row above.
    e->WrapOption().SetWrapByte(20);
    e->SetWordWrap(true);
    LoadText(*e, kanji + kanji + Sjis("漢字") + "ab");
    ASSERT_EQ(e->RowEnd(0), reWrapped);
    e->SetRow(1);
    e->SetCol(0);
    QTest::keyClick(e.get(), Qt::Key_Backspace);
    EXPECT_EQ(e->Text(), kanji + kanji + Sjis("漢ab"));
    EXPECT_EQ(e->SelStart(), 18);
}

TEST(EditorKeys, InputMethodCommitAndPreedit) {
    auto e = FocusedEditor("ab");
    e->SetCol(1);
    // The pre-edit is drawn at the caret but is no part of the text.
    const QImage before = Render(*e);
    const bool couldUndo = e->CanUndo();
    Commit(*e, QString(), QStringLiteral("かんじ"));
    EXPECT_EQ(e->PreeditText(), QStringLiteral("かんじ"));
    EXPECT_EQ(Row(*e, 0), "ab");
    EXPECT_EQ(e->CanUndo(), couldUndo);
    const QPoint cell = e->CaretPixelPos();
    const QRect preeditArea(cell.x() + 2, cell.y(), 6 * e->CharWidth(), e->CharHeight());
    EXPECT_GT(CountIf(Render(*e), preeditArea, Dark), CountIf(before, preeditArea, Dark) + 20);
    // The commit is inserted once, as a whole, and is one undo step; the pre-edit goes.
    Commit(*e, QStringLiteral("漢字"));
    EXPECT_EQ(Row(*e, 0), "a" + Sjis("漢字") + "b");
    EXPECT_EQ(e->Col(), 5);
    EXPECT_TRUE(e->PreeditText().isEmpty());
    e->Undo();
    EXPECT_EQ(Row(*e, 0), "ab");
    // The queries: caret cell, font, the caret row's text and the caret's place in it.
    LoadText(*e, Sjis("日本語"));
    e->SetCol(4);
    const QRect rect = e->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(rect.topLeft(), e->viewport()->mapTo(e.get(), QPoint(e->TextLeft() + 4 * e->CharWidth(), e->RowY(0))));
    EXPECT_EQ(rect.height(), e->CharHeight());
    EXPECT_EQ(e->inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("日本語"));
    EXPECT_EQ(e->inputMethodQuery(Qt::ImCursorPosition).toInt(), 2);
    EXPECT_EQ(e->inputMethodQuery(Qt::ImFont).value<QFont>(), e->font());
}

TEST(EditorKeys, ReadOnlyWantTabsWantReturnsAndUnencodable) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* e = new TEditor;
    auto* next = new QLineEdit;
    layout->addWidget(e);
    layout->addWidget(next);
    window.show();
    LoadText(*e, "ab");
    e->activateWindow();
    e->setFocus();
    Flush();
    ASSERT_TRUE(e->hasFocus());
    // Typed characters: one byte, two bytes as a whole, none without a Shift-JIS code.
    Type(*e, QStringLiteral("x"));
    Type(*e, QStringLiteral("ｱ"));
    Type(*e, QStringLiteral("あ"));
    Type(*e, QString::fromUcs4(U"\U0001F600"));
    Type(*e, QStringLiteral("€"));
    EXPECT_EQ(std::string(e->RowText(0)), "x\xB1" + Sjis("あ") + "ab");
    // The popup menu's shortcuts are not the key handler's.
    QKeyEvent ctrlA(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
    QApplication::sendEvent(e, &ctrlA);
    EXPECT_FALSE(ctrlA.isAccepted());
    EXPECT_FALSE(e->SelAvail());
    // OnKeyDown and OnKeyPress run first and can cancel.
    e->OnKeyPress = [](TEditor*, char32_t& key) {
        if (key == U'q') key = 0;
    };
    e->OnKeyDown = [](TEditor*, int& key, Qt::KeyboardModifiers) {
        if (key == Qt::Key_Delete) key = 0;
    };
    Type(*e, QStringLiteral("q"));
    e->SetCol(0);
    QTest::keyClick(e, Qt::Key_Delete);
    EXPECT_EQ(e->RowText(0).substr(0, 1), "x");
    // ReadOnly: nothing edits.
    const std::string kept(e->RowText(0));
    e->SetReadOnly(true);
    Type(*e, QStringLiteral("z"));
    Commit(*e, QStringLiteral("字"));
    QTest::keyClick(e, Qt::Key_Return);
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClick(e, Qt::Key_Tab);
    EXPECT_EQ(std::string(e->RowText(0)), kept);
    EXPECT_EQ(e->LineCount(), 1);
    EXPECT_TRUE(e->hasFocus());
    e->SetReadOnly(false);
    // WantTabs: Tab inserts a TAB; without it the focus moves on.
    QTest::keyClick(e, Qt::Key_Tab);
    EXPECT_EQ(e->RowText(0).substr(0, 1), "\t");
    EXPECT_TRUE(e->hasFocus());
    e->SetWantTabs(false);
    QTest::keyClick(e, Qt::Key_Tab);
    EXPECT_TRUE(next->hasFocus());
    EXPECT_EQ(std::string(e->RowText(0)), "\t" + kept);
}

TEST(EditorKeys, WantReturnsOffLeavesEnterToTheDialog) {
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* e = new TEditor;
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(e);
    layout->addWidget(ok);
    dialog.show();
    e->activateWindow();
    e->setFocus();
    Flush();
    bool accepted = false;
    QObject::connect(&dialog, &QDialog::accepted, [&] { accepted = true; });
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(e->LineCount(), 1);  // a new line: the empty text got its first line break
    EXPECT_FALSE(accepted);
    e->SetWantReturns(false);
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(e->LineCount(), 1);
    EXPECT_TRUE(accepted);
}
