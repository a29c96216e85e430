// Import, export and drag and drop in the main window, driven offscreen: the file dialogs and questions are
// answered by the test, an outgoing drag is run by a hook of the test (the offscreen platform has no drag
// loop), drops arrive as QDropEvents on the tree.
#include <gtest/gtest.h>

#include <QDragEnterEvent>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QUrl>

#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "app/ListFile.h"
#include "app/gui/DocumentModel.h"
#include "app/gui/DocumentTreeView.h"
#include "app/gui/MainWindow.h"
#include "editor/widget/Editor.h"
#include "text/SjisCodec.h"

namespace {

namespace fs = std::filesystem;

QString Q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

std::string Sjis(const char* utf8) {
    return SjisCodec::FromUnicode(QString::fromUtf8(utf8));
}

std::string Record(const std::string& head, const std::string& text) {
    return "#[DAT:" + head + "]\r\n#[ADDR:http://]\r\n#[DATA:S]\r\n" + text + "\r\n#[DATA:E]\r\n#[END]\r\n";
}

// 資料 (group) { メモ, 予定 }, 雑記, 空 (empty group); texts as the records hold them.
const std::string kList = CrLf({"Velloria version 2.03", "#[FILETYPE:VL203]", "#[DOCCOUNT:5]"}) +
                          Record("0001:20010420:" + Sjis("資料"), "") +
                          Record("0100:20010421:" + Sjis("メモ"), "abc\r\n") +
                          Record("0103:20010422:" + Sjis("予定"), Sjis("一\r\n二\r\n")) +
                          Record("0000:20010423:" + Sjis("雑記"), "x\r\n") +
                          Record("0001:20010424:" + Sjis("空"), "");

const QString kAllFiles = QStringLiteral("すべてのﾌｧｲﾙ ( *.* )");
const QString kListFiles = QStringLiteral("ﾄﾞｷｭﾒﾝﾄﾌｧｲﾙ ( *.vlt )");

struct ImportExportTest : ::testing::Test {
    TTempDir dir;
    TScriptedDialogs dialogs;
    std::unique_ptr<TfrmMain> w;

