// The main window driven as a user drives it: menus, toolbar buttons, keys and the tree, with the message
// boxes and file dialogs answered by the test.
#include "app/gui/MainWindow.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPageSize>
#include <QProcess>
#include <QRegularExpression>
#include <QSplitter>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "app/ListFile.h"
#include "app/gui/AboutDialog.h"
#include "app/gui/DocumentModel.h"
#include "app/gui/DocumentTreeView.h"
#include "app/gui/Init.h"
#include "base/Strings.h"
#include "editor/widget/Editor.h"
#include "printing/FormStrPreview.h"
#include "text/SjisCodec.h"

namespace {

namespace fs = std::filesystem;

QString Q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

// Shift-JIS bytes of a UTF-8 literal.
std::string Sjis(const char* utf8) {
    return SjisCodec::FromUnicode(QString::fromUtf8(utf8));
}

struct MainWindowTest : ::testing::Test {
    TTempDir dir;
    TScriptedDialogs dialogs;
    std::unique_ptr<TfrmMain> w;

    void SetUp() override { App(); }
    void TearDown() override { Close(); }

    TfrmMain& Start(const QString& commandLine = {}) {
        TfrmMainOptions options;
        options.IniFile = dir / "velloria.ini";
        options.Dialogs = &dialogs;
        options.CommandLineFile = commandLine;
        w = std::make_unique<TfrmMain>(options);
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        QApplication::processEvents();  // the command line is read after the first painting
        return *w;
    }
    // Closes the window as the user does; nothing may be asked unless an answer is scripted.
    void Close() {
        if (!w) return;
        w->close();
        w.reset();
    }
    TfrmMain& Open(const fs::path& file) {
        Start(Q(file));
        return *w;
    }

