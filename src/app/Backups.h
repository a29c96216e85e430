// Recovery snapshots and rotated backups of list files, kept in the user's data folder.
//
// - Recovery files: while a list has unsaved changes the window writes a snapshot of the whole tree to
//   <data>/recovery/<key>.vlt through the crash-safe writer, so that a crash, a kill or a power cut leaves
//   either the previous snapshot or the new one, never a half-written file. The key is made from the list's
//   absolute path (its file name and a hash of the whole path), or "untitled" for a list without a file.
// - Backups: before a save replaces a list file, the previous file is kept as
//   <data>/backups/<stamp>-<hash>-<file name>, a hard link where the file system allows (the save puts a new
//   file in place by renaming, so the link keeps the old one at no cost), a copy otherwise. The last few
//   versions of each list are kept, and all backups together stay within a size limit, oldest removed
//   first. The stamp is the UTC time with milliseconds, so names sort by age across all lists.
//
// Plain C++, no Qt; the folders' locations come from the caller.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace backups {

inline constexpr std::string_view kRecoveryFolder = "recovery";
inline constexpr std::string_view kBackupFolder = "backups";
inline constexpr std::string_view kUntitled = "untitled";

// The recovery file of the list at listFile (empty: an untitled list) in the data folder.
std::filesystem::path RecoveryFileName(const std::filesystem::path& dataDir, const std::filesystem::path& listFile);

// True when recovery exists and is newer than listFile (or listFile does not exist): there is work to offer.
bool RecoveryIsNewer(const std::filesystem::path& recovery, const std::filesystem::path& listFile);

// Result of a write or a backup: empty Error on success.
struct TResult {
    std::string Error;
    bool Ok() const { return Error.empty(); }
};

// Writes bytes to the recovery file through the crash-safe writer, creating its folder (mode 0700) first.
TResult WriteRecoveryFile(const std::filesystem::path& recovery, std::string_view bytes);
// Removes a recovery file; a missing one is no error.
TResult RemoveRecoveryFile(const std::filesystem::path& recovery);

struct TBackupLimits {
    int VersionsPerList = 5;
    std::uintmax_t TotalBytes = 500ull << 20;
};

struct TBackupResult : TResult {
    std::filesystem::path Backup;  // the file made; empty when there was nothing to keep
    bool Linked = false;           // a hard link (false: a copy)
};

// Keeps the present listFile (when it exists) in <dataDir>/backups. A failure leaves the list file as it
// was: saving may go on. The caller prunes (PruneBackups) once the save succeeded, and removes the backup
// again when it failed, so that a failed save costs no older version.
TBackupResult KeepBackup(const std::filesystem::path& dataDir, const std::filesystem::path& listFile);

// Removes backups in <dataDir>/backups beyond the limits: per list the oldest beyond VersionsPerList, then over all lists the
// oldest while the total size exceeds TotalBytes.
void PruneBackups(const std::filesystem::path& dataDir, const TBackupLimits& limits = {});

}  // namespace backups
