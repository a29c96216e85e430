// Opening files by path: std::fopen for a std::filesystem::path (wide names on Windows), an owning FILE
// pointer, and opening for reading that accepts regular files only.
//
// The readers of lists, settings and texts read a whole file; a device such as /dev/zero would never end and
// a pipe without a writer would block for ever, so they refuse anything that is not a regular file before
// reading a byte. This file and SafeFileWriter.cpp hold the program's POSIX calls for files (open flags,
// fstat, fchmod, flock); other systems take the portable branches.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

// std::fopen for a path (wide file names on Windows).
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

struct TFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

// Errors of our own, beside the system's errno values.
enum class TFileError {
    NotRegularFile = 1,  // a device, a pipe or a socket where a file was expected
};
const std::error_category& FileErrorCategory() noexcept;
std::error_code make_error_code(TFileError e) noexcept;
namespace std {
template <>
struct is_error_code_enum<TFileError> : true_type {};
}  // namespace std

// Opens a regular file for reading in binary mode. Null on failure, with error telling why: the system's
// error (std::errc::no_such_file_or_directory for a missing file), std::errc::is_a_directory, or
// TFileError::NotRegularFile. Never blocks on a pipe.
TFilePtr OpenRegularFile(const std::filesystem::path& path, std::error_code& error);
