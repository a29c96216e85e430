// Find and replace driven through the main window's dialogs, the quick-find field and the menus.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QTest>

#include "GuiTestSupport.h"
#include "support/TempDir.h"
#include "app/gui/FindDialog.h"
#include "app/gui/MainWindow.h"
#include "app/gui/ReplaceDialog.h"
#include "editor/widget/Editor.h"
#include "editor/wrap/EditorWrapOption.h"
#include "text/SjisCodec.h"

namespace {

std::string Sjis(const char* utf8) {
    return SjisCodec::FromUnicode(QString::fromUtf8(utf8));
}

std::string Record(const std::string& head, const std::string& text) {
    return "#[DAT:" + head + "]\r\n#[ADDR:http://]\r\n#[DATA:S]\r\n" + text + "\r\n#[DATA:E]\r\n#[END]\r\n";
}

struct FindReplaceTest : ::testing::Test {
    TTempDir dir;
    TScriptedDialogs dialogs;
    std::unique_ptr<TfrmMain> w;

    void SetUp() override { App(); }
    void TearDown() override {
        if (!w) return;
        w->SetModified(false);
        w->close();
        w.reset();
    }

    // Opens a list of records ("LLKK:date:name" heads) and selects its first node.
    TfrmMain& Open(const std::string& records, int count) {
        const auto file = dir / "find.vlt";
        WriteBytes(file, "Velloria version 2.03\r\n#[FILETYPE:VL203]\r\n#[DOCCOUNT:" + std::to_string(count) +
                             "]\r\n" + records);
        TfrmMainOptions options;
        options.IniFile = dir / "velloria.ini";
        options.Dialogs = &dialogs;
        options.CommandLineFile = QString::fromStdString(file.string());
        w = std::make_unique<TfrmMain>(options);
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        QApplication::processEvents();
        return *w;
    }
    TfrmMain& OpenText(const std::string& text) { return Open(Record("0000:20240101:doc", text), 1); }

    TEditor& Ed() { return *w->txtDocument; }
    QString Status() { return w->pnlStatus[2]->text(); }
    std::string Name() { return w->SelectedNode() ? w->SelectedNode()->Record().Name : "<none>"; }
    void Caret(int offset) { Ed().SetSelStart(offset); }

