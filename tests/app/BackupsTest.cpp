// Rotated backups and recovery file names: what is kept before a save, how many, within which size, and
// which recovery file is newer than its list.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>

#include "TestSupport.h"
#include "app/Backups.h"
#include "base/SafeFileWriter.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> BackupContents(const fs::path& data) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(data / "backups")) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    std::vector<std::string> contents;
    for (const auto& f : files) contents.push_back(ReadBytes(f));
    return contents;
}

// Saves version `text` over list the way the window does: a backup first, the crash-safe write, the pruning.
void Save(const fs::path& data, const fs::path& list, const std::string& text,
          const backups::TBackupLimits& limits = {}) {
    const backups::TBackupResult kept = backups::KeepBackup(data, list);
    ASSERT_TRUE(kept.Ok()) << kept.Error;
    TSafeFileWriter writer(list);
    ASSERT_TRUE(writer.Open() && writer.Write(text) && writer.Commit()) << writer.Error();
    backups::PruneBackups(data, limits);
}

}  // namespace

TEST(Backups, EachListKeepsItsLastFiveVersionsAsLinksThatSurviveTheSave) {
    TTempDir dir;
    const fs::path data = dir / "data";
    const fs::path a = dir / "a.vlt", b = dir / "sub" / "a.vlt";  // same name, another list
    fs::create_directory(dir / "sub");

    Save(data, a, "a0");  // nothing to keep yet
    EXPECT_FALSE(fs::exists(data / "backups"));
    const backups::TBackupResult first = backups::KeepBackup(data, a);
    ASSERT_TRUE(first.Ok());
    EXPECT_TRUE(first.Linked);  // same file system: no copy
    EXPECT_EQ(fs::hard_link_count(a), 2u);
    TSafeFileWriter writer(a);
    ASSERT_TRUE(writer.Open() && writer.Write("a1") && writer.Commit());
    EXPECT_EQ(ReadBytes(first.Backup), "a0");  // the save replaced the file, the link kept the old one

    for (int i = 2; i <= 8; ++i) Save(data, a, "a" + std::to_string(i));
    Save(data, b, "b0");
    Save(data, b, "b1");
    const auto contents = BackupContents(data);
    // Oldest first across both lists: a's versions 3 to 7 (the five before its present 8), b's version 0.
    EXPECT_EQ(contents, (std::vector<std::string>{"a3", "a4", "a5", "a6", "a7", "b0"}));
    struct stat st {};
    ASSERT_EQ(::stat((data / "backups").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(Backups, TheSizeLimitRemovesTheOldestOfAllListsFirst) {
    TTempDir dir;
    const fs::path data = dir / "data";
    const backups::TBackupLimits limits{.VersionsPerList = 5, .TotalBytes = 2500};
    const std::string k(1000, 'x');
    Save(data, dir / "a.vlt", k + "a0", limits);
    Save(data, dir / "b.vlt", k + "b0", limits);
    Save(data, dir / "a.vlt", k + "a1", limits);  // keeps a0
    Save(data, dir / "b.vlt", k + "b1", limits);  // keeps b0
    Save(data, dir / "a.vlt", k + "a2", limits);  // keeps a1: three backups of 1002 bytes are too many
    EXPECT_EQ(BackupContents(data), (std::vector<std::string>{k + "b0", k + "a1"}));
    // Files that are not ours are never counted or removed.
    WriteBytes(data / "backups" / "notes.txt", std::string(5000, 'n'));
    Save(data, dir / "b.vlt", k + "b2", limits);
    EXPECT_TRUE(fs::exists(data / "backups" / "notes.txt"));
    EXPECT_EQ(fs::file_size(data / "backups" / "notes.txt"), 5000u);
}

TEST(Backups, RecoveryFilesAreNamedByTheWholePathAndOfferedOnlyWhenNewerThanTheList) {
    TTempDir dir;
    const fs::path data = dir / "data";
    const fs::path a = dir / "a.vlt", b = dir / "sub" / "a.vlt";
    EXPECT_NE(backups::RecoveryFileName(data, a), backups::RecoveryFileName(data, b));
    EXPECT_EQ(backups::RecoveryFileName(data, a), backups::RecoveryFileName(data, dir / "sub" / ".." / "a.vlt"));
    EXPECT_EQ(backups::RecoveryFileName(data, {}), data / "recovery" / "untitled.vlt");

    const fs::path recovery = backups::RecoveryFileName(data, a);
    EXPECT_FALSE(backups::RecoveryIsNewer(recovery, a));  // none
    ASSERT_TRUE(backups::WriteRecoveryFile(recovery, "snapshot").Ok());
    EXPECT_TRUE(backups::RecoveryIsNewer(recovery, a));  // the list is gone (or was never saved)
    WriteBytes(a, "list");
    const auto listTime = fs::last_write_time(a);
    fs::last_write_time(recovery, listTime - std::chrono::seconds(5));
    EXPECT_FALSE(backups::RecoveryIsNewer(recovery, a));
    fs::last_write_time(recovery, listTime + std::chrono::seconds(5));
    EXPECT_TRUE(backups::RecoveryIsNewer(recovery, a));
    EXPECT_TRUE(backups::RemoveRecoveryFile(recovery).Ok());
    EXPECT_TRUE(backups::RemoveRecoveryFile(recovery).Ok());  // already gone: no error
}
