// Writes a file so that a crash or an error never leaves it half written: the data goes to a temporary
// file beside the target, which is flushed to the disk and then renamed over the target. Until Commit()
// succeeds the old file stays as it was; a writer destroyed without a successful Commit() removes its
// temporary file.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

// std::fopen for a path (wide file names on Windows).
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

class TSafeFileWriter {
public:
    explicit TSafeFileWriter(std::filesystem::path target);
    ~TSafeFileWriter();
    TSafeFileWriter(const TSafeFileWriter&) = delete;
    TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;

    // Creates the temporary file. False on failure, with Error() telling why.
    bool Open();
    bool Write(std::string_view data);
    // Flushes, syncs, closes and renames over the target (keeping the target's permissions).
    bool Commit();

    const std::string& Error() const { return FError; }
    const std::filesystem::path& TempPath() const { return FTemp; }

private:
    bool Fail(const char* what);
    void Discard();

    std::filesystem::path FTarget;
    std::filesystem::path FTemp;
    std::FILE* FFile = nullptr;
    std::string FError;
    bool FCommitted = false;
};
