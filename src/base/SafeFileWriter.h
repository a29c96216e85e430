// Writes a file so that a crash or an error never leaves it half written: the data goes to a temporary
// file beside the target, which is flushed to the disk and then renamed over the target. Until Commit()
// succeeds the old file stays as it was; a writer destroyed without a successful Commit() removes its
// temporary file.
//
// - The temporary file has the target's permissions from its creation on (a new target: the default
//   permissions), so a private file is never readable by others while it is written.
// - A target that is a symbolic link is written through: the file at the end of the link chain is replaced
//   and the link stays.
// - A target whose permissions allow no writing is refused (RefusedReadOnly()) unless SetReplaceReadOnly
//   allows it, so that a caller can ask first.
// - Temporary files that an earlier save of the same target left behind (a crash, a kill) are removed
//   when the target is next saved; a temporary file that a running save still holds is left alone.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/OpenFile.h"

class TSafeFileWriter {
public:
    explicit TSafeFileWriter(std::filesystem::path target);
    ~TSafeFileWriter();
    TSafeFileWriter(const TSafeFileWriter&) = delete;
    TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;

    // Lets Open() replace a target whose permissions allow no writing (false by default).
    void SetReplaceReadOnly(bool value) { FReplaceReadOnly = value; }

    // Creates the temporary file. False on failure, with Error() telling why.
    bool Open();
    bool Write(std::string_view data);
    // Flushes, syncs and renames over the target.
    bool Commit();

    const std::string& Error() const { return FError; }
    // Open() failed because the target is read-only.
    bool RefusedReadOnly() const { return FRefusedReadOnly; }
    const std::filesystem::path& TempPath() const { return FTemp; }
    // The file that Commit() replaces: the target, or the end of its chain of symbolic links (after Open()).
    const std::filesystem::path& FinalPath() const { return FFinal; }

    // The part that follows the target's file name in our temporary files' names.
    static constexpr std::string_view kTempInfix = ".~tmp";

private:
    bool Fail(const char* what);
    bool Fail(const char* what, const std::error_code& error);
    void Discard();

    std::filesystem::path FTarget;
    std::filesystem::path FFinal;
    std::filesystem::path FTemp;
    std::FILE* FFile = nullptr;
    std::string FError;
    bool FCommitted = false;
    bool FReplaceReadOnly = false;
    bool FRefusedReadOnly = false;
};
