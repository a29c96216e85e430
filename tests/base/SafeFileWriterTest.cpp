// The crash-safe writer: permissions of the temporary file, leftovers of earlier saves, symbolic links and
// read-only targets.
#include "base/SafeFileWriter.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <set>

#include "base/TestTempDir.h"

namespace fs = std::filesystem;

namespace {

unsigned ModeOf(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
    return st.st_mode & 0777;
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

bool Save(const fs::path& target, const std::string& bytes) {
    TSafeFileWriter writer(target);
    return writer.Open() && writer.Write(bytes) && writer.Commit();
}

struct SafeFileWriterTest : ::testing::Test {
    TTempDir dir;
};

TEST_F(SafeFileWriterTest, TemporaryFileHasTheFinalPermissionsBeforeAnyByteIsWritten) {
    for (unsigned mode : {0600u, 0640u, 0604u}) {
        const fs::path target = dir / ("private" + std::to_string(mode));
        WriteBytes(target, "secret");
        ASSERT_EQ(::chmod(target.c_str(), mode), 0);
        TSafeFileWriter writer(target);
        ASSERT_TRUE(writer.Open()) << writer.Error();
        EXPECT_EQ(ModeOf(writer.TempPath()), mode);
        ASSERT_TRUE(writer.Write("new") && writer.Commit()) << writer.Error();
        EXPECT_EQ(ModeOf(target), mode);
        EXPECT_EQ(ReadBytes(target), "new");
    }
    // A new file gets the permissions any new file gets here.
    WriteBytes(dir / "reference", "");
    ASSERT_TRUE(Save(dir / "fresh", "x"));
    EXPECT_EQ(ModeOf(dir / "fresh"), ModeOf(dir / "reference"));
}

TEST_F(SafeFileWriterTest, LeftoversOfEarlierSavesGoOnTheNextSaveOfTheSameFile) {
    const std::set<std::string> strangers = {
        "list.vlt.~tmp",   "list.vlt.~tmp12a",        "list.vlt.~tmp1.bak", "list.vlt~tmp1",
        "other.vlt.~tmp7", "list.vlt.~tmp12345678901"};  // not our names (the last has 11 digits)
    for (const auto& name : strangers) WriteBytes(dir / name, "keep");
    WriteBytes(dir / "list.vlt.~tmp7", "crashed");
    WriteBytes(dir / "list.vlt.~tmp1234567890", "killed");
    WriteBytes(dir / "list.vlt", "old");

    // A save that is still running keeps its temporary file.
    TSafeFileWriter running(dir / "list.vlt");
    ASSERT_TRUE(running.Open());
    ASSERT_TRUE(running.Write("running"));
    const std::string runningTemp = running.TempPath().filename().string();

    ASSERT_TRUE(Save(dir / "list.vlt", "new"));
    std::set<std::string> expected = strangers;
    expected.insert({"list.vlt", runningTemp});
    EXPECT_EQ(Names(dir.Path()), expected);

    ASSERT_TRUE(running.Commit()) << running.Error();
    EXPECT_EQ(ReadBytes(dir / "list.vlt"), "running");
}

TEST_F(SafeFileWriterTest, SavingThroughASymbolicLinkReplacesItsTargetAndKeepsTheLink) {
    fs::create_directory(dir / "real");
    WriteBytes(dir / "real" / "list.vlt", "old");
    ::chmod((dir / "real" / "list.vlt").c_str(), 0600);
    fs::create_symlink("real/list.vlt", dir / "link.vlt");  // relative to the link's folder
    fs::create_symlink(dir / "link.vlt", dir / "chain.vlt");
    ASSERT_TRUE(Save(dir / "chain.vlt", "new"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.vlt"));
    EXPECT_TRUE(fs::is_symlink(dir / "chain.vlt"));
    EXPECT_EQ(ReadBytes(dir / "real" / "list.vlt"), "new");
    EXPECT_EQ(ModeOf(dir / "real" / "list.vlt"), 0600u);
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"real", "link.vlt", "chain.vlt"}));
    EXPECT_EQ(Names(dir / "real"), (std::set<std::string>{"list.vlt"}));

    // A link to a file that does not exist yet creates that file.
    fs::create_symlink("real/later.vlt", dir / "dangling.vlt");
    ASSERT_TRUE(Save(dir / "dangling.vlt", "first"));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.vlt"));
    EXPECT_EQ(ReadBytes(dir / "real" / "later.vlt"), "first");

    fs::create_symlink("loop2", dir / "loop1");
    fs::create_symlink("loop1", dir / "loop2");
    EXPECT_FALSE(Save(dir / "loop1", "x"));
}

TEST_F(SafeFileWriterTest, ReadOnlyTargetIsRefusedUnlessTheCallerAllowsIt) {
    WriteBytes(dir / "ro.vlt", "old");
    ASSERT_EQ(::chmod((dir / "ro.vlt").c_str(), 0444), 0);
    {
        TSafeFileWriter writer(dir / "ro.vlt");
        EXPECT_FALSE(writer.Open());
        EXPECT_TRUE(writer.RefusedReadOnly());
        EXPECT_NE(writer.Error().find("read-only"), std::string::npos) << writer.Error();
    }
    EXPECT_EQ(ReadBytes(dir / "ro.vlt"), "old");
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"ro.vlt"}));

    // Asked and allowed: replaced, and still read-only.
    TSafeFileWriter writer(dir / "ro.vlt");
    writer.SetReplaceReadOnly(true);
    ASSERT_TRUE(writer.Open() && writer.Write("new") && writer.Commit()) << writer.Error();
    EXPECT_FALSE(writer.RefusedReadOnly());
    EXPECT_EQ(ReadBytes(dir / "ro.vlt"), "new");
    EXPECT_EQ(ModeOf(dir / "ro.vlt"), 0444u);
}

}  // namespace