    // Menu items are chosen after their menu opened (which computes the enabling); false when disabled.
    bool Choose(QMenu* menu, QAction* item) {
        emit menu->aboutToShow();
        if (!item->isEnabled() || !item->isVisible()) return false;
        item->trigger();
        return true;
    }
    void Click(QToolBar* bar, QAction* button) {
        auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(button));
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QPoint At(TDocumentNode* node) { return w->treDocument->visualRect(w->Model().IndexOf(node)).center(); }
    void ClickNode(TDocumentNode* node) {
        QTest::mouseClick(w->treDocument->viewport(), Qt::LeftButton, {}, At(node));
    }
    TDocumentNode* Node(const char* utf8Name) {
        const std::string name = Sjis(utf8Name);
        TDocumentNode* found = nullptr;
        w->Tree().ForEachPreOrder(nullptr, [&](TDocumentNode* n, int) {
            if (!found && n->Record().Name == name) found = n;
        });
        return found;
    }
    std::string Selected() { return w->SelectedNode() ? w->SelectedNode()->Record().Name : "<none>"; }
    // Types into the editor at an offset (the control's own edit primitive).
    void Type(int offset, const std::string& bytes) {
        w->txtDocument->SetSelStart(offset);
        w->txtDocument->SetSelText(bytes);
    }
    // F2 on the tree, the label typed, Return.
    void EditLabel(const QString& label) {
        w->treDocument->setFocus();
        QTest::keyClick(w->treDocument, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(w->treDocument->isAncestorOf(editor));
        editor->setText(label);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();  // the view commits the edit after the key
    }
    fs::path Write(const std::string& name, const std::string& bytes) {
        fs::path p = dir / name;
        WriteBytes(p, bytes);
        return p;
    }
};

const std::string kHeader = CrLf({"Velloria version 2.03", "#[FILETYPE:VL203]"});

std::string Record(const std::string& head, const std::string& text, const std::string& addr = "http://") {
    return "#[DAT:" + head + "]\r\n#[ADDR:" + addr + "]\r\n#[DATA:S]\r\n" + text +
           "\r\n#[DATA:E]\r\n#[END]\r\n";
}

// ---- New, Open, Save ------------------------------------------------------------------------------------

TEST_F(MainWindowTest, NewAsksOnlyWhenThereIsSomethingToLose) {
    Start();
    EXPECT_FALSE(w->Modified());
    EXPECT_FALSE(w->txtDocument->isEnabled());
    Click(w->barStandard, w->btn.New);  // untitled, unchanged: nothing asked
    EXPECT_EQ(dialogs.Count(), 0);

    // Add a document, then delete it: the list is modified but has no documents, so New still asks nothing.
    Click(w->barDocument, w->btn.DocumentNew);
    EXPECT_TRUE(w->txtDocument->isEnabled());
    EXPECT_EQ(w->pnlStatus[0]->text(), QStringLiteral("  1 :   1"));  // the caret of the loaded document
    EXPECT_TRUE(w->Modified());
    EXPECT_EQ(w->pnlStatus[1]->text(), QStringLiteral("変更"));
    dialogs.Answers = {QMessageBox::Ok};
    ASSERT_TRUE(Choose(w->mnuGrpDocument, w->mnu.DocDelete));
    EXPECT_TRUE(w->NoDocuments());
    EXPECT_FALSE(w->edtDocumentName->isEnabled());
    EXPECT_FALSE(w->txtDocument->isEnabled());
    EXPECT_EQ(w->pnlStatus[0]->text(), QString());  // no caret without a document
    ASSERT_TRUE(Choose(w->mnuGrpFile, w->mnu.FileNew));
    EXPECT_EQ(dialogs.Count(), 1);  // only the delete confirmation
    EXPECT_FALSE(w->Modified());
    EXPECT_EQ(w->pnlStatus[1]->text(), QString());
}

TEST_F(MainWindowTest, YesWithAForbiddenWordAbandonsAndSelectsIt) {
    Start();
    Click(w->barDocument, w->btn.DocumentNew);
    EXPECT_TRUE(w->txtDocument->hasFocus());
    EXPECT_FALSE(w->btn.Cut->isEnabled());
    Type(0, "abc #[END] FILETYPE\r\n");
    EXPECT_EQ(w->pnlStatus[0]->text(), QStringLiteral("  2 :   1"));  // the caret after the typed line
    // Yes: the word is found (FILETYPE before #[END], the table's order), selected, and New is abandoned.
    dialogs.Answers = {QMessageBox::Yes};
    Click(w->barStandard, w->btn.New);
    ASSERT_EQ(dialogs.Count(), 2);
    EXPECT_EQ(dialogs.Shown[1].Text, QStringLiteral("使用できない単語があります。"));
    EXPECT_EQ(w->txtDocument->SelStart(), 11);
    EXPECT_EQ(w->txtDocument->SelText(), "FILETYPE");
    EXPECT_TRUE(w->btn.Cut->isEnabled());  // the edit buttons follow the editor's selection
    EXPECT_TRUE(w->btn.Undo->isEnabled());
    EXPECT_EQ(w->Tree().Count(), 1u);
    EXPECT_TRUE(w->Modified());
    EXPECT_TRUE(dialogs.Dialogs.empty());  // no save dialog

    // The same guard on a selection change: the move is refused, the word selected, one warning.
    Click(w->barDocument, w->btn.DocumentNew);  // refused too: the new node is added but not selected
    EXPECT_EQ(w->Tree().Count(), 2u);
    EXPECT_EQ(w->SelectedNode(), w->Tree().First());
    dialogs.Forget();
    ClickNode(w->Tree().LastTop());
    EXPECT_EQ(dialogs.Count(), 1);
    EXPECT_EQ(w->SelectedNode(), w->Tree().First());
    // Lower case letters are no tag: once the words are gone the move goes through and the text is stored.
    w->txtDocument->SelectAll();
    w->txtDocument->SetSelText("abc filetype\r\n");
    ClickNode(w->Tree().LastTop());
    EXPECT_EQ(w->SelectedNode(), w->Tree().LastTop());
    EXPECT_EQ(w->Tree().First()->Record().Text, "abc filetype\r\n");
    // And on closing: No discards.
    dialogs.Answers = {QMessageBox::No};
}

TEST_F(MainWindowTest, OpenChoosesTheFileFirstAndReportsAMissingOne) {
    const fs::path empty = Write("empty.vlt", kHeader + "#[DOCCOUNT:0]\r\n");
    Start();
    dialogs.OpenFiles = {""};  // cancelled: nothing happens
    Click(w->barStandard, w->btn.Open);
    ASSERT_EQ(dialogs.Dialogs.size(), 1u);
    EXPECT_EQ(dialogs.Dialogs[0].Title, QStringLiteral("ﾄﾞｷｭﾒﾝﾄﾌｧｲﾙを開く"));
    EXPECT_EQ(dialogs.Dialogs[0].Filter, QStringLiteral("ﾄﾞｷｭﾒﾝﾄﾌｧｲﾙ ( *.vlt )"));
    EXPECT_EQ(dialogs.Dialogs[0].DefaultSuffix, QStringLiteral("vlt"));

    // A list without records: an empty tree, the controls disabled, no message.
    dialogs.OpenFiles = {Q(empty)};
    ASSERT_TRUE(Choose(w->mnuGrpFile, w->mnu.FileOpen));
    EXPECT_EQ(dialogs.Count(), 0);
    EXPECT_TRUE(w->Tree().Empty());
    EXPECT_TRUE(w->NoDocuments());
    EXPECT_FALSE(w->txtDocument->isEnabled());
    EXPECT_EQ(w->FileName(), Q(empty));

    const fs::path missing = dir / "missing.vlt";
    dialogs.OpenFiles = {Q(missing)};
    Click(w->barStandard, w->btn.Open);
    ASSERT_EQ(dialogs.Count(), 1);
    EXPECT_EQ(dialogs.Shown[0].Icon, QMessageBox::Information);
    EXPECT_EQ(
        dialogs.Last(),
        Q(missing) +
            QStringLiteral("\n指定されたファイルが見つかりません。\nファイル名が正しいか確認してください。"));
    EXPECT_EQ(w->FileName(), Q(empty));

    // An old-format list: the reader's warning (after the tree is filled), then its documents.
    const fs::path old = dir / "old.vlp";
    fs::copy_file(fs::path(VELLORIA_SOURCE_DIR) / "examples/sample.vlp", old);
    dialogs.Forget();
    dialogs.OpenFiles = {Q(old)};
    Click(w->barStandard, w->btn.Open);
    ASSERT_EQ(dialogs.Count(), 1);
    EXPECT_TRUE(dialogs.Last().startsWith(QStringLiteral("指定されたファイルのバージョンは古い様です。\n")));
    EXPECT_TRUE(dialogs.Last().endsWith(Q(old)));
    EXPECT_FALSE(w->Tree().Empty());
    EXPECT_TRUE(w->txtDocument->isEnabled());
    EXPECT_EQ(w->SelectedNode(), w->Tree().First());
    EXPECT_FALSE(w->Modified());
}

TEST_F(MainWindowTest, SaveWithAnEmptyTreeWritesTheHeader) {
    Start();
    // The menu item is disabled with an empty tree; the toolbar button works.
    emit w->mnuGrpFile->aboutToShow();
    EXPECT_FALSE(w->mnu.FileSave->isEnabled());
    const fs::path file = dir / "new.vlt";
    dialogs.SaveFiles = {Q(file)};
    Click(w->barStandard, w->btn.Save);
    ASSERT_EQ(dialogs.Dialogs.size(), 1u);
    EXPECT_EQ(dialogs.Dialogs[0].Title, QStringLiteral("ﾄﾞｷｭﾒﾝﾄﾌｧｲﾙを保存する"));
    EXPECT_EQ(dialogs.Dialogs[0].Filter, QStringLiteral("ﾄﾞｷｭﾒﾝﾄﾘｽﾄ ( *.vlt )"));
    EXPECT_EQ(ReadBytes(file), kHeader + "#[DOCCOUNT:0]\r\n");
    EXPECT_EQ(w->FileName(), Q(file));
}

TEST_F(MainWindowTest, AFailedSaveSaysWhyAndKeepsTheList) {
    Start();
    Click(w->barDocument, w->btn.DocumentNew);
    Type(0, "memo\r\n");
    // The folder of the chosen name is a file: the write fails.
    const fs::path blocker = Write("blocker", "x");
    const fs::path bad = blocker / "list.vlt";
    dialogs.SaveFiles = {Q(bad)};
    Click(w->barStandard, w->btn.Save);
    ASSERT_EQ(dialogs.Count(), 1);
    EXPECT_EQ(dialogs.Shown[0].Icon, QMessageBox::Critical);
    EXPECT_TRUE(dialogs.Last().contains(Q(bad))) << dialogs.Last().toStdString();
    EXPECT_TRUE(w->Modified());

    // Yes in the save question of New: the write fails again, so New must not discard the list.
    dialogs.Answers = {QMessageBox::Yes};
    Click(w->barStandard, w->btn.New);
    EXPECT_EQ(w->Tree().Count(), 1u);
    EXPECT_TRUE(w->Modified());

    // Closing: Cancel keeps the window; Yes fails again (the stored name is bad) and keeps it too; No closes.
    dialogs.Answers = {QMessageBox::Cancel};
    EXPECT_FALSE(w->close());
    dialogs.Answers = {QMessageBox::Yes};
    EXPECT_FALSE(w->close());
    dialogs.Answers = {QMessageBox::No};
    EXPECT_TRUE(w->close());
}

TEST_F(MainWindowTest, SavingOverAListChangedOnDiskAsksFirst) {
    const fs::path file =
        Write("shared.vlt", kHeader + "#[DOCCOUNT:1]\r\n" + Record("0000:20240101:one", "first"));
    Open(file);
    ClickNode(w->Tree().First());

    // A second window on the same file saves its edit first: no question there.
    TfrmMainOptions options;
    options.IniFile = dir / "velloria.ini";
    options.Dialogs = &dialogs;
    options.CommandLineFile = Q(file);
    auto other = std::make_unique<TfrmMain>(options);
    other->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(other.get()));
    QApplication::processEvents();  // the command line is read after the first painting
    ASSERT_EQ(other->Tree().Count(), 1u);
    other->SelectNode(other->Tree().First());
    other->txtDocument->SetSelStart(0);
    other->txtDocument->SetSelText("other ");
    Click(other->barStandard, other->btn.Save);
    EXPECT_EQ(dialogs.Count(), 0);
    const std::string othersList = ReadBytes(file);
    ASSERT_NE(othersList.find("other first"), std::string::npos);
    other->close();
    other.reset();

