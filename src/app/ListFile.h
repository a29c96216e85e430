// The document list file: writing a tree (or a group's descendants) in the current format, reading either
// format into a tree or next to a node.
//
// Current format, Shift-JIS, every line ending with CR LF:
//   Velloria version 2.03
//   #[FILETYPE:VL203]
//   #[DOCCOUNT:<records>]
//   then per node, in pre-order:
//   #[DAT:<depth, 2 hex><kind, 2 hex>:<yyyymmdd>:<name>]
//   #[ADDR:<address>]
//   #[DATA:S]
//   <text as is, then CR LF>
//   #[DATA:E]
//   #[END]
// There is no escaping; FindForbiddenWord keeps the tags out of names, addresses and texts, and the tree's
// setters keep line breaks out of names and addresses.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "app/DocumentTree.h"
#include "app/ListFileHost.h"

namespace listfile {

inline constexpr std::string_view kHeaderLine = "Velloria version 2.03";
inline constexpr std::string_view kFileType = "VL203";

// Message patterns; "%s" stands for the file name.
// "ファイル読み込みに失敗しました。\r\n%s"
inline constexpr std::string_view kReadFailed =
    "\x83\x74\x83\x40\x83\x43\x83\x8B\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC"
    "\x82\xB5\x82\xBD\x81\x42\r\n%s";
// "指定されたファイルのバージョンは古い様です。\r\n保存する際は新しいバージョンのファイルになります。\r\n%s"
inline constexpr std::string_view kOldVersion =
    "\x8E\x77\x92\xE8\x82\xB3\x82\xEA\x82\xBD\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x83\x6F\x81\x5B\x83\x57"
    "\x83\x87\x83\x93\x82\xCD\x8C\xC3\x82\xA2\x97\x6C\x82\xC5\x82\xB7\x81\x42\r\n"
    "\x95\xDB\x91\xB6\x82\xB7\x82\xE9\x8D\xDB\x82\xCD\x90\x56\x82\xB5\x82\xA2\x83\x6F\x81\x5B\x83\x57\x83\x87"
    "\x83\x93\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB7\x81\x42\r\n%s";
// "ファイルバージョンが異なります。\r\n%s"
inline constexpr std::string_view kWrongFileType =
    "\x83\x74\x83\x40\x83\x43\x83\x8B\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93\x82\xAA\x88\xD9\x82\xC8\x82\xE8"
    "\x82\xDC\x82\xB7\x81\x42\r\n%s";
// "%3d %% 読み込み完了..."
inline constexpr std::string_view kProgressPattern =
    "%3d %% \x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x8A\xAE\x97\xB9...";

// The pattern with "%s" replaced by arg.
std::string FormatMessage(std::string_view pattern, std::string_view arg);
// kProgressPattern filled with percent: " 50 % 読み込み完了...".
std::string ProgressText(int percent);
// records / total * 100 to the nearest integer, halves to even (total > 0).
int ProgressPercent(long records, long total);

}  // namespace listfile

struct TListReadResult {
    enum class TStatus {
        Ok,         // read to the end (possibly damaged, see FirstBadLine)
        Missing,    // the file does not exist; the tree is unchanged
        WrongType,  // a file type other than VL203; the records before it stay
        IoError,    // the file could not be opened or read; the records before the error stay
    };
    TStatus Status = TStatus::Ok;
    bool OldFormat = false;
    long Records = 0;       // nodes added to the tree
    long FirstBadLine = 0;  // 0 = no damage found
    long DamagedLines = 0;  // number of damage findings
    std::string Error;      // the reason of an IoError

    bool Damaged() const { return FirstBadLine != 0; }
    bool Succeeded() const { return Status == TStatus::Ok; }
};

class TListFile {
public:
    TListFile(TDocumentTree& tree, TListFileHost& host) : FTree(tree), FHost(host) {}

    // Writes the whole tree (group = nullptr) or the descendants of group. A group without children writes
    // nothing and leaves any file alone. The file is replaced only when everything was written; writing
    // the whole tree clears the modified state only then. False after an error (reported to the host),
    // also when the file is read-only and when a record would read back differently, so nothing is written
    // at all: its name, address or date holds a line break or a NUL byte, or its text holds "#[END]", a line
    // that starts with "#[DAT:" or "#[DATA:E]", or one that starts with "#[ADDR:" with another address.
    // (The editing rules keep these tags out of what is typed; a file of the old format may bring them in.)
    bool WriteListFile(const std::filesystem::path& fileName, const TDocumentNode* group = nullptr);
    // The last WriteListFile failed because the file is read-only: the window may ask, allow and write again.
    bool RefusedReadOnly() const { return FRefusedReadOnly; }
    // Lets WriteListFile replace a read-only file (false at first).
    void SetReplaceReadOnly(bool value) { FReplaceReadOnly = value; }

    // Reads a list file of either format: at the top level (target = nullptr) or next to target.
    TListReadResult ReadListFile(const std::filesystem::path& fileName, TDocumentNode* target = nullptr);
    // Reads a file of the old format (version 200); ReadListFile calls it when it meets such a file.
    TListReadResult ReadOldListFile(const std::filesystem::path& fileName, TDocumentNode* target = nullptr);

    // The bytes WriteListFile writes (for the same arguments); empty when it would refuse a record.
    std::string Serialize(const TDocumentNode* group = nullptr) const;

private:
    TDocumentTree& FTree;
    TListFileHost& FHost;
    bool FReplaceReadOnly = false;
    bool FRefusedReadOnly = false;
};
