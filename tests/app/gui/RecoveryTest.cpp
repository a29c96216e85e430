// Crash recovery and backups as the main window uses them: snapshots while the list is modified, the
// offer to restore at start-up and Open, the backup before a save, an unwritable data folder, the
// settings that switch both off. Every test has a data folder of its own (XDG_DATA_HOME).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTest>

#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "app/Backups.h"
#include "app/ListFile.h"
#include "app/gui/MainWindow.h"
#include "app/gui/RecoveryManager.h"
#include "editor/widget/Editor.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

QString Q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

std::string Record(const std::string& name, const std::string& text) {
    return "#[DAT:0000:20260101:" + name + "]\r\n#[ADDR:http://]\r\n#[DATA:S]\r\n" + text +
           "\r\n#[DATA:E]\r\n#[END]\r\n";
}

const std::string kList = CrLf({"Velloria version 2.03", "#[FILETYPE:VL203]", "#[DOCCOUNT:2]"}) +
                          Record("one", "first\r\n") + Record("two", "second\r\n");
const std::string kRecovered = CrLf({"Velloria version 2.03", "#[FILETYPE:VL203]", "#[DOCCOUNT:2]"}) +
                               Record("one", "first, and more typed\r\n") + Record("two", "second\r\n");

// The first document's text in a list file (empty when it cannot be read whole).
std::string FirstText(const fs::path& file) {
    TDocumentTree tree;
    TListFileHost host;
    TListFile list(tree, host);
    const TListReadResult result = list.ReadListFile(file);
    if (!result.Succeeded() || result.Damaged() || !tree.First()) return {};
    return tree.First()->Record().Text;
}

std::vector<fs::path> Files(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        files.push_back(it->path());
    return files;
}

struct RecoveryTest : ::testing::Test {
    TTempDir dir;
    TTempDir data{"vel_data_"};
    TScriptedDialogs dialogs;
    std::unique_ptr<TfrmMain> w;
    fs::path list = dir / "notes.vlt";

    void SetUp() override {
        App();
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data.Path().string()));
        WriteBytes(list, kList);
    }
    void TearDown() override {
        if (w) w->close();
        w.reset();
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(TestDataHome().string()));
    }
    TfrmMain& Start(const QString& commandLine) {
        TfrmMainOptions options;
        options.IniFile = dir / "velloria.ini";
        options.Dialogs = &dialogs;
        options.CommandLineFile = commandLine;
        w = std::make_unique<TfrmMain>(options);
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        QApplication::processEvents();  // the command line (and the offer to recover) after the first painting
        return *w;
    }
    void Type(const std::string& bytes) {
        w->txtDocument->SetSelStart(5);
        w->txtDocument->SetSelText(bytes);
    }
    // The recovery file of `list` in this test's data folder, written by a run that was killed.
    fs::path LeftRecovery(const std::string& bytes, bool newerThanList) {
        const fs::path data = data_home() / "test_appgui";
        const fs::path file = backups::RecoveryFileName(data, list);
        EXPECT_TRUE(backups::WriteRecoveryFile(file, bytes).Ok());
        fs::last_write_time(file, fs::last_write_time(list) + (newerThanList ? 1s : -1s));
        return file;
    }
    fs::path data_home() const { return data.Path(); }
    void Settle() {
        w->Recovery().WaitIdle();
        QApplication::processEvents();  // failures are reported on the window's thread
    }
};

}  // namespace

TEST_F(RecoveryTest, ModifiedListIsSnapshotAfterAPauseWithoutTouchingItsStateAndTheSaveKeepsABackup) {
    Start(Q(list));
    w->Recovery().SetDelays(50ms, 200ms);
    const fs::path recovery = w->RecoveryFileFor(Q(list));
    EXPECT_EQ(recovery.parent_path().parent_path(), w->DataDirectory());
    Type(", and more typed");
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->Recovery().Written() > 0; }, 5000));
    Settle();
    EXPECT_EQ(FirstText(recovery), "first, and more typed\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(recovery.parent_path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // The snapshot took the editor's text without saving anything: still modified, still undoable.
    EXPECT_TRUE(w->Modified());
    EXPECT_TRUE(w->txtDocument->CanUndo());
    EXPECT_EQ(ReadBytes(list), kList);

    w->onClick_DocumentSave();
    Settle();
    EXPECT_FALSE(fs::exists(recovery));
    EXPECT_EQ(FirstText(list), "first, and more typed\r\n");
    const std::vector<fs::path> kept = Files(w->DataDirectory() / "backups");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(ReadBytes(kept[0]), kList);
    EXPECT_EQ(dialogs.Count(), 0);
}