    // The first window's save asks; No keeps the other window's file and this window's edit.
    Type(0, "mine ");
    dialogs.Answers = {QMessageBox::No};
    Click(w->barStandard, w->btn.Save);
    ASSERT_EQ(dialogs.Count(), 1);
    EXPECT_EQ(dialogs.Shown[0].Icon, QMessageBox::Warning);
    EXPECT_EQ(dialogs.Shown[0].Buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(dialogs.Last().endsWith(Q(file)));
    EXPECT_EQ(ReadBytes(file), othersList);
    EXPECT_TRUE(w->Modified());
    // Closing with Yes to "save?" meets the same question: No there keeps the window open.
    dialogs.Answers = {QMessageBox::Yes, QMessageBox::No};
    EXPECT_FALSE(w->close());
    EXPECT_EQ(ReadBytes(file), othersList);

    // Yes writes; the next save of the file as written asks nothing.
    dialogs.Forget();
    dialogs.Answers = {QMessageBox::Yes};
    Click(w->barStandard, w->btn.Save);
    EXPECT_EQ(dialogs.Count(), 1);
    EXPECT_NE(ReadBytes(file).find("mine first"), std::string::npos);
    EXPECT_FALSE(w->Modified());
    Type(0, "again ");
    Click(w->barStandard, w->btn.Save);
    EXPECT_EQ(dialogs.Count(), 1);

    // A rewrite of the same size counts by its time alone; a file that is gone is simply written again.
    const std::string same = ReadBytes(file);
    WriteBytes(file, std::string(same.size(), 'x'));
    fs::last_write_time(file, fs::last_write_time(file) - std::chrono::hours(1));
    Type(0, "late ");
    dialogs.Answers = {QMessageBox::No};
    Click(w->barStandard, w->btn.Save);
    EXPECT_EQ(dialogs.Count(), 2);
    EXPECT_EQ(ReadBytes(file), std::string(same.size(), 'x'));
    fs::remove(file);
    Click(w->barStandard, w->btn.Save);
    EXPECT_EQ(dialogs.Count(), 2);
    EXPECT_NE(ReadBytes(file).find("late again mine first"), std::string::npos);
}

// ---- Document commands --------------------------------------------------------------------------------

TEST_F(MainWindowTest, SortAndStepThroughAGroup) {
    const fs::path file =
        Write("sort.vlt", kHeader + "#[DOCCOUNT:5]\r\n" + Record("0001:20240101:G", "") +
                              Record("0100:20240101:b", "") + Record("0100:20240101:A", "") +
                              Record("0100:20240101:c", "") + Record("0000:20240101:Z", ""));
    Open(file);
    TDocumentNode* group = w->Tree().First();
    ASSERT_EQ(w->SelectedNode(), group);
    EXPECT_FALSE(w->Modified());
    Click(w->barDocument, w->btn.SortAsc);
    EXPECT_EQ(Shape(w->Tree()), "G(1)[A,b,c],Z");
    EXPECT_TRUE(w->Modified());
    Click(w->barDocument, w->btn.SortDsc);
    EXPECT_EQ(Shape(w->Tree()), "G(1)[c,b,A],Z");
    // The view follows: the rows show the new order.
    EXPECT_EQ(w->Model().index(0, 0, w->Model().IndexOf(group)).data().toString(), QStringLiteral("c"));

    // Next and Previous stay among the siblings: F10 on the last child and F9 on the first top node do
    // nothing.
    w->treDocument->expand(w->Model().IndexOf(group));
    ClickNode(group->Child(2));  // A
    QTest::keyClick(w.get(), Qt::Key_F10);
    EXPECT_EQ(Selected(), "A");
    QTest::keyClick(w.get(), Qt::Key_F9);
    EXPECT_EQ(Selected(), "b");
    ClickNode(group);
    QTest::keyClick(w.get(), Qt::Key_F9);
    EXPECT_EQ(w->SelectedNode(), group);
    Click(w->barDocument, w->btn.Next);
    EXPECT_EQ(Selected(), "Z");
    dialogs.Answers = {QMessageBox::No};  // closing
}

TEST_F(MainWindowTest, NewNodesGoWhereTheSelectionSays) {
    Start();
    Click(w->barDocument, w->btn.GroupNew);
    TDocumentNode* group = w->SelectedNode();
    ASSERT_TRUE(w->IsGroupNode(group));
    EXPECT_EQ(group->Record().Date, QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toStdString());
    EXPECT_EQ(group->Record().Address, "http://");
    Click(w->barDocument, w->btn.DocumentNew);  // an empty group takes it as its child
    EXPECT_EQ(w->SelectedNode()->Parent(), group);
    EXPECT_TRUE(w->txtDocument->hasFocus());
    // A double click in the editor selects the ASCII word around the caret.
    Type(0, Sjis("日本 ab12_x\r\n"));
    w->txtDocument->SetSelStart(7);
    QTest::mouseDClick(w->txtDocument->viewport(), Qt::LeftButton, {},
                       w->txtDocument->CaretPixelPos() + QPoint(1, w->txtDocument->RowHeight() / 2));
    QApplication::processEvents();
    EXPECT_EQ(w->txtDocument->SelText(), "ab12");
    Click(w->barDocument, w->btn.DocumentNew);  // a document inside the group: at the group's end
    EXPECT_EQ(group->ChildCount(), 2);
    ClickNode(group);
    w->treDocument->collapse(w->Model().IndexOf(group));
    Click(w->barDocument, w->btn.DocumentNew);  // a collapsed group with children: after the group
    EXPECT_EQ(w->SelectedNode()->Parent(), nullptr);
    EXPECT_EQ(w->Tree().ChildCount(nullptr), 2);
    dialogs.Answers = {QMessageBox::No};
}

TEST_F(MainWindowTest, TreeKeysMarkerAndLabels) {
    const fs::path file =
        Write("keys.vlt", kHeader + "#[DOCCOUNT:3]\r\n" + Record("0000:20240101:one", "1") +
                              Record("0000:20240101:two", "2") + Record("0000:20240101:three", "3"));
    Open(file);
    TDocumentNode* one = w->Tree().First();
    // A double click toggles the marker and never marks the list modified.
    QTest::mouseDClick(w->treDocument->viewport(), Qt::LeftButton, {}, At(one));
    EXPECT_EQ(one->Record().Kind, dkMarked);
    QTest::mouseDClick(w->treDocument->viewport(), Qt::LeftButton, {}, At(one));
    EXPECT_EQ(one->Record().Kind, dkDocument);
    EXPECT_FALSE(w->Modified());

    // F2 edits the label; a forbidden word keeps the stored name, another name goes to the field as well.
    EditLabel(QStringLiteral("#[END]"));
    EXPECT_EQ(one->Record().Name, "one");
    EXPECT_EQ(dialogs.Last(), QStringLiteral("使用できない単語があります。"));
    EXPECT_FALSE(w->Modified());
    EditLabel(QStringLiteral("一番"));
    EXPECT_EQ(one->Record().Name, Sjis("一番"));
    EXPECT_EQ(w->edtDocumentName->text(), QStringLiteral("一番"));
    EXPECT_TRUE(w->Modified());

    // The name field: a forbidden word falls back to the stored name.
    w->edtDocumentName->setFocus();
    w->edtDocumentName->selectAll();
    QTest::keyClicks(w->edtDocumentName, QStringLiteral("FILETYP"));
    EXPECT_EQ(one->Record().Name, "FILETYP");
    QTest::keyClicks(w->edtDocumentName, QStringLiteral("E"));
    EXPECT_EQ(w->edtDocumentName->text(), QStringLiteral("FILETYP"));
    EXPECT_EQ(w->Model().IndexOf(one).data().toString(), QStringLiteral("FILETYP"));

    // Delete on the tree asks; Cancel keeps the node, OK deletes it and selects the next one.
    w->treDocument->setFocus();
    dialogs.Answers = {QMessageBox::Cancel};
    QTest::keyClick(w->treDocument, Qt::Key_Delete);
    EXPECT_EQ(w->Tree().Count(), 3u);
    dialogs.Answers = {QMessageBox::Ok};
    QTest::keyClick(w->treDocument, Qt::Key_Delete);
    EXPECT_EQ(Shape(w->Tree()), "two,three");
    EXPECT_EQ(Selected(), "two");
    EXPECT_EQ(w->txtDocument->Text(), "2\r\n");

    // A right press selects the node under it.
    QTest::mousePress(w->treDocument->viewport(), Qt::RightButton, {}, At(w->Tree().LastTop()));
    EXPECT_EQ(Selected(), "three");
    EXPECT_TRUE(w->objPopupDoc->isVisible());
    w->objPopupDoc->hide();
    dialogs.Answers = {QMessageBox::No};
}

TEST_F(MainWindowTest, TheTreeModelStaysConsistent) {
    // Qt's model checker watches every change the commands make; its complaints are collected here.
    static QStringList failures;
    failures.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
            if (m.contains(QStringLiteral("FAIL"))) failures.push_back(m);
        });
    const fs::path file =
        Write("model.vlt", kHeader + "#[DOCCOUNT:4]\r\n" + Record("0001:20240101:g", "") +
                               Record("0100:20240101:y", "") + Record("0100:20240101:x", "") +
                               Record("0000:20240101:d", ""));
    Start();
    {
        QAbstractItemModelTester tester(&w->Model(), QAbstractItemModelTester::FailureReportingMode::Warning);
        dialogs.OpenFiles = {Q(file)};
        Click(w->barStandard, w->btn.Open);
        TDocumentNode* group = w->Tree().First();
        w->treDocument->expand(w->Model().IndexOf(group));
        ClickNode(group);
        Click(w->barDocument, w->btn.SortAsc);
        Click(w->barDocument, w->btn.DocumentNew);  // the group's last child
        Click(w->barDocument, w->btn.GroupNew);     // after it
        EXPECT_EQ(Shape(w->Tree()), Sjis("g(1)[x,y,無題,無題(1)],d"));
        dialogs.Answers = {QMessageBox::Ok};
        Choose(w->mnuGrpDocument, w->mnu.DocDelete);
        ClickNode(group);
        dialogs.Answers = {QMessageBox::Ok};
        Choose(w->mnuGrpDocument, w->mnu.DocDelete);  // the group with its children
        EXPECT_EQ(Shape(w->Tree()), "d");
        EXPECT_EQ(Selected(), "d");
        dialogs.Answers = {QMessageBox::No};
        Click(w->barStandard, w->btn.New);
        EXPECT_TRUE(w->Tree().Empty());
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(failures.isEmpty()) << failures.join(QStringLiteral("\n")).toStdString();
}

TEST_F(MainWindowTest, EditorCommandsAndTheNameFromTheSelection) {
    Start();
    Click(w->barDocument, w->btn.DocumentNew);
    Type(0, Sjis("見出し\r\n本文 text\r\n"));
    // Move to end puts the caret at the end of the last line, Move to start at the beginning.
    Click(w->barStandard, w->btn.MoveEnd);
    EXPECT_EQ(w->txtDocument->Row(), 1);
    EXPECT_EQ(w->txtDocument->Col(), 9);
    Click(w->barStandard, w->btn.Move1st);
    EXPECT_EQ(w->txtDocument->SelStart(), 0);
    // Entering the name field with text selected in the editor takes its first line as the name.
    w->txtDocument->SetSelStart(0);
    w->txtDocument->SetSelLength(12);
    w->edtDocumentName->setFocus();
    EXPECT_EQ(w->SelectedNode()->Record().Name, Sjis("見出し"));
    EXPECT_EQ(w->Model().IndexOf(w->SelectedNode()).data().toString(), QStringLiteral("見出し"));
    // Select all and Delete from the Edit menu act on the focused control: the field here.
    ASSERT_TRUE(Choose(w->mnuGrpEdit, w->mnu.EditSelectAll));
    EXPECT_EQ(w->edtDocumentName->selectedText(), QStringLiteral("見出し"));
    ASSERT_TRUE(Choose(w->mnuGrpEdit, w->mnu.EditDelete));
    EXPECT_EQ(w->edtDocumentName->text(), QString());
    EXPECT_EQ(w->SelectedNode()->Record().Name, "");
    ASSERT_TRUE(Choose(w->mnuGrpEdit, w->mnu.EditUndo));
    EXPECT_EQ(w->SelectedNode()->Record().Name, Sjis("見出し"));
    // And in the editor.
    w->txtDocument->setFocus();
    ASSERT_TRUE(Choose(w->mnuGrpEdit, w->mnu.EditSelectAll));
    ASSERT_TRUE(Choose(w->mnuGrpEdit, w->mnu.EditDelete));
    EXPECT_EQ(w->txtDocument->Text(), "");
    ASSERT_TRUE(Choose(w->mnuGrpEdit, w->mnu.EditUndo));
    EXPECT_EQ(w->txtDocument->Text(), Sjis("見出し\r\n本文 text\r\n"));
    dialogs.Answers = {QMessageBox::No};
}

// ---- The binding keeps what was not edited ----------------------------------------------------------------

TEST_F(MainWindowTest, ViewingEveryDocumentChangesNoByte) {
    // Codes without a Unicode round trip: 0x8540 (unassigned), 0xED40 (a duplicate of 0xFA5C), 0x8790
    // (a duplicate of 0x81E0); and a text without its final line break.
    const std::string odd = "\x85\x40\xED\x40\x87\x90";
    const std::string bytes = kHeader + "#[DOCCOUNT:4]\r\n" +
                              Record("0001:20240101:g" + odd, "group " + odd + "\r\n", "http://" + odd) +
                              Record("0100:20240101:" + odd, "no final break " + odd) +
                              Record("0100:20240101:two", "a\r\nb\r\n") +
                              Record("0000:20240101:last", "end\r\n\r\n", odd);
    const fs::path file = Write("odd.vlt", bytes);
    Open(file);
    TDocumentNode* group = w->Tree().First();
    w->treDocument->expand(w->Model().IndexOf(group));
    // Down through every node with the keyboard, into the name field and back.
    w->treDocument->setFocus();
    for (int i = 0; i < 3; ++i) {
        w->edtDocumentName->setFocus();
        w->edtDocumentAddr->setFocus();
        w->treDocument->setFocus();
        QTest::keyClick(w->treDocument, Qt::Key_Down);
    }
    EXPECT_EQ(Selected(), "last");
    EXPECT_FALSE(w->Modified());
    EXPECT_EQ(dialogs.Count(), 0);
    dialogs.SaveFiles = {};
    Click(w->barStandard, w->btn.Save);
    EXPECT_EQ(ReadBytes(file), bytes);
}

TEST_F(MainWindowTest, FullSessionSavesWhatWasEdited) {
    const fs::path sample = dir / "sample.vlt";
    fs::copy_file(fs::path(VELLORIA_SOURCE_DIR) / "examples/sample.vlt", sample);
    const std::string before = ReadBytes(sample);
    Open(sample);
    ASSERT_EQ(w->Tree().Count(), 10u);
    EXPECT_FALSE(w->Modified());
    EXPECT_TRUE(w->txtDocument->isEnabled());

    // The same edits on a tree of our own give the bytes the window must write.
    TDocumentTree expected;
    TListFileHost quiet;
    TListFile(expected, quiet).ReadListFile(sample);

    TDocumentNode* memo = Node("会議メモ");
    ASSERT_NE(memo, nullptr);
    w->treDocument->expand(w->Model().IndexOf(memo->Parent()));
    ClickNode(memo);
    EXPECT_EQ(w->edtDocumentName->text(), QStringLiteral("会議メモ"));
    Type(0, Sjis("追記\r\n"));
    EXPECT_TRUE(w->Modified());
    TDocumentNode* books = Node("読書記録");
    ASSERT_NE(books, nullptr);
    ClickNode(books);
    w->edtDocumentAddr->setFocus();
    w->edtDocumentAddr->selectAll();
    QTest::keyClicks(w->edtDocumentAddr, QStringLiteral("https://example.org/"));
    Type(0, "xyz ");
    Click(w->barDocument, w->btn.GroupNew);  // after the last top-level document
    ASSERT_TRUE(w->IsGroupNode(w->SelectedNode()));
    EXPECT_EQ(w->txtDocument->Text(), "");

    const auto expectNode = [&](const char* name) {
        TDocumentNode* found = nullptr;
        expected.ForEachPreOrder(nullptr, [&](TDocumentNode* n, int) {
            if (!found && n->Record().Name == Sjis(name)) found = n;
        });
        return found;
    };
    expectNode("会議メモ")->Record().Text.insert(0, Sjis("追記\r\n"));
    expectNode("読書記録")->Record().Text.insert(0, "xyz ");
    expectNode("読書記録")->Record().Address = "https://example.org/";
    expected.AppendSibling(nullptr, w->SelectedNode()->Record());
    const std::string want = TListFile(expected, quiet).Serialize();

    ASSERT_TRUE(Choose(w->mnuGrpFile, w->mnu.FileSave));
    EXPECT_TRUE(dialogs.Dialogs.empty());
    EXPECT_FALSE(w->Modified());
    EXPECT_EQ(ReadBytes(sample), want);
    EXPECT_NE(want, before);

    // Reopen: the same list, and saving it unchanged writes the same bytes.
    Close();
    Open(sample);
    EXPECT_EQ(w->Tree().Count(), 11u);
    ClickNode(Node("読書記録"));
    EXPECT_EQ(w->edtDocumentAddr->text(), QStringLiteral("https://example.org/"));
    Click(w->barStandard, w->btn.Save);
    EXPECT_EQ(ReadBytes(sample), want);
}

// ---- Print and Preview -----------------------------------------------------------------------------------

// Text without any white space (pdftotext puts line breaks and column gaps where the layout had them).
QString Squeezed(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

TEST_F(MainWindowTest, PrintWritesTheDocumentToAPdf) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    ASSERT_FALSE(pdftotext.isEmpty())
        << "pdftotext is missing: scripts/install-deps.sh installs poppler-utils";
    // Without documents the menu item is disabled and the toolbar button does nothing.
    Start();
    EXPECT_FALSE(Choose(w->mnuGrpFile, w->mnu.FilePrint));
    EXPECT_FALSE(Choose(w->mnuGrpFile, w->mnu.FilePreview));
    Click(w->barStandard, w->btn.Print);
    EXPECT_EQ(dialogs.PrintSetups, 0);
    Close();

    const fs::path sample = dir / "sample.vlt";
    fs::copy_file(fs::path(VELLORIA_SOURCE_DIR) / "examples/sample.vlt", sample);
    Open(sample);
    TDocumentNode* memo = Node("会議メモ");
    ASSERT_NE(memo, nullptr);
    w->treDocument->expand(w->Model().IndexOf(memo->Parent()));
    ClickNode(memo);
    ASSERT_EQ(w->SelectedNode(), memo);
    const std::string stored = memo->Record().Text;

    // A forbidden word stops the command before the setup dialog and is selected.
    Type(0, "FILETYPE");
    Click(w->barStandard, w->btn.Print);
    EXPECT_EQ(dialogs.PrintSetups, 0);
    EXPECT_EQ(dialogs.Last(), QStringLiteral("使用できない単語があります。"));
    EXPECT_EQ(w->txtDocument->SelText(), "FILETYPE");
    w->txtDocument->SetSelText(Sjis("印刷前の追記"));

    // Cancel in the setup dialog: nothing printed, nothing stored.
    dialogs.OnPrintSetup = [](QPrinter&) { return false; };
    Click(w->barStandard, w->btn.Print);
    EXPECT_EQ(dialogs.PrintSetups, 1);
    EXPECT_EQ(memo->Record().Text, stored);

    // OK with a PDF file chosen: the edited text is stored and printed.
    const QString pdf = Q(dir / "memo.pdf");
    dialogs.OnPrintSetup = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        return true;
    };
    dialogs.Forget();
    ASSERT_TRUE(Choose(w->mnuGrpFile, w->mnu.FilePrint));
    EXPECT_EQ(dialogs.Count(), 0) << dialogs.Last().toStdString();
    EXPECT_EQ(memo->Record().Text, Sjis("印刷前の追記") + stored);
    EXPECT_EQ(w->objStringsPrinter.Font(), w->txtDocument->font());
    const QString shots = qEnvironmentVariable("VELLORIA_PRINT_SHOTS");
    if (!shots.isEmpty()) QFile::copy(pdf, shots + QStringLiteral("/window-print.pdf"));

