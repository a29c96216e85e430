#include "base/SafeFileWriter.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// Pushes the file's data from the system's cache to the disk. The only platform-specific call of the
// model libraries.
bool SyncToDisk(std::FILE* f) {
#if defined(_WIN32)
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

std::filesystem::path TempNameFor(const std::filesystem::path& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::filesystem::path temp = target;
    temp += ".~tmp" + std::to_string((stamp ^ (counter++ * 7919u) ^ attempt) % 1000000007ull);
    return temp;
}

}  // namespace

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
#if defined(_WIN32)
    std::wstring wmode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wmode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

TSafeFileWriter::TSafeFileWriter(std::filesystem::path target) : FTarget(std::move(target)) {}

TSafeFileWriter::~TSafeFileWriter() {
    if (!FCommitted) Discard();
}

bool TSafeFileWriter::Fail(const char* what) {
    int err = errno;
    FError = std::string(what) + ": " + (err ? std::strerror(err) : "unknown error");
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
        std::filesystem::remove(FTemp, ec);
        FTemp.clear();
    }
}

bool TSafeFileWriter::Open() {
    FCommitted = false;
    for (unsigned attempt = 0; attempt < 16 && !FFile; ++attempt) {
        FTemp = TempNameFor(FTarget, attempt);
        errno = 0;
        // "x": fail rather than reuse a file that happens to have the name.
        FFile = OpenFile(FTemp, "wbx");
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
    std::FILE* f = FFile;
    FFile = nullptr;
    errno = 0;
    if (std::fclose(f) != 0) return Fail("close");

    std::error_code ec;
    auto status = std::filesystem::status(FTarget, ec);
    if (!ec && std::filesystem::exists(status))
        std::filesystem::permissions(FTemp, status.permissions(), ec);  // best effort
    std::filesystem::rename(FTemp, FTarget, ec);
    if (ec) {
        FError = "rename: " + ec.message();
        Discard();
        return false;
    }
    FTemp.clear();
    FCommitted = true;
    return true;
}