    TFindDialog& FindDialog(const char* utf8, bool down = true) {
        emit w->mnuGrpEdit->aboutToShow();
        w->mnu.EditFind->trigger();
        TFindDialog& d = *w->objFindDialog;
        d.SetFindText(QString::fromUtf8(utf8));
        d.SetDown(down);
        return d;
    }
    TReplaceDialog& ReplaceDialog(const char* find, const char* replace, bool down = true) {
        w->mnu.EditReplace->trigger();
        TReplaceDialog& d = *w->objReplaceDialog;
        d.SetFindText(QString::fromUtf8(find));
        d.SetReplaceText(QString::fromUtf8(replace));
        d.SetDown(down);
        return d;
    }
    void FindNext(TFindDialog& d) { QTest::mouseClick(d.btnFindNext, Qt::LeftButton); }
};

// ---- Find Next ------------------------------------------------------------------------------------------

TEST_F(FindReplaceTest, FindNextStartsAtABareCaretSkipsASelectedMatchAndSaysWhenNothingIsFound) {
    OpenText("abcabc");
    Caret(0);
    TFindDialog& d = FindDialog("abc");
    FindNext(d);  // a match right at the bare caret is found
    EXPECT_EQ(Ed().SelStart(), 0);
    EXPECT_EQ(Ed().SelLength(), 3);
    FindNext(d);  // the selected match is skipped
    EXPECT_EQ(Ed().SelStart(), 3);
    EXPECT_TRUE(Status().isEmpty());
    FindNext(d);  // nothing more: the selection stays, the status bar says so
    EXPECT_EQ(Ed().SelStart(), 3);
    EXPECT_EQ(Ed().SelLength(), 3);
    EXPECT_EQ(Status(), QStringLiteral("見つかりません"));
    EXPECT_EQ(dialogs.Count(), 0);  // and no message box

    // Upwards from the selected match at 3 finds the one before it; Enter in the dialog is Find Next.
    d.SetDown(false);
    QTest::keyClick(d.edtFindText, Qt::Key_Return);
    EXPECT_EQ(Ed().SelStart(), 0);

    // The searched text follows edits between two Find Next: after "xx " is typed in front, the next match
    // from the bare caret at 0 is at 3, not where it was before the edit.
    d.SetDown(true);
    Caret(0);
    QTest::keyClicks(w->txtDocument, "xx ");
    Caret(0);
    FindNext(d);
    EXPECT_EQ(Ed().SelStart(), 3);
    EXPECT_EQ(Ed().SelText(), "abc");

    // A find text with a character that has no Shift-JIS form finds nothing (it is not searched as '?').
    w->txtDocument->SetText("a?c");
    Caret(0);
    d.SetDown(true);
    d.SetFindText(QString::fromUtf8("a\u16A0c"));
    w->pnlStatus[2]->clear();
    FindNext(d);
    EXPECT_EQ(Ed().SelLength(), 0);
    EXPECT_EQ(Status(), QStringLiteral("見つかりません"));
}

TEST_F(FindReplaceTest, JapanesePatternsAtARowEndAcrossAWrapAndAsWholeWords) {
    OpenText(Sjis("あいう\r\nえお"));
    Caret(0);
    TFindDialog& d = FindDialog("う");
    FindNext(d);
    EXPECT_EQ(Ed().SelStart(), 4);
    EXPECT_EQ(Ed().SelText(), Sjis("う"));

    // A match that runs over a wrapped row: a wrap counts no bytes.
    Ed().WrapOption().SetWrapByte(10);
    Ed().SetWordWrap(true);
    Ed().SetText(Sjis("1234567890あいうえお"));
    ASSERT_EQ(Ed().RowEnd(0), reWrapped);
    Caret(0);
    d.SetFindText(QString::fromUtf8("0あ"));
    FindNext(d);
    EXPECT_EQ(Ed().SelStart(), 9);
    EXPECT_EQ(Ed().SelText(), Sjis("0あ"));

    // Whole word: a Japanese character next to a word joins it.
    Ed().SetWordWrap(false);
    Ed().SetText(Sjis("あabc abcい abc"));
    Caret(0);
    d.SetFindText(QStringLiteral("abc"));
    d.SetWholeWord(true);
    FindNext(d);
    EXPECT_EQ(Ed().SelStart(), 12);
    d.SetWholeWord(false);
}

// ---- Replace ----------------------------------------------------------------------------------------------

TEST_F(FindReplaceTest, ReplaceAfterFindNextReplacesTheNextMatchAndNeverSearchesInsertedText) {
    OpenText("x1 x2 x3");
    Caret(0);
    TReplaceDialog& d = ReplaceDialog("x", "xx");
    FindNext(d);
    ASSERT_EQ(Ed().SelStart(), 0);
    QTest::mouseClick(d.btnReplace, Qt::LeftButton);  // the selected match is passed over
    EXPECT_EQ(Ed().Text(), "x1 xx2 x3" "\r\n");
    QTest::mouseClick(d.btnReplace, Qt::LeftButton);  // from after the inserted "xx"
    EXPECT_EQ(Ed().Text(), "x1 xx2 xx3" "\r\n");
    QTest::mouseClick(d.btnReplace, Qt::LeftButton);
    EXPECT_EQ(Ed().Text(), "x1 xx2 xx3" "\r\n");
    EXPECT_EQ(Status(), QStringLiteral("見つかりません"));

    // Upwards the next search starts before the inserted text.
    Ed().SetText("a a a");
    Caret(5);
    d.SetFindText(QStringLiteral("a"));
    d.SetReplaceText(QStringLiteral("aa"));
    d.SetDown(false);
    for (int i = 0; i < 4; ++i) QTest::mouseClick(d.btnReplace, Qt::LeftButton);
    EXPECT_EQ(Ed().Text(), "aa aa aa" "\r\n");
}

TEST_F(FindReplaceTest, ReplaceAllIsOnePassInEitherDirectionAndOneUndoStep) {
    const std::string text = "a b\r\na";
    OpenText(text);
    Caret(3);
    TReplaceDialog& d = ReplaceDialog("a", "aa");
    QTest::mouseClick(d.btnReplaceAll, Qt::LeftButton);  // also the match at the very start
    EXPECT_EQ(Ed().Text(), "aa b\r\naa" "\r\n");
    EXPECT_EQ(Status(), QStringLiteral("2 個置換しました"));
    Ed().Undo();
    EXPECT_EQ(Ed().Text(), text + "\r\n");  // a loaded body ends with a line break
    EXPECT_FALSE(Ed().CanUndo());

    // Up runs from the end of the text upwards; the caret ends before the topmost replacement.
    d.SetDown(false);
    d.SetFindText(QStringLiteral("A"));
    d.SetReplaceText(QString::fromUtf8("あ"));
    QTest::mouseClick(d.btnReplaceAll, Qt::LeftButton);
    EXPECT_EQ(Ed().Text(), Sjis("あ b\r\nあ\r\n"));
    EXPECT_EQ(Ed().SelStart(), 0);
    EXPECT_EQ(Ed().SelLength(), 0);
    Ed().Undo();
    EXPECT_EQ(Ed().Text(), text + "\r\n");  // a loaded body ends with a line break

    d.SetMatchCase(true);  // "A" no longer matches
    QTest::mouseClick(d.btnReplaceAll, Qt::LeftButton);
    EXPECT_EQ(Ed().Text(), text + "\r\n");  // a loaded body ends with a line break
    EXPECT_EQ(Status(), QStringLiteral("見つかりません"));
}

// ---- Group find, quick find -----------------------------------------------------------------------------

TEST_F(FindReplaceTest, GroupFindStepsThroughTheGroupsChildrenOnePerFindNext) {
    Open(Record("0001:20240101:G", "") + Record("0100:20240101:one", "aaa") +
             Record("0100:20240101:two", "bbb") + Record("0100:20240101:three", "ccc key") +
             Record("0000:20240101:outside", "key"),
         5);
    ASSERT_TRUE(w->SelectNode(w->Tree().First()));
    emit w->mnuGrpEdit->aboutToShow();
    ASSERT_TRUE(w->mnu.EditGroupFind->isVisible());
    w->mnu.EditGroupFind->trigger();
    EXPECT_TRUE(w->GroupFind());
    EXPECT_EQ(Name(), "one");
    TFindDialog& d = *w->objFindDialog;
    ASSERT_TRUE(d.isVisible());
    d.SetFindText(QStringLiteral("key"));
    FindNext(d);
    EXPECT_EQ(Name(), "two");
    FindNext(d);
    EXPECT_EQ(Name(), "three");
    FindNext(d);
    EXPECT_EQ(Ed().SelStart(), 4);
    EXPECT_EQ(Ed().SelLength(), 3);
    FindNext(d);  // after the last child back to the first; the document outside never takes part
    EXPECT_EQ(Name(), "one");

    // Quick find ignores group mode and the dialog's options: down, without case, not whole-word.
    d.SetDown(false);
    d.SetMatchCase(true);
    d.SetWholeWord(true);
    Ed().SetText("xabc");
    Caret(0);
    w->edtEditFind->setText(QStringLiteral("ABC"));
    QTest::keyClick(w->edtEditFind, Qt::Key_Return);
    EXPECT_EQ(Ed().SelStart(), 1);
    EXPECT_EQ(Ed().SelLength(), 3);
    QTest::keyClick(w->edtEditFind, Qt::Key_Return);  // nothing more: the document stays
    EXPECT_EQ(Name(), "one");
    EXPECT_EQ(Status(), QStringLiteral("見つかりません"));

    d.close();
    EXPECT_FALSE(w->GroupFind());
}

// ---- The dialogs' keys ----------------------------------------------------------------------------------

TEST_F(FindReplaceTest, DialogsTakeTheEditKeysWhileShownAndKeepTheirTexts) {
    OpenText("editor text");
    Ed().SelectAll();
    QApplication::clipboard()->clear();
    TFindDialog& d = FindDialog("dialog");
    EXPECT_TRUE(w->mnu.EditCopy->shortcut().isEmpty());
    EXPECT_TRUE(w->mnu.EditFind->shortcut().isEmpty());
    d.activateWindow();
    d.edtFindText->selectAll();
    QTest::keyClick(d.edtFindText, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("dialog"));

    // The replace dialog shown too and closed: the keys come back although the find dialog is open.
    TReplaceDialog& r = ReplaceDialog("dialog", "other");
    QTest::keyClick(r.edtFindText, Qt::Key_Escape);
    EXPECT_FALSE(r.isVisible());
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(w->mnu.EditCopy->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    EXPECT_EQ(w->mnu.EditSelectAll->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));

    // Opened again: the texts are kept and the find text is selected.
    w->mnu.EditReplace->trigger();
    EXPECT_EQ(r.ReplaceText(), QStringLiteral("other"));
    EXPECT_EQ(r.edtFindText->selectedText(), QStringLiteral("dialog"));
    EXPECT_TRUE(w->mnu.EditPaste->shortcut().isEmpty());
    r.close();
    d.close();
    EXPECT_EQ(w->mnu.EditPaste->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_V));
}

}  // namespace
