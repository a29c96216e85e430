// The small string list's files: loading and saving by path, what a failed save leaves, and what it
// refuses to read.
#include "base/Strings.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

#include "base/TestTempDir.h"

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

struct StringsTest : ::testing::Test {
    TTempDir dir;

    // Entries of the folder other than the given ones.
    std::vector<std::string> Others(std::initializer_list<std::string> known) const {
        std::vector<std::string> others;
        for (const auto& e : fs::directory_iterator(dir.Path())) {
            std::string name = e.path().filename().string();
            if (std::find(known.begin(), known.end(), name) == known.end()) others.push_back(name);
        }
        return others;
    }
};

TEST_F(StringsTest, SaveAndLoadByPath) {
    TStringList list({"a", "\x88\xEA"});
    const fs::path path = dir.Path() / fs::path(u8"\u4E00\u89A7.txt");  // a name that is not ASCII
    list.SaveToFile(path);
    EXPECT_EQ(ReadBytes(path), "a\r\n\x88\xEA\r\n");
    TStringList back;
    back.LoadFromFile(path);
    EXPECT_EQ(back.Lines(), (Lines{"a", "\x88\xEA"}));
    EXPECT_EQ(back.GetTextStr(), "a\r\n\x88\xEA\r\n");
}

TEST_F(StringsTest, FailedSaveLeavesNoTemporaryFileAndNamesTheTarget) {
    TStringList list({"a"});
    // The temporary file cannot be made: no such folder.
    const fs::path nowhere = dir / "no_such_dir" / "out.txt";
    try {
        list.SaveToFile(nowhere);
        ADD_FAILURE() << "no error";
    } catch (const std::system_error& e) {
        EXPECT_NE(std::string(e.what()).find(nowhere.string()), std::string::npos) << e.what();
    }
    // The temporary file is made but cannot replace the target, a folder: it goes again.
    fs::create_directory(dir / "folder.txt");
    EXPECT_THROW(list.SaveToFile(dir / "folder.txt"), std::system_error);
    EXPECT_EQ(Others({"folder.txt"}), Lines{});
    // A read-only file is refused and stays as it was.
    WriteBytes(dir / "ro.txt", "old");
    ::chmod((dir / "ro.txt").c_str(), 0444);
    EXPECT_THROW(list.SaveToFile(dir / "ro.txt"), std::system_error);
    EXPECT_EQ(ReadBytes(dir / "ro.txt"), "old");
    EXPECT_EQ(Others({"folder.txt", "ro.txt"}), Lines{});
}

TEST_F(StringsTest, LoadRefusesWhatIsNotARegularFile) {
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);  // no writer: opening it would wait for one
    for (const fs::path& path : {dir / "fifo", fs::path("/dev/zero"), dir.Path()}) {
        TStringList list({"keep"});
        try {
            list.LoadFromFile(path);
            ADD_FAILURE() << path << " was read";
        } catch (const std::system_error& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find(path.string()), std::string::npos) << what;
            EXPECT_TRUE(what.find("not a regular file") != std::string::npos ||
                        what.find("directory") != std::string::npos)
                << what;
        }
    }
    EXPECT_THROW(strings::ReadFile(dir / "missing"), std::system_error);
}

}  // namespace