    void SetUp() override { App(); }
    void TearDown() override {
        if (!w) return;
        if (w->Modified()) dialogs.Answers.push_back(QMessageBox::No);
        w->close();
        w.reset();
    }
    fs::path Write(const std::string& name, const std::string& bytes) {
        WriteBytes(dir / name, bytes);
        return dir / name;
    }
    TfrmMain& Start(const std::string& list = kList) {
        TfrmMainOptions options;
        options.IniFile = dir / "velloria.ini";
        options.Dialogs = &dialogs;
        if (!list.empty()) options.CommandLineFile = Q(Write("list.vlt", list));
        w = std::make_unique<TfrmMain>(options);
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        QApplication::processEvents();
        return *w;
    }
    TDocumentNode* Node(const char* utf8Name) {
        const std::string name = Sjis(utf8Name);
        TDocumentNode* found = nullptr;
        w->Tree().ForEachPreOrder(nullptr, [&](TDocumentNode* n, int) {
            if (!found && n->Record().Name == name) found = n;
        });
        return found;
    }
    // The tree as "name/depth" in pre-order, names in UTF-8.
    std::string Shape() {
        std::string out;
        w->Tree().ForEachPreOrder(nullptr, [&](TDocumentNode* n, int depth) {
            out += SjisCodec::ToUnicode(n->Record().Name).toStdString() + "/" + std::to_string(depth) + " ";
        });
        return out;
    }
    QWidget* Viewport() { return w->treDocument->viewport(); }
    QPoint At(TDocumentNode* node) { return w->treDocument->visualRect(w->Model().IndexOf(node)).center(); }
    void Import(const fs::path& file) {
        dialogs.OpenFiles.push_back(Q(file));
        w->mnu.FileImport->trigger();
    }
    void Expand(TDocumentNode* node) { w->treDocument->expand(w->Model().IndexOf(node)); }
    // A press on node and a move with the button held, dx pixels to the right.
    void PressAndMove(TDocumentNode* node, int dx) {
        const QPoint p = At(node);
        QTest::mousePress(Viewport(), Qt::LeftButton, {}, p);
        QMouseEvent move(QEvent::MouseMove, QPointF(p + QPoint(dx, 0)), QPointF(Viewport()->mapToGlobal(p)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &move);
    }
    // A drag that arrives over node and is dropped there; false when the tree refused it.
    bool DropOn(const QMimeData* data, TDocumentNode* node) {
        const QPoint p = node ? At(node) : QPoint(5, Viewport()->height() - 2);
        QDragEnterEvent enter(p, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &enter);
        QDragMoveEvent move(p, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &move);
        QDropEvent drop(QPointF(p), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &drop);
        QApplication::processEvents();  // dropped files are imported after the drop has returned
        return drop.isAccepted();
    }
};

// ---- Import -------------------------------------------------------------------------------------------------

TEST_F(ImportExportTest, ImportMergesListsAndTakesOtherFilesAsOneDocument) {
    Start();
    ASSERT_TRUE(w->mnu.FileImport->isEnabled());
    ASSERT_TRUE(w->SelectNode(Node("メモ")));
    const std::string other = CrLf({"Velloria version 2.03", "#[FILETYPE:VL203]", "#[DOCCOUNT:2]"}) +
                              Record("0001:20020101:" + Sjis("外"), "") + Record("0100:20020102:" + Sjis("内"), "");
    // A list imported while a document inside a group is selected lands at the end of that group.
    Import(Write("other.vlt", other));
    EXPECT_EQ(dialogs.Dialogs.back().Filter, kAllFiles);
    EXPECT_EQ(Shape(), "資料/0 メモ/1 予定/1 外/1 内/2 雑記/0 空/0 ");
    EXPECT_TRUE(w->Modified());
    EXPECT_EQ(Sjis("メモ"), w->SelectedNode()->Record().Name);

    // Upper case is not the list extension: the file is one plain document "無題", after the selection.
    Import(Write("UPPER.VLT", other));
    TDocumentNode* plain = w->SelectedNode();
    EXPECT_EQ(plain->Record().Name, Sjis("無題"));
    EXPECT_EQ(plain->Record().Text, other);
    EXPECT_EQ(plain->Record().Kind, dkDocument);
    EXPECT_EQ(plain->Record().Address, "http://");
    EXPECT_EQ(plain->Record().Date, QDate::currentDate().toString("yyyyMMdd").toStdString());
    EXPECT_EQ(w->txtDocument->Text(), other);

    // Folders and missing files are refused with a message; Cancel changes nothing.
    const std::string before = Shape();
    dialogs.Forget();
    Import(dir.Path());
    Import(dir / "gone.txt");
    dialogs.OpenFiles.push_back(QString());
    w->mnu.FileImport->trigger();
    EXPECT_EQ(Shape(), before);
    ASSERT_EQ(dialogs.Count(), 2);
    EXPECT_TRUE(dialogs.Shown[0].Text.contains(QStringLiteral("フォルダ"))) << dialogs.Shown[0].Text.toStdString();
    EXPECT_TRUE(dialogs.Shown[1].Text.contains(QStringLiteral("gone.txt")));

    // The open dialog has the list-file filter again.
    dialogs.OpenFiles.push_back(QString());
    w->mnu.FileOpen->trigger();
    EXPECT_EQ(dialogs.Dialogs.back().Filter, kListFiles);
}

TEST_F(ImportExportTest, ImportedTextIsShiftJisAndNothingIsLostSilently) {
    Start("");
    // UTF-8 without a mark, LF line ends.
    Import(Write("utf8.txt", "日本語\nｶﾅ〜"));
    EXPECT_EQ(w->SelectedNode()->Record().Text, Sjis("日本語\r\nｶﾅ～\r\n"));
    EXPECT_TRUE(w->txtDocument->isEnabled());
    // Shift-JIS stays byte for byte (the lines end with CR LF).
    const std::string sjis = Sjis("表示ソフト①\r\nｱｲｳ") + "\x87\x40\xED\x40";
    Import(Write("sjis.txt", sjis));
    EXPECT_EQ(w->SelectedNode()->Record().Text, sjis + "\r\n");
    // Bytes that are neither come in as they are (without NULs, which a list file cannot hold).
    Import(Write("bin.dat", std::string("\x01\xFF\x00\x81", 4)));
    EXPECT_EQ(w->SelectedNode()->Record().Text, std::string("\x01\xFF\x81\r\n"));

    // UTF-16 with characters Shift-JIS cannot hold: asked once, with the count, the first and its line.
    std::string utf16 = "\xFF\xFE";
    for (char16_t c : u"a\r\nb \xD55C\xD83D\xDE00") utf16 += std::string{char(c & 0xFF), char(c >> 8)};
    utf16.resize(utf16.size() - 2);  // the literal's terminating zero
    const fs::path lossy = Write("utf16.txt", utf16);
    const std::size_t count = w->Tree().Count();
    dialogs.Forget();
    dialogs.Answers.push_back(QMessageBox::Cancel);
    Import(lossy);
    EXPECT_EQ(w->Tree().Count(), count);
    ASSERT_EQ(dialogs.Count(), 1);
    const QString question = dialogs.Last();
    EXPECT_TRUE(question.contains(QStringLiteral("2 文字"))) << question.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("2 行目"))) << question.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("「한」"))) << question.toStdString();
    EXPECT_TRUE(question.endsWith(QStringLiteral("utf16.txt")));
    dialogs.Answers.push_back(QMessageBox::Ok);
    Import(lossy);
    EXPECT_EQ(w->SelectedNode()->Record().Text, "a\r\nb ??\r\n");

    // A text holding one of the list file's tags would break the list at the next save: it comes in as the
    // current document with the word selected (which keeps the user from leaving or saving it); a second
    // one while the first still has its word is refused.
    dialogs.Forget();
    Import(Write("tag.txt", "a\r\n#[END]\r\n"));
    EXPECT_EQ(w->Tree().Count(), count + 2);
    EXPECT_EQ(dialogs.Count(), 1);
    EXPECT_EQ(w->txtDocument->SelText(), "#[END]");
    Import(Write("tag2.txt", "#[DAT:"));
    EXPECT_EQ(w->Tree().Count(), count + 2);
    EXPECT_EQ(dialogs.Count(), 2);
    EXPECT_TRUE(dialogs.Last().endsWith(QStringLiteral("tag2.txt")));
}

