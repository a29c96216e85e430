#include "app/Backups.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <system_error>
#include <vector>

#include "base/SafeFileWriter.h"

namespace fs = std::filesystem;

namespace backups {

namespace {

// 64-bit FNV-1a: stable across runs and builds, unlike std::hash.
std::string PathHash(const fs::path& path) {
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : path.string()) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

fs::path Absolute(const fs::path& file) {
    std::error_code error;
    fs::path absolute = fs::absolute(file, error);
    if (error) absolute = file;
    return absolute.lexically_normal();
}

// The file name, cut to a length any file system takes beside our prefix.
std::string ShortName(const fs::path& file) {
    std::string name = file.filename().string();
    if (name.size() > 120) name.resize(120);
    return name;
}

std::string Message(std::string_view what, const fs::path& path, const std::error_code& error) {
    return std::string(what) + " " + path.string() + ": " + error.message();
}

// Creates folder (and its parents) and makes it private to the user.
TResult MakePrivateFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return {Message("cannot create", folder, error)};
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
    if (error) return {Message("cannot protect", folder, error)};
    return {};
}

// "yyyymmddThhmmssmmmZ", UTC: fixed width, so that names sort by time.
constexpr std::size_t kStampLength = 19;
constexpr std::size_t kHashLength = 16;

std::string Stamp(std::chrono::system_clock::time_point when) {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() % 1000;
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm utc{};
#if defined(_WIN32)
    gmtime_s(&utc, &seconds);
#else
    gmtime_r(&seconds, &utc);
#endif
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02d%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(ms));
    return text;
}

struct TBackupEntry {
    fs::path Path;
    std::string Name;  // sorts by age
    std::string Hash;  // the list it belongs to
    std::uintmax_t Size = 0;
};

// The backups in folder: files named <stamp>-<hash>-<name>. Anything else is left alone.
std::vector<TBackupEntry> ListBackups(const fs::path& folder) {
    std::vector<TBackupEntry> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= kStampLength + kHashLength + 2 || name[kStampLength] != '-' ||
            name[kStampLength + 1 + kHashLength] != '-' || name[0] < '0' || name[0] > '9')
            continue;
        std::error_code sizeError;
        if (!it->is_regular_file(sizeError)) continue;
        const std::uintmax_t size = it->file_size(sizeError);
        entries.push_back({it->path(), name, name.substr(kStampLength + 1, kHashLength), sizeError ? 0 : size});
    }
    std::sort(entries.begin(), entries.end(),
              [](const TBackupEntry& a, const TBackupEntry& b) { return a.Name < b.Name; });
    return entries;
}

}  // namespace

fs::path RecoveryFileName(const fs::path& dataDir, const fs::path& listFile) {
    const fs::path folder = dataDir / std::string(kRecoveryFolder);
    if (listFile.empty()) return folder / (std::string(kUntitled) + ".vlt");
    const fs::path absolute = Absolute(listFile);
    return folder / (fs::path(ShortName(absolute)).stem().string() + "-" + PathHash(absolute) + ".vlt");
}

bool RecoveryIsNewer(const fs::path& recovery, const fs::path& listFile) {
    std::error_code error;
    const auto recoveryTime = fs::last_write_time(recovery, error);
    if (error) return false;
    if (listFile.empty()) return true;
    const auto listTime = fs::last_write_time(listFile, error);
    return error || recoveryTime > listTime;
}

TResult WriteRecoveryFile(const fs::path& recovery, std::string_view bytes) {
    if (TResult folder = MakePrivateFolder(recovery.parent_path()); !folder.Ok()) return folder;
    TSafeFileWriter writer(recovery);
    if (!writer.Open() || !writer.Write(bytes) || !writer.Commit()) return {recovery.string() + ": " + writer.Error()};
    return {};
}

TResult RemoveRecoveryFile(const fs::path& recovery) {
    std::error_code error;
    fs::remove(recovery, error);
    if (error) return {Message("cannot remove", recovery, error)};
    return {};
}

TBackupResult KeepBackup(const fs::path& dataDir, const fs::path& listFile) {
    TBackupResult result;
    std::error_code error;
    // The save replaces the file at the end of a chain of links: that file is the one to keep.
    const fs::path source = fs::canonical(listFile, error);
    if (error || !fs::is_regular_file(source, error)) return result;  // nothing to keep yet

    const fs::path folder = dataDir / std::string(kBackupFolder);
    if (TResult made = MakePrivateFolder(folder); !made.Ok()) {
        result.Error = made.Error;
        return result;
    }
    const std::string suffix = "-" + PathHash(Absolute(listFile)) + "-" + ShortName(listFile);
    // Each backup of this program gets a later stamp than the one before, so that their names keep the
    // order in which they were made, also within one millisecond.
    static std::atomic<long long> lastStamp{0};
    const long long now = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
    long long stamp = lastStamp.load();
    while (!lastStamp.compare_exchange_weak(stamp, std::max(now, stamp + 1))) {
    }
    auto when = std::chrono::system_clock::time_point(std::chrono::milliseconds(std::max(now, stamp + 1)));
    fs::path backup;
    for (int attempt = 0; attempt < 1000; ++attempt, when += std::chrono::milliseconds(1)) {
        backup = folder / (Stamp(when) + suffix);
        if (!fs::exists(fs::symlink_status(backup, error))) break;
    }

    fs::create_hard_link(source, backup, error);
    if (!error) {
        result.Linked = true;
    } else {
        // Another file system, or one without links: a copy, complete or not at all.
        fs::path part = backup;
        part += ".~part";
        fs::copy_file(source, part, fs::copy_options::overwrite_existing, error);
        if (!error) fs::rename(part, backup, error);
        if (error) {
            std::error_code ignored;
            fs::remove(part, ignored);
            result.Error = Message("cannot keep a backup of", listFile, error);
            return result;
        }
    }
    result.Backup = backup;
    return result;
}

void PruneBackups(const fs::path& dataDir, const TBackupLimits& limits) {
    std::vector<TBackupEntry> entries = ListBackups(dataDir / std::string(kBackupFolder));
    std::vector<bool> keep(entries.size(), true);
    // Newest first: the first VersionsPerList of each list stay.
    std::map<std::string, int> seen;
    for (std::size_t i = entries.size(); i-- > 0;)
        if (++seen[entries[i].Hash] > std::max(0, limits.VersionsPerList)) keep[i] = false;
    std::uintmax_t total = 0;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (keep[i]) total += entries[i].Size;
    for (std::size_t i = 0; i < entries.size() && total > limits.TotalBytes; ++i) {
        if (!keep[i]) continue;
        keep[i] = false;
        total -= entries[i].Size;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (keep[i]) continue;
        std::error_code error;
        fs::remove(entries[i].Path, error);
    }
}

}  // namespace backups
