#include "base/SafeFileWriter.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

// The platform calls of the crash-safe save live here and in OpenFile.cpp: on POSIX systems the temporary
// file is made with open(2) and its mode set with fchmod, a running save holds a flock on it, and the
// disk sync is fsync; elsewhere the portable branches serve (no locks: a live temporary file cannot be
// removed there anyway).
#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#define VEL_POSIX_FILES 1
#endif

namespace fs = std::filesystem;

namespace {

// Pushes the file's data from the system's cache to the disk.
bool SyncToDisk(std::FILE* f) {
#if defined(_WIN32)
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

fs::path TempNameFor(const fs::path& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    fs::path temp = target;
    temp += std::string(TSafeFileWriter::kTempInfix);
    temp += std::to_string((stamp ^ (counter++ * 7919u) ^ attempt) % 1000000007ull);
    return temp;
}

// name is target's file name, our infix and 1 to 10 decimal digits: the names TempNameFor makes.
bool IsOurTempName(const fs::path::string_type& name, const fs::path::string_type& prefix) {
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 10) return false;
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return true;
}

// Follows a chain of symbolic links to the file it ends at (which need not exist yet).
fs::path ResolveLinks(fs::path path, std::error_code& error) {
    for (int depth = 0; depth < 40; ++depth) {
        fs::file_status st = fs::symlink_status(path, error);
        if (st.type() == fs::file_type::not_found) {
            error.clear();
            return path;
        }
        if (error) return {};
        if (st.type() != fs::file_type::symlink) return path;
        fs::path next = fs::read_symlink(path, error);
        if (error) return {};
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return {};
}

// Removes the temporary file at path unless a save still holds it.
void RemoveIfAbandoned(const fs::path& path) {
#if VEL_POSIX_FILES
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    // A save holds its lock from the creation of the file to the rename, and a crash releases it.
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
        ::unlink(path.c_str());
    ::close(fd);
#else
    std::error_code ignored;
    fs::remove(path, ignored);  // fails while a save has the file open
#endif
}

void RemoveStaleTemps(const fs::path& final) {
    fs::path folder = final.parent_path();
    if (folder.empty()) folder = ".";
    const fs::path::string_type prefix =
        final.filename().native() + fs::path(TSafeFileWriter::kTempInfix).native();
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (IsOurTempName(it->path().filename().native(), prefix)) RemoveIfAbandoned(it->path());
}

// The target's permission bits when it exists (and is no symbolic link: it was resolved).
struct TTargetMode {
    bool Exists = false;
    bool ReadOnly = false;
#if VEL_POSIX_FILES
    mode_t Mode = 0;
#endif
};

TTargetMode InspectTarget(const fs::path& final) {
    TTargetMode t;
#if VEL_POSIX_FILES
    struct stat st {};
    if (::stat(final.c_str(), &st) != 0) return t;
    t.Exists = true;
    t.Mode = st.st_mode & 07777;
    if (S_ISREG(st.st_mode)) {
        // The superuser may write anything; for it, a file without any write permission counts as read-only.
        if (::geteuid() == 0)
            t.ReadOnly = (st.st_mode & 0222) == 0;
        else
            t.ReadOnly = ::faccessat(AT_FDCWD, final.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
    }
#else
    std::error_code error;
    fs::file_status st = fs::status(final, error);
    if (error || !fs::exists(st)) return t;
    t.Exists = true;
    t.ReadOnly = fs::is_regular_file(st) && (st.permissions() & fs::perms::owner_write) == fs::perms::none;
#endif
    return t;
}

// Creates the temporary file (failing when the name is taken) with the final permissions from the start.
std::FILE* CreateTemp(const fs::path& temp, const TTargetMode& target) {
#if VEL_POSIX_FILES
    // An existing target's mode is set before any byte is written; until then only the owner may read. A
    // new file gets the default permissions (the umask applies).
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, target.Exists ? 0600 : 0666);
    if (fd < 0) return nullptr;
    if ((target.Exists && ::fchmod(fd, target.Mode) != 0) || ::flock(fd, LOCK_EX) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        errno = error;
        return nullptr;
    }
    // Another save that cleaned up between our open and our lock took the file for abandoned: take a new
    // name.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_nlink == 0) {
        ::close(fd);
        errno = EEXIST;
        return nullptr;
    }
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        const int error = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        errno = error;
    }
    return f;
#else
    (void)target;
    return OpenFile(temp, "wbx");  // "x": fail rather than reuse a file that happens to have the name
#endif
}

}  // namespace

TSafeFileWriter::TSafeFileWriter(fs::path target) : FTarget(std::move(target)) {}

TSafeFileWriter::~TSafeFileWriter() {
    if (!FCommitted) Discard();
}

bool TSafeFileWriter::Fail(const char* what) {
    int err = errno;
    FError = std::string(what) + ": " + (err ? std::strerror(err) : "unknown error");
    Discard();
    return false;
}

bool TSafeFileWriter::Fail(const char* what, const std::error_code& error) {
    FError = std::string(what) + ": " + error.message();
    Discard();
    return false;
}

void TSafeFileWriter::Discard() {
    if (FFile) {
        std::fclose(FFile);
        FFile = nullptr;
    }
    if (!FTemp.empty()) {
        std::error_code ec;
        fs::remove(FTemp, ec);
        FTemp.clear();
    }
}

bool TSafeFileWriter::Open() {
    Discard();
    FCommitted = false;
    FRefusedReadOnly = false;
    FError.clear();

    std::error_code error;
    FFinal = ResolveLinks(FTarget, error);
    if (error) return Fail("cannot follow the symbolic link", error);

    const TTargetMode target = InspectTarget(FFinal);
    if (target.ReadOnly && !FReplaceReadOnly) {
        FRefusedReadOnly = true;
        FError = "the file is read-only (its permissions allow no writing)";
        return false;
    }

    RemoveStaleTemps(FFinal);
    for (unsigned attempt = 0; attempt < 16 && !FFile; ++attempt) {
        FTemp = TempNameFor(FFinal, attempt);
        errno = 0;
        FFile = CreateTemp(FTemp, target);
        if (!FFile && errno != EEXIST) break;
    }
    if (!FFile) {
        FTemp.clear();
        return Fail("cannot create a file beside the target");
    }
    return true;
}

bool TSafeFileWriter::Write(std::string_view data) {
    if (!FFile) return false;
    errno = 0;
    if (!data.empty() && std::fwrite(data.data(), 1, data.size(), FFile) != data.size()) return Fail("write");
    return true;
}

bool TSafeFileWriter::Commit() {
    if (!FFile) return false;
    errno = 0;
    if (std::fflush(FFile) != 0) return Fail("write");
    if (!SyncToDisk(FFile)) return Fail("sync");
#if VEL_POSIX_FILES
    // The file stays open, and so locked, until it has its final name: a save of the same target that
    // starts meanwhile must not take it for abandoned. After fsync, closing has nothing left to report.
    std::FILE* f = FFile;
    FFile = nullptr;
#else
    // An open file cannot be renamed here.
    std::FILE* f = FFile;
    FFile = nullptr;
    errno = 0;
    if (std::fclose(f) != 0) return Fail("close");
    f = nullptr;
#endif
    std::error_code error;
    fs::rename(FTemp, FFinal, error);
    if (f) std::fclose(f);
    if (error) return Fail("rename", error);
    FTemp.clear();
    FCommitted = true;
    return true;
}
