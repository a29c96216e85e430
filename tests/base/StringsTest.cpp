// The small string list's files: what a save leaves behind.
#include "base/Strings.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

TEST(Strings, SaveLeavesTheWholeTextOrNothingAndNamesTheTarget) {
    TTempDir dir;
    TStringList list({"a", "\x88\xEA"});
    list.SaveToFile(dir / "saved.txt");
    TStringList back;
    back.LoadFromFile(dir / "saved.txt");
    EXPECT_EQ(back.GetTextStr(), "a\r\n\x88\xEA\r\n");
    EXPECT_THROW(back.LoadFromFile("/dev/zero"), std::system_error);  // would never end

    // No folder for the temporary file; a folder as the target; a read-only target.
    fs::create_directory(dir / "folder.txt");
    WriteBytes(dir / "ro.txt", "old");
    fs::permissions(dir / "ro.txt", fs::perms::owner_read);
    for (const fs::path& target : {dir / "no_such_dir" / "out.txt", dir / "folder.txt", dir / "ro.txt"}) {
        try {
            list.SaveToFile(target);
            ADD_FAILURE() << target << " was written";
        } catch (const std::system_error& e) {
            EXPECT_NE(std::string(e.what()).find(target.string()), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(ReadBytes(dir / "ro.txt"), "old");
    std::vector<std::string> names;  // no temporary file is left
    for (const auto& e : fs::directory_iterator(dir.Path())) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"folder.txt", "ro.txt", "saved.txt"}));
}

}  // namespace
