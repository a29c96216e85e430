// The crash-safe writer: permissions of the temporary file, leftovers of earlier saves, symbolic links and
// read-only targets.
#include "base/SafeFileWriter.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <set>

#include "support/TempDir.h"

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
    for (unsigned mode : {0600u, 0604u}) {
        const fs::path target = dir / ("private" + std::to_string(mode));
        WriteBytes(target, "secret");
        ASSERT_EQ(::chmod(target.c_str(), mode), 0);
        TSafeFileWriter writer(target);
        ASSERT_TRUE(writer.Open()) << writer.Error();
        EXPECT_EQ(ModeOf(writer.TempPath()), mode);
        ASSERT_TRUE(writer.Write("new") && writer.Commit()) << writer.Error();
        EXPECT_EQ(ModeOf(target), mode);
    }
    WriteBytes(dir / "reference", "");  // a new file gets what any new file gets here
    ASSERT_TRUE(Save(dir / "fresh", "x"));
    EXPECT_EQ(ModeOf(dir / "fresh"), ModeOf(dir / "reference"));
}

TEST_F(SafeFileWriterTest, LeftoversOfEarlierSavesGoOnTheNextSaveOfTheSameFile) {
    const std::set<std::string> strangers = {"list.vlt.~tmp", "list.vlt.~tmp12a", "list.vlt.~tmp1.bak",
                                             "other.vlt.~tmp7", "list.vlt.~tmp12345678901"};  // 11 digits
    for (const auto& name : strangers) WriteBytes(dir / name, "keep");
    WriteBytes(dir / "list.vlt.~tmp7", "crashed");
    WriteBytes(dir / "list.vlt.~tmp1234567890", "killed");

    TSafeFileWriter running(dir / "list.vlt");  // a save still under way keeps its temporary file
    ASSERT_TRUE(running.Open() && running.Write("running"));
    ASSERT_TRUE(Save(dir / "list.vlt", "new"));
    std::set<std::string> expected = strangers;
    expected.insert({"list.vlt", running.TempPath().filename().string()});
    EXPECT_EQ(Names(dir.Path()), expected);
    ASSERT_TRUE(running.Commit()) << running.Error();
    EXPECT_EQ(ReadBytes(dir / "list.vlt"), "running");
}

TEST_F(SafeFileWriterTest, SavingThroughASymbolicLinkReplacesItsTargetAndKeepsTheLink) {
    fs::create_directory(dir / "real");
    WriteBytes(dir / "real" / "list.vlt", "old");
    fs::create_symlink("real/list.vlt", dir / "link.vlt");  // relative to the link's folder
    fs::create_symlink(dir / "link.vlt", dir / "chain.vlt");
    fs::create_symlink("real/later.vlt", dir / "dangling.vlt");
    ASSERT_TRUE(Save(dir / "chain.vlt", "new"));
    ASSERT_TRUE(Save(dir / "dangling.vlt", "first"));
    EXPECT_EQ(ReadBytes(dir / "real" / "list.vlt"), "new");
    EXPECT_EQ(ReadBytes(dir / "real" / "later.vlt"), "first");
    for (const char* link : {"link.vlt", "chain.vlt", "dangling.vlt"})
        EXPECT_TRUE(fs::is_symlink(dir / link));
    EXPECT_EQ(Names(dir / "real"), (std::set<std::string>{"list.vlt", "later.vlt"}));
}

TEST_F(SafeFileWriterTest, ReadOnlyTargetIsRefusedUnlessTheCallerAllowsIt) {
    WriteBytes(dir / "ro.vlt", "old");
    ASSERT_EQ(::chmod((dir / "ro.vlt").c_str(), 0444), 0);
    TSafeFileWriter writer(dir / "ro.vlt");
    EXPECT_FALSE(writer.Open());
    EXPECT_TRUE(writer.RefusedReadOnly());
    EXPECT_NE(writer.Error().find("read-only"), std::string::npos) << writer.Error();
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"ro.vlt"}));

    writer.SetReplaceReadOnly(true);  // asked and allowed: replaced, and still read-only
    ASSERT_TRUE(writer.Open() && writer.Write("new") && writer.Commit()) << writer.Error();
    EXPECT_EQ(ReadBytes(dir / "ro.vlt"), "new");
    EXPECT_EQ(ModeOf(dir / "ro.vlt"), 0444u);
}

}  // namespace