// ---- Export -------------------------------------------------------------------------------------------------

TEST_F(ImportExportTest, ExportWritesGroupsAsListsAndDocumentsAsText) {
    Start();
    ASSERT_TRUE(w->SelectNode(Node("資料")));
    const std::string expected = TListFile(w->Tree(), *w).Serialize(Node("資料"));
    dialogs.SaveFiles.push_back(Q(dir / "group.vlt"));
    w->mnu.FileExport->trigger();
    EXPECT_EQ(dialogs.Dialogs.back().Filter, kListFiles);
    EXPECT_EQ(ReadBytes(dir / "group.vlt"), expected);
    EXPECT_FALSE(w->Modified());

    // An empty group writes no file.
    ASSERT_TRUE(w->SelectNode(Node("空")));
    dialogs.SaveFiles.push_back(Q(dir / "empty.vlt"));
    w->btn.Export->trigger();
    EXPECT_FALSE(fs::exists(dir / "empty.vlt"));

    // A document: exactly the editor's text, in Shift-JIS, under the "*.*" filter with the default suffix.
    ASSERT_TRUE(w->SelectNode(Node("予定")));
    w->txtDocument->SetSelStart(0);
    w->txtDocument->SetSelText(Sjis("改"));
    dialogs.SaveFiles.push_back(Q(dir / "doc.txt"));
    w->mnu.FileExport->trigger();
    EXPECT_EQ(dialogs.Dialogs.back().Filter, kAllFiles);
    EXPECT_EQ(dialogs.Dialogs.back().DefaultSuffix, "vlt");
    EXPECT_EQ(ReadBytes(dir / "doc.txt"), Sjis("改一\r\n二\r\n"));
    EXPECT_TRUE(w->Modified());  // from the typing; the export leaves it
    // An empty editor writes an empty file.
    w->txtDocument->SelectAll();
    w->txtDocument->SetSelText("");
    dialogs.SaveFiles.push_back(Q(dir / "nothing.txt"));
    w->mnu.FileExport->trigger();
    EXPECT_TRUE(fs::exists(dir / "nothing.txt"));
    EXPECT_EQ(ReadBytes(dir / "nothing.txt"), "");
    // The save dialog has the list filter again.
    dialogs.SaveFiles.push_back(QString());
    w->mnu.FileSaveAs->trigger();
    EXPECT_EQ(dialogs.Dialogs.back().Filter, QStringLiteral("ﾄﾞｷｭﾒﾝﾄﾘｽﾄ ( *.vlt )"));

    // The exported group imported into an empty list gives the same records, byte for byte.
    dialogs.Answers.push_back(QMessageBox::No);
    w->close();
    w.reset();
    Start("");
    Import(dir / "group.vlt");
    EXPECT_EQ(TListFile(w->Tree(), *w).Serialize(), expected);
    EXPECT_EQ(Shape(), "メモ/0 予定/0 ");
    EXPECT_EQ(w->SelectedNode(), Node("メモ"));
}