    QProcess process;
    process.start(pdftotext, {pdf, QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(60000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    ASSERT_EQ(pages.size(), 2);  // one page, ended by a form feed
    // Header: the list file's name, the document's name and today's date; footer: the page number.
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy/M/d"));
    EXPECT_TRUE(Squeezed(pages[0]).startsWith(QStringLiteral("sample.vlt-会議メモ") + today))
        << pages[0].toStdString();
    EXPECT_TRUE(pages[0].trimmed().endsWith(QLatin1Char('1')));
    const QString body = Squeezed(pages[0]);
    strings::ForEachLine(memo->Record().Text, [&](std::string_view line) {
        const QString text = Squeezed(SjisCodec::ToUnicode(line));
        EXPECT_TRUE(body.contains(text)) << text.toStdString();
    });

    // A file that cannot be written is reported, not taken for printed.
    dialogs.OnPrintSetup = [&](QPrinter& printer) {
        printer.setOutputFileName(Q(dir / "no/such/folder/memo.pdf"));
        return true;
    };
    Click(w->barStandard, w->btn.Print);
    ASSERT_EQ(dialogs.Count(), 1);
    EXPECT_TRUE(dialogs.Last().startsWith(QStringLiteral("印刷できませんでした。")))
        << dialogs.Last().toStdString();
    dialogs.Answers = {QMessageBox::No};  // the stored edit makes closing ask
}

TEST_F(MainWindowTest, PreviewShowsTheDocumentAndCloses) {
    Open(fs::path(VELLORIA_SOURCE_DIR) / "examples/sample.vlt");
    TDocumentNode* memo = Node("会議メモ");
    ASSERT_NE(memo, nullptr);
    w->treDocument->expand(w->Model().IndexOf(memo->Parent()));
    ClickNode(memo);
    ASSERT_EQ(w->SelectedNode(), memo);
    QString status;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* preview = dynamic_cast<TFormStrPreview*>(QApplication::activeModalWidget());
        if (!preview || !preview->isVisible()) return;
        timer.stop();
        status = preview->StatusText();
        const QString shots = qEnvironmentVariable("VELLORIA_PRINT_SHOTS");
        if (!shots.isEmpty()) preview->grab().save(shots + QStringLiteral("/window-preview.png"));
        QTest::mouseClick(preview->SpeedButton8, Qt::LeftButton);
    });
    timer.start();
    ASSERT_TRUE(Choose(w->mnuGrpFile, w->mnu.FilePreview));
    EXPECT_EQ(status, QStringLiteral("  1 /   1"));
    EXPECT_EQ(dialogs.PrintSetups, 0);  // no setup step
    EXPECT_FALSE(w->Modified());
}

// ---- Start-up and shut-down ------------------------------------------------------------------------------

TEST_F(MainWindowTest, SettingsSurviveTwoStarts) {
    Start();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Velloria ver 2.10"));
    EXPECT_EQ(w->pos(), QPoint(258, 153));
    EXPECT_EQ(w->size(), QSize(500, 297));
    EXPECT_EQ(w->treDocument->width(), 100);
    EXPECT_TRUE(w->txtDocument->Ruler().Visible());
    EXPECT_EQ(w->txtDocument->font().family(), QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(w->txtDocument->font().pointSize(), 9);
    w->move(100, 120);
    w->resize(640, 400);
    QApplication::processEvents();
    w->splitter->setSizes({180, 400});
    Close();
    const std::string ini = ReadBytes(dir / "velloria.ini");
    EXPECT_NE(ini.find("[Default]\r\nTreeSize=180\r\nRuler=true\r\nFontName="), std::string::npos) << ini;
    EXPECT_NE(ini.find("PH=400\r\nPW=640\r\nPT=120\r\nPL=100\r\n"), std::string::npos) << ini;

    // The second start reads them; a ruler written as TRUE is off.
    std::string edited = ini;
    edited.replace(edited.find("Ruler=true"), 10, "Ruler=TRUE");
    WriteBytes(dir / "velloria.ini", edited);
    Start();
    EXPECT_EQ(w->pos(), QPoint(100, 120));
    EXPECT_EQ(w->size(), QSize(640, 400));
    EXPECT_EQ(w->treDocument->width(), 180);
    EXPECT_FALSE(w->txtDocument->Ruler().Visible());
}

TEST_F(MainWindowTest, CommandLineAndAbout) {
    Start(Q(dir / "nothing.vlt"));
    ASSERT_EQ(dialogs.Count(), 1);
    EXPECT_TRUE(dialogs.Last().endsWith(
        QStringLiteral("指定されたファイルが見つかりません。\nファイル名が正しいか確認してください。")));
    EXPECT_TRUE(w->Tree().Empty());

    QString comments, name;
    bool icon = false;
    dialogs.OnExec = [&](QDialog& d) {
        auto& about = static_cast<TfrmAbout&>(d);
        comments = about.lblComments->text();
        name = about.lblProjectName->text();
        icon = !about.imgIcon->pixmap().isNull();
        QTest::mouseClick(about.lblCopyright, Qt::LeftButton);
    };
    ASSERT_TRUE(Choose(w->mnuGrpHelp, w->mnu.HelpAbout));
    ASSERT_EQ(dialogs.ExecutedDialogs.size(), 1u);
    EXPECT_EQ(dialogs.ExecutedDialogs[0], QStringLiteral("Velloria for windows"));
    EXPECT_EQ(name, QStringLiteral("Velloria for windows"));
    EXPECT_TRUE(icon);
    EXPECT_EQ(comments, QStringLiteral("文書管理ツール - Velloria\n異常を発見したときはメールしてください"));
    ASSERT_EQ(dialogs.Urls.size(), 1u);
    EXPECT_EQ(dialogs.Urls[0].scheme(), QStringLiteral("mailto"));
}

}  // namespace
