#include "base/OpenFile.h"

#include <cerrno>
#include <cstring>
#include <string>

#if defined(_WIN32)
#include <sys/stat.h>
#include <sys/types.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

class TFileErrorCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "velloria-file"; }
    std::string message(int value) const override {
        switch (static_cast<TFileError>(value)) {
            case TFileError::NotRegularFile:
                return "not a regular file (a device, a pipe or a socket)";
        }
        return "unknown file error";
    }
};

std::error_code LastError() {
    return std::error_code(errno ? errno : EIO, std::generic_category());
}

}  // namespace

const std::error_category& FileErrorCategory() noexcept {
    static const TFileErrorCategory category;
    return category;
}

std::error_code make_error_code(TFileError e) noexcept {
    return std::error_code(static_cast<int>(e), FileErrorCategory());
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
#if defined(_WIN32)
    std::wstring wmode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wmode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

TFilePtr OpenRegularFile(const std::filesystem::path& path, std::error_code& error) {
    error.clear();
#if defined(_WIN32)
    // No pipes to block on here: look at the kind first, then open.
    struct _stat64 st {};
    if (_wstat64(path.c_str(), &st) != 0) {
        error = LastError();
        return nullptr;
    }
    if ((st.st_mode & _S_IFMT) == _S_IFDIR) {
        error = std::make_error_code(std::errc::is_a_directory);
        return nullptr;
    }
    if ((st.st_mode & _S_IFMT) != _S_IFREG) {
        error = TFileError::NotRegularFile;
        return nullptr;
    }
    errno = 0;
    TFilePtr f(OpenFile(path, "rb"));
    if (!f) error = LastError();
    return f;
#else
    // O_NONBLOCK: opening a FIFO that has no writer would otherwise wait for one. The kind is checked on
    // the open descriptor, so the file cannot be swapped between the check and the read.
    errno = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = LastError();
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = LastError();
        ::close(fd);
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? std::make_error_code(std::errc::is_a_directory)
                                    : make_error_code(TFileError::NotRegularFile);
        ::close(fd);
        return nullptr;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    errno = 0;
    TFilePtr f(::fdopen(fd, "rb"));
    if (!f) {
        error = LastError();
        ::close(fd);
    }
    return f;
#endif
}