// ---- Drag and drop ------------------------------------------------------------------------------------------

TEST_F(ImportExportTest, ADragOutWritesItsFileInAPrivateFolderOnlyWhenDropped) {
    Start();
    QApplication::setStartDragDistance(1);  // the 2-pixel rule decides
    TDocumentNode* memo = Node("メモ");
    TDocumentNode* group = Node("資料");
    int drags = 0;
    bool wroteBeforeDrop = true;
    std::string written;
    w->ExecDrag = [&](QDrag& drag) {
        ++drags;
        EXPECT_TRUE(w->Dragging());
        wroteBeforeDrop = fs::exists(w->DragFileName().toStdString());
        const QList<QUrl> urls = drag.mimeData()->urls();  // the receiver asks for the data: the drop
        EXPECT_EQ(urls, QList<QUrl>{QUrl::fromLocalFile(w->DragFileName())});
        written = ReadBytes(w->DragFileName().toStdString());
        return Qt::MoveAction;
    };
    Expand(group);
    PressAndMove(memo, 2);
    EXPECT_EQ(drags, 0);
    PressAndMove(memo, 3);
    ASSERT_EQ(drags, 1);
    EXPECT_FALSE(w->Dragging());
    EXPECT_FALSE(wroteBeforeDrop);
    EXPECT_EQ(written, "abc\r\n");
    EXPECT_TRUE(w->DragFileName().endsWith(QStringLiteral("/DragDrop.txt")));
    const fs::path folder = w->DragFolderPath().toStdString();
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_NE(folder.parent_path(), fs::temp_directory_path());

    // A group: the list of its descendants; the list's modified state stays as it was.
    PressAndMove(group, 3);
    EXPECT_EQ(drags, 2);
    EXPECT_TRUE(w->DragFileName().endsWith(QStringLiteral("/DragDrop.vlt")));
    EXPECT_EQ(written, TListFile(w->Tree(), *w).Serialize(group));
    EXPECT_FALSE(w->Modified());
    EXPECT_EQ(Shape(), "資料/0 メモ/1 予定/1 雑記/0 空/0 ");

    // Cancelled (Escape): the data is never asked for, and nothing is written.
    fs::remove(folder / "DragDrop.txt");
    fs::remove(folder / "DragDrop.vlt");
    w->ExecDrag = [&](QDrag&) { return Qt::IgnoreAction; };
    PressAndMove(Node("雑記"), 3);
    EXPECT_FALSE(fs::exists(w->DragFileName().toStdString()));
    EXPECT_FALSE(fs::exists(folder / "DragDrop.vlt"));

    // The folder goes with the program.
    w->close();
    w.reset();
    EXPECT_FALSE(fs::exists(folder));
    QApplication::setStartDragDistance(10);
}