TEST_F(RecoveryTest, TheOfferToRestoreHasThreeAnswers) {
    // Restore: the recovered list under the list's own name, modified; the file on disk stays until a save.
    {
        const fs::path recovery = LeftRecovery(kRecovered, true);
        dialogs.Choices = {0};
        Start(Q(list));
        EXPECT_EQ(dialogs.ChoiceButtons,
                  (QStringList{QStringLiteral("復元する"), QStringLiteral("破棄する"), QStringLiteral("後で決める")}));
        EXPECT_TRUE(dialogs.Last().contains(Q(list)));
        EXPECT_EQ(w->txtDocument->Text(), "first, and more typed\r\n");
        EXPECT_EQ(w->FileName(), Q(list));
        EXPECT_TRUE(w->Modified());
        EXPECT_EQ(ReadBytes(list), kList);
        w->onClick_DocumentSave();  // no question about a file changed on disk: it was not
        w->Recovery().WaitIdle();
        EXPECT_EQ(dialogs.Count(), 1);
        EXPECT_EQ(FirstText(list), "first, and more typed\r\n");
        EXPECT_FALSE(fs::exists(recovery));
        w->close();
        w.reset();
    }
    WriteBytes(list, kList);
    // Discard: the list as on disk, and the recovery file is gone.
    {
        const fs::path recovery = LeftRecovery(kRecovered, true);
        dialogs.Choices = {1};
        Start(Q(list));
        w->Recovery().WaitIdle();
        EXPECT_FALSE(fs::exists(recovery));
        EXPECT_EQ(w->txtDocument->Text(), "first\r\n");
        EXPECT_FALSE(w->Modified());
        w->close();
        w.reset();
    }
    // Later: the list as on disk, and the recovery file stays exactly as it was, also when the list is
    // edited, snapshot and its changes discarded; the next start asks again.
    {
        const fs::path recovery = LeftRecovery(kRecovered, true);
        dialogs.Choices = {2};
        Start(Q(list));
        EXPECT_EQ(w->txtDocument->Text(), "first\r\n");
        EXPECT_FALSE(w->Modified());
        Type(" edited");
        w->Recovery().SnapshotNow();
        dialogs.Answers = {QMessageBox::No};
        w->close();
        w->Recovery().WaitIdle();
        w.reset();
        EXPECT_EQ(ReadBytes(recovery), kRecovered);
        dialogs.Choices = {2};
        Start(Q(list));
        EXPECT_TRUE(dialogs.Choices.empty());
    }
}

TEST_F(RecoveryTest, ARecoveryFileOlderThanItsListIsNotOffered) {
    const fs::path recovery = LeftRecovery(kRecovered, false);
    Start(Q(list));  // any question fails the test
    EXPECT_EQ(dialogs.Count(), 0);
    EXPECT_EQ(w->txtDocument->Text(), "first\r\n");
    EXPECT_TRUE(fs::exists(recovery));
}

TEST_F(RecoveryTest, UntitledWorkIsOfferedAtStartAndADamagedFileIsReportedAndKept) {
    const fs::path data = data_home() / "test_appgui";
    const fs::path untitled = backups::RecoveryFileName(data, {});
    ASSERT_TRUE(backups::WriteRecoveryFile(untitled, kRecovered).Ok());
    dialogs.Choices = {0};
    Start({});
    EXPECT_EQ(w->txtDocument->Text(), "first, and more typed\r\n");
    EXPECT_TRUE(w->FileName().isEmpty());
    EXPECT_TRUE(w->Modified());
    dialogs.Answers = {QMessageBox::No};
    w->close();
    w->Recovery().WaitIdle();
    w.reset();
    EXPECT_FALSE(fs::exists(untitled));  // the user closed without saving and confirmed

    // A file cut short by something other than our writer: what is intact comes back, the damage is
    // reported as for any list, and the file is kept until the user decides.
    const std::string damaged = kRecovered.substr(0, kRecovered.size() - 30);
    ASSERT_TRUE(backups::WriteRecoveryFile(untitled, damaged).Ok());
    dialogs.Forget();
    dialogs.Choices = {0};
    Start({});
    ASSERT_EQ(dialogs.Count(), 2);
    EXPECT_TRUE(dialogs.Last().contains(Q(untitled))) << dialogs.Last().toStdString();
    EXPECT_EQ(w->txtDocument->Text(), "first, and more typed\r\n");
    EXPECT_EQ(ReadBytes(untitled), damaged);
    dialogs.Answers = {QMessageBox::No};
}

TEST_F(RecoveryTest, AnUnwritableDataFolderWarnsOnceAndNeverStopsASave) {
    // A file where the data folder would be: no folder can be made there, not even by root.
    WriteBytes(data_home() / "test_appgui", "in the way");
    Start(Q(list));
    Type(", and more typed");
    w->Recovery().SnapshotNow();
    Settle();
    EXPECT_EQ(dialogs.Count(), 1);
    EXPECT_EQ(dialogs.Shown[0].Icon, QMessageBox::Warning);
    w->onClick_DocumentSave();
    Settle();
    EXPECT_EQ(FirstText(list), "first, and more typed\r\n");
    EXPECT_FALSE(w->Modified());
    Type("!");
    w->Recovery().SnapshotNow();
    w->onClick_DocumentSave();
    Settle();
    EXPECT_EQ(FirstText(list), "first!, and more typed\r\n");
    EXPECT_EQ(dialogs.Count(), 1);
}

TEST_F(RecoveryTest, TheApplicationSettingsSwitchBothOff) {
    WriteBytes(dir / "velloria.ini", CrLf({"[Application]", "Exists=false", "Recovery=false", "Backups=false"}));
    Start(Q(list));
    EXPECT_FALSE(w->Recovery().Enabled());
    EXPECT_FALSE(w->BackupsEnabled());
    Type(", and more typed");
    w->Recovery().SnapshotNow();
    w->onClick_DocumentSave();
    Settle();
    EXPECT_TRUE(Files(w->DataDirectory()).empty());
    EXPECT_EQ(FirstText(list), "first, and more typed\r\n");
}
