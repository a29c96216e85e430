#include "base/OpenFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "base/TestTempDir.h"

namespace {

TEST(OpenRegularFile, TellsMissingFoldersAndDevicesFromFiles) {
    TTempDir dir;
    WriteBytes(dir / "file", "bytes");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    std::error_code error;

    TFilePtr f = OpenRegularFile(dir / "file", error);
    ASSERT_TRUE(f);
    EXPECT_FALSE(error);
    char buffer[8] = {};
    EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, f.get()), 5u);

    EXPECT_FALSE(OpenRegularFile(dir / "missing", error));
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(OpenRegularFile(dir.Path(), error));
    EXPECT_EQ(error, std::errc::is_a_directory);
    EXPECT_FALSE(OpenRegularFile(dir / "fifo", error));  // returns at once although nobody writes
    EXPECT_EQ(error, TFileError::NotRegularFile);
    EXPECT_FALSE(OpenRegularFile("/dev/zero", error));
    EXPECT_EQ(error, TFileError::NotRegularFile);
    EXPECT_EQ(error.message(), "not a regular file (a device, a pipe or a socket)");
}

}  // namespace