TEST_F(ImportExportTest, ADragDroppedOnTheTreeMovesTheNode) {
    Start();
    QApplication::setStartDragDistance(1);
    TDocumentNode* target = nullptr;
    w->ExecDrag = [&](QDrag& drag) {
        EXPECT_TRUE(DropOn(drag.mimeData(), target));
        return Qt::MoveAction;
    };
    // Onto a collapsed group: before it.
    target = Node("資料");
    PressAndMove(Node("雑記"), 3);
    EXPECT_EQ(Shape(), "雑記/0 資料/0 メモ/1 予定/1 空/0 ");
    EXPECT_TRUE(w->Modified());
    // Onto an expanded group: its first child.
    Expand(Node("資料"));
    target = Node("資料");
    PressAndMove(Node("雑記"), 3);
    EXPECT_EQ(Shape(), "資料/0 雑記/1 メモ/1 予定/1 空/0 ");
    // A group onto its own descendant, or a node onto itself: nothing moves.
    target = Node("予定");
    PressAndMove(Node("資料"), 3);
    target = Node("空");
    PressAndMove(Node("空"), 3);
    EXPECT_EQ(Shape(), "資料/0 雑記/1 メモ/1 予定/1 空/0 ");
    // A move within the tree writes no drag file.
    EXPECT_FALSE(fs::exists(w->DragFileName().toStdString()));

    // Dragging over a closed group opens it after a pause.
    w->ExecDrag = [&](QDrag& drag) {
        TDocumentNode* group = Node("資料");
        w->treDocument->collapse(w->Model().IndexOf(group));
        QDragEnterEvent enter(At(group), Qt::MoveAction, drag.mimeData(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &enter);
        EXPECT_EQ(w->SelectedNode(), group);  // the selection follows the pointer
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->treDocument->isExpanded(w->Model().IndexOf(group)); }, 3000));
        QDragLeaveEvent leave;
        QApplication::sendEvent(Viewport(), &leave);
        return Qt::IgnoreAction;
    };
    PressAndMove(Node("空"), 3);
    QApplication::setStartDragDistance(10);
}

TEST_F(ImportExportTest, DroppedFilesAreImportedInTheirOrder) {
    Start();
    ASSERT_TRUE(w->SelectNode(Node("雑記")));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Q(Write("c.txt", "3"))), QUrl::fromLocalFile(Q(Write("a.txt", "1"))),
                  QUrl::fromLocalFile(Q(Write("b.TXT", Sjis("二")))),
                  QUrl::fromLocalFile(Q(Write("more.vlt", CrLf({"Velloria version 2.03", "#[FILETYPE:VL203]",
                                                                "#[DOCCOUNT:1]"}) +
                                                             Record("0000:20030303:" + Sjis("併合"), ""))))});
    EXPECT_TRUE(DropOn(&data, Node("雑記")));
    EXPECT_EQ(Shape(), "資料/0 メモ/1 予定/1 雑記/0 空/0 c.txt/0 a.txt/0 b.TXT/0 併合/0 ");
    EXPECT_EQ(Node("b.TXT")->Record().Text, Sjis("二\r\n"));
    EXPECT_TRUE(w->Modified());
    // Something that is not a file is refused.
    QMimeData text;
    text.setText(QStringLiteral("plain"));
    EXPECT_FALSE(DropOn(&text, Node("雑記")));
}

}  // namespace
