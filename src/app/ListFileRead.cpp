// TListFile: the readers of the current and the old list format.
//
// How damaged files are read (the format leaves it open):
// - A record line too short for its fixed fields (21 characters) or with a depth or kind that is not two
//   hexadecimal digits: the record is kept as a document at the depth of the record before it, with its
//   address and text, so that nothing typed is lost (the name and date too when the line is long enough).
// - A tag inside a record line or an address line, after the line's own tag: damage; the line keeps its
//   meaning (the record's fields, the address) and the tag in it does nothing. An address line read as the
//   start of the body too would put the body's own start line into the text, one more on every save. (A
//   name or address that ends with the start of a tag, "x#[END", makes its line hold that tag: it reads
//   back the same, and is reported as damage.)
// - A record that is not closed ("#[DAT:" again, or the end of the file, before its "#[END]"): what was read
//   of it is kept, as if it had been closed there.
// - "#[END]" with no open record (also a second "#[END]"): ignored.
// - "#[END]" inside a body (no "#[DATA:E]" before it): closes the record; the line is not taken as text.
// - NUL bytes are dropped. CR LF, a lone LF and a lone CR all end a line. A 0x1A at the very end of the file
//   is the old end-of-file mark.
// - "#[VERSION:" counts as a header tag only before the "#[FILETYPE:" line and before the first record:
//   later, in a body, it is text like any other line, so a document that mentions it cannot switch a
//   current-format file to the old reader halfway. Likewise "#[FILETYPE:" only before the first record: a
//   body line with another file type would otherwise end the read there, and the records after it would
//   be gone from the tree (and from the file at the next save).
// Each case counts as damage: the host hears once, at the end, with the first bad line. Old format: an end
// line with no pending record and a group end with no open group are ignored (and count as damage).
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "app/LineReader.h"
#include "app/ListFile.h"
#include "base/OpenFile.h"

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && std::memcmp(s.data(), prefix.data(), prefix.size()) == 0;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Two hexadecimal digits at s[pos], or -1.
int Hex2(std::string_view s, std::size_t pos) {
    int hi = HexValue(s[pos]), lo = HexValue(s[pos + 1]);
    return (hi < 0 || lo < 0) ? -1 : hi * 16 + lo;
}

// A decimal integer with an optional sign; 0 when the text is not one (or does not fit).
long ParseCount(std::string_view s) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i == s.size()) return 0;
    long long value = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return 0;
        value = value * 10 + (s[i] - '0');
        if (value > 0x7FFFFFFF) return 0;
    }
    return static_cast<long>(negative ? -value : value);
}

// The value of a tag line "#[TAG:value]": from the character after the prefix up to the last but one.
std::string_view TagValue(std::string_view line, std::size_t prefixLength) {
    if (line.size() < prefixLength + 1) return {};
    return line.substr(prefixLength, line.size() - prefixLength - 1);
}

// text := [b, e). The new string's memory is usually cold: asking for it for writing ahead of the copy
// lets the processor fetch all its cache lines at once instead of one after another.
void CopyInto(std::string& text, const char* b, const char* e) {
    const std::size_t n = static_cast<std::size_t>(e - b);
    text.reserve(n);
#if defined(__GNUC__)
    for (std::size_t i = 0; i < n; i += 64) __builtin_prefetch(text.data() + i, 1, 3);
#endif
    text.append(b, n);
}

// Collects the body of a record. Consecutive lines that end with CR LF in the block buffer are taken as one
// span of the buffer, so a body costs one copy; anything else goes through a scratch string.
class TBodyBuilder {
public:
    void Add(std::string_view text, bool inBuffer) {
        const char* b = text.data();
        if (FLines++ > 0) {
            if (inBuffer && FSpanBegin && b == FSpanEnd + 2 && FSpanEnd[0] == '\r' && FSpanEnd[1] == '\n') {
                FSpanEnd = b + text.size();
                return;
            }
            Flush();
            FScratch += "\r\n";
        }
        if (inBuffer) {
            FSpanBegin = b;
            FSpanEnd = b + text.size();
        } else {
            FScratch.append(text);
        }
    }
    // Complete lines, each ending with CR LF, as they lie in the block buffer.
    void AddLines(std::string_view lines) {
        const char* b = lines.data();
        const char* e = b + lines.size() - 2;  // without the last CR LF
        if (FLines++ > 0) {
            if (FSpanBegin && b == FSpanEnd + 2 && FSpanEnd[0] == '\r' && FSpanEnd[1] == '\n') {
                FSpanEnd = e;
                return;
            }
            Flush();
            FScratch += "\r\n";
        }
        FSpanBegin = b;
        FSpanEnd = e;
    }
    // Copies the span out of the block buffer (before the buffer moves).
    void Flush() {
        if (FSpanBegin) FScratch.append(FSpanBegin, FSpanEnd);
        FSpanBegin = FSpanEnd = nullptr;
    }
    std::string Take() {
        std::string text;
        if (FScratch.empty()) {
            if (FSpanBegin) CopyInto(text, FSpanBegin, FSpanEnd);
        } else {
            Flush();
            text = std::string(FScratch);  // exact size; the scratch keeps its capacity
        }
        Reset();
        return text;
    }
    void Reset() {
        FScratch.clear();
        FSpanBegin = FSpanEnd = nullptr;
        FLines = 0;
    }

private:
    std::string FScratch;
    const char* FSpanBegin = nullptr;
    const char* FSpanEnd = nullptr;
    std::size_t FLines = 0;
};

// Damage is noted by file offset; the line number is counted only when there is something to report.
struct TDamage {
    long long First = -1;
    long Count = 0;
    void Note(long long offset) {
        if (First < 0 || offset < First) First = offset;
        ++Count;
    }
    bool Any() const { return Count > 0; }
};

// Puts the progress bar, the cursor and the status text back on every way out of a read.
class TProgressGuard {
public:
    explicit TProgressGuard(TListFileHost& host) : FHost(host) {}
    ~TProgressGuard() {
        FHost.SetProgressPosition(0);
        FHost.SetProgressVisible(false);
        if (FBusy) FHost.SetBusyCursor(false);
        FHost.SetStatusText("");
    }
    void Show(int total) {
        FHost.SetProgressMax(total);
        FHost.SetProgressMin(0);
        FHost.SetProgressVisible(true);
        if (!FBusy) FHost.SetBusyCursor(true);
        FBusy = true;
    }

private:
    TListFileHost& FHost;
    bool FBusy = false;
};

TFilePtr OpenForReading(const std::filesystem::path& file, TListFileHost& host, TListReadResult& result) {
    std::error_code error;
    TFilePtr f = OpenRegularFile(file, error);
    if (!f) {
        result.Status = TListReadResult::TStatus::IoError;
        result.Error = error.message();
        host.ShowIoError(file, result.Error);
    }
    return f;
}

// True when s (a record or address line after its own tag) holds one of the format's tags.
bool HoldsTag(std::string_view s) {
    static constexpr std::string_view kTags[] = {"#[DAT:", "#[ADDR:",     "#[DATA:S]",   "#[DATA:E]",
                                                 "#[END]", "#[FILETYPE:", "#[DOCCOUNT:", "#[VERSION:"};
    if (!std::memchr(s.data(), '#', s.size())) return false;
    for (std::string_view tag : kTags)
        if (s.find(tag) != std::string_view::npos) return true;
    return false;
}

// One read of a current-format file.
class TCurrentReader {
public:
    enum class TOutcome { Done, OldFormat };

    TCurrentReader(TDocumentTree& tree, TListFileHost& host, const std::filesystem::path& file,
                   TDocumentNode* target, TListReadResult& result)
        : FTree(tree), FHost(host), FFile(file), FResult(result), FCurrent(target), FTarget(target) {
        FTargetDepth = target ? target->Level() : 0;
        FCurrentDepth = FTargetDepth;
    }

    TOutcome Run() {
        TFilePtr f = OpenForReading(FFile, FHost, FResult);
        if (!f) return TOutcome::Done;
        TProgressGuard progress(FHost);
        FProgress = &progress;
        TLineReader lines(f.get());
        TLineReader::TLine line;
        for (;;) {
            // Lines without '#' hold no tag: at most they are body text.
            std::string_view plain = lines.SkipPlainLines();
            if (!plain.empty() && FOpen && FInBody) FBody.AddLines(plain);
            if (!lines.Next(line, [this] { FBody.Flush(); })) break;
            if (!line.Clean) FDamage.Note(line.Offset);
            switch (Process(line)) {
                case TStep::Go:
                    continue;
                case TStep::Old:
                    return TOutcome::OldFormat;
                case TStep::Stop:
                    return Done(f.get());
            }
        }
        if (lines.Failed()) {
            FResult.Status = TListReadResult::TStatus::IoError;
            FResult.Error = lines.Error();
            FHost.ShowIoError(FFile, FResult.Error);
            return TOutcome::Done;
        }
        if (FOpen) {  // the file ends inside a record: keep what there is of it
            FDamage.Note(FRecordOffset);
            Complete();
        }
        // A file without a file-type line is no list file at all (an empty file, a text file opened by
        // mistake): say so instead of showing an empty tree as if all were well.
        if (!FSawFileType) FDamage.Note(0);
        return Done(f.get());
    }

    long FirstBadLine() const { return FFirstBadLine; }
    long DamagedLines() const { return FDamage.Count; }

private:
    enum class TStep { Go, Old, Stop };

    TOutcome Done(std::FILE* f) {
        if (FDamage.Any()) FFirstBadLine = TLineReader::LineNumberAt(f, FDamage.First);
        return TOutcome::Done;
    }

    TStep Process(const TLineReader::TLine& line) {
        std::string_view s = line.Text;
        const bool tagged = !s.empty() && s[0] == '#';
        if (FHeaderTags < 3 && tagged) {
            if (!FPastVersion && StartsWith(s, "#[VERSION:")) {
                ++FHeaderTags;
                if (s.size() >= 13 && s.substr(10, 3) == "200") {
                    FHost.ShowWarning(listfile::kOldVersion, FFile);
                    return TStep::Old;
                }
            } else if (!FSawRecord && StartsWith(s, "#[FILETYPE:")) {
                ++FHeaderTags;
                FPastVersion = true;
                FSawFileType = true;
                if (TagValue(s, 11) != listfile::kFileType) {
                    FHost.ShowWarning(listfile::kWrongFileType, FFile);
                    FResult.Status = TListReadResult::TStatus::WrongType;
                    return TStep::Stop;
                }
            } else if (StartsWith(s, "#[DOCCOUNT:")) {
                ++FHeaderTags;
                FTotal = ParseCount(TagValue(s, 11));
                FProgress->Show(static_cast<int>(FTotal));
            }
        }

        if (tagged && StartsWith(s, "#[DAT:")) {
            OpenRecord(s, line.Offset);
            return TStep::Go;
        }

        // The tests that look for a tag anywhere in the line. A line whose only '#' is its first byte can
        // hold a tag only at its start.
        const char* hash = tagged ? nullptr : static_cast<const char*>(std::memchr(s.data(), '#', s.size()));
        const bool onlyLeadingHash = tagged && !std::memchr(s.data() + 1, '#', s.size() - 1);
        auto contains = [&](std::string_view tag) {
            if (onlyLeadingHash) return StartsWith(s, tag);
            return (tagged || hash) && s.find(tag) != std::string_view::npos;
        };
        if (FOpen && !FInBody && tagged && StartsWith(s, "#[ADDR:")) {
            // The address line is only that, whatever it holds. After a body with an address line of its
            // own, one that names another address is damage and is passed over: written back, the body's
            // line would set the address again, so the body's address is the one that can be kept.
            const std::string_view value = TagValue(s, 7);
            if (FBodyHasAddress && value != FBodyAddress) {
                FDamage.Note(line.Offset);
                return TStep::Go;
            }
            FRecord.Address = std::string(value);
            if (HoldsTag(s.substr(7))) FDamage.Note(line.Offset);
            return TStep::Go;
        }
        const bool hasEnd = contains("#[END]");
        if (FOpen) {
            // An address line in the body stays text and replaces the address too.
            if (tagged && StartsWith(s, "#[ADDR:")) {
                FRecord.Address = std::string(TagValue(s, 7));
                FBodyAddress = FRecord.Address;
                FBodyAddressOffset = line.Offset;
                FBodyHasAddress = true;
            }
            if (tagged && StartsWith(s, "#[DATA:E]")) FInBody = false;
            if (FInBody && !hasEnd) FBody.Add(s, line.Clean);
            if (contains("#[DATA:S]")) FInBody = true;
        }
        if (hasEnd) {
            if (!FOpen) {
                FDamage.Note(line.Offset);
            } else {
                if (FInBody) FDamage.Note(line.Offset);
                Complete();
            }
        }
        return TStep::Go;
    }

    void OpenRecord(std::string_view s, long long offset) {
        if (FOpen) {  // the previous record has no "#[END]"
            FDamage.Note(FRecordOffset);
            Complete();
        }
        FPastVersion = true;
        FSawRecord = true;
        FOpen = true;
        FInBody = false;
        FBodyHasAddress = false;
        FRecordOffset = offset;
        FBody.Reset();
        const bool complete = s.size() >= 21;
        const int depth = complete ? Hex2(s, 6) : -1;
        const int kind = complete ? Hex2(s, 8) : -1;
        FRecord = TDocumentRecord{};
        FRecord.Address.clear();
        if (complete) {
            FRecord.Date = std::string(s.substr(11, 8));
            FRecord.Name = std::string(s.substr(20, s.size() - 21));
            // A tag in the line is damage; so is one that only the written line would hold, where the
            // separators the reader passes over ("#[DATA" + name) are written as ':' ("#[DAT:").
            if (HoldsTag(s.substr(6)) ||
                (std::memchr(s.data() + 6, '#', s.size() - 6) &&
                 HoldsTag(std::string(s.substr(6, 4)) + ':' + FRecord.Date + ':' + FRecord.Name + ']')))
                FDamage.Note(offset);
        }
        if (depth < 0 || kind < 0) {
            // Where it belonged is unknown: a document after the record before it.
            FDamage.Note(offset);
            FRecord.Kind = dkDocument;
            FDepth = FCurrentDepth;
            return;
        }
        FRecord.Kind = kind;
        FDepth = depth + FTargetDepth;
    }

    void Complete() {
        // The address that the last address line of the body gave is written on the record's own address
        // line: a tag in it is damage there, so it is here as well (as in an address line before the body).
        if (FBodyHasAddress && HoldsTag(FBodyAddress + ']')) FDamage.Note(FBodyAddressOffset);
        FOpen = false;
        FInBody = false;
        ++FCompleted;
        FRecord.Text = FBody.Take();
        Place();
        FHost.SetProgressPosition(static_cast<int>(FCompleted));
        if (FTotal != 0) {
            // Only a changed text is sent: the window repaints its status bar for each one.
            int percent = listfile::ProgressPercent(FCompleted, FTotal);
            if (percent != FLastPercent) {
                FLastPercent = percent;
                FHost.SetStatusText(listfile::ProgressText(percent));
            }
        }
    }

    void Place() {
        TDocumentNode* node;
        if (FDepth == FCurrentDepth) {
            node = FTree.AppendSibling(FCurrent, std::move(FRecord));
        } else if (FDepth > FCurrentDepth) {
            node = FTree.AppendChild(FCurrent, std::move(FRecord));  // one level deeper, however far it jumps
        } else {
            // A merge never climbs above the target's level: records of the file stay after the target,
            // also when the depths jumped on the way down (a jump nests only one level, the climb back
            // counts the depths).
            for (int up = FCurrentDepth - FDepth; up > 0 && FCurrent; --up) {
                if (FTarget && FCurrent->Parent() == FTarget->Parent()) break;  // at the target's level
                FCurrent = FCurrent->Parent();
            }
            node = FTree.AppendSibling(FCurrent, std::move(FRecord));
        }
        FCurrent = node;
        FCurrentDepth = FDepth;
        ++FResult.Records;
    }

    TDocumentTree& FTree;
    TListFileHost& FHost;
    const std::filesystem::path& FFile;
    TListReadResult& FResult;
    TProgressGuard* FProgress = nullptr;

    int FHeaderTags = 0;
    bool FPastVersion = false;  // a "#[VERSION:" line is no header tag any more
    bool FSawRecord = false;    // a "#[FILETYPE:" line is no header tag any more
    bool FSawFileType = false;
    long FTotal = 0;
    long FCompleted = 0;
    int FLastPercent = -1;

    bool FOpen = false;
    bool FInBody = false;
    bool FBodyHasAddress = false;  // the open record's body holds an address line; the last one's value
    std::string FBodyAddress;      // and where that line starts
    long long FBodyAddressOffset = 0;
    long long FRecordOffset = 0;
    TDocumentRecord FRecord;
    int FDepth = 0;
    TBodyBuilder FBody;

    TDocumentNode* FCurrent;
    TDocumentNode* FTarget;  // nullptr when the file is read at the top level
    int FTargetDepth = 0;
    int FCurrentDepth = 0;
    TDamage FDamage;
    long FFirstBadLine = 0;
};

// One read of an old-format file. Records go into a container (the top level, a group opened by this
// file, or the target's level); "#[END-INDEX]" of a group opens the group as the container for what follows
// up to its "#[END-GRP]". This places empty groups, which have no children to nest into, correctly.
class TOldReader {
public:
    TOldReader(TDocumentTree& tree, TListFileHost& host, const std::filesystem::path& file,
               TDocumentNode* target, TListReadResult& result)
        : FTree(tree), FHost(host), FFile(file), FResult(result) {
        // The first record becomes the only child of a target group without children, else a sibling of
        // the target at the end of its level.
        FContainer = (target && target->IsGroup() && !target->HasChildren()) ? target
                     : target                                                ? target->Parent()
                                                                             : nullptr;
    }

    void Run() {
        TFilePtr f = OpenForReading(FFile, FHost, FResult);
        if (!f) return;
        TLineReader lines(f.get());
        TLineReader::TLine line;
        while (lines.Next(line)) {
            if (!line.Clean) FDamage.Note(line.Number);
            Process(line.Text, line.Number);
        }
        FFirstBadLine = FDamage.Any() ? static_cast<long>(FDamage.First) : 0;
        if (lines.Failed()) {
            FResult.Status = TListReadResult::TStatus::IoError;
            FResult.Error = lines.Error();
            FHost.ShowIoError(FFile, FResult.Error);
            return;
        }
        if (FPending) {  // the file ends before the record was closed
            FDamage.Note(FPendingLine);
            PlacePending();
        }
        FFirstBadLine = FDamage.Any() ? static_cast<long>(FDamage.First) : 0;
    }

    long FirstBadLine() const { return FFirstBadLine; }
    long DamagedLines() const { return FDamage.Count; }

private:
    void Process(std::string_view s, long number) {
        if (s.empty() || !std::memchr(s.data(), '#', s.size())) {
            if (FInBody) AppendBody(s);
            return;
        }
        const bool endDoc = s.find("#[END-DOC]") != std::string_view::npos;
        if (endDoc) FInBody = false;
        if (endDoc || s.find("#[END-INDEX]") != std::string_view::npos) {
            if (FPending)
                PlacePending();
            else
                FDamage.Note(number);
        }
        if (s.find("#[END-GRP]") != std::string_view::npos) {
            if (FContainerDepth > 0) {
                FContainer = FContainer->Parent();
                --FContainerDepth;
            } else {
                FDamage.Note(number);
            }
        }
        if (FInBody) AppendBody(s);
        const bool group = s.find("#[GRP:") != std::string_view::npos;
        const bool document = !group && s.find("#[DOC:") != std::string_view::npos;
        if (group || document) {
            if (FPending) {  // the previous record was never closed
                FDamage.Note(FPendingLine);
                PlacePending();
            }
            Start(s, number, group ? dkGroup : dkDocument);
            if (document && FPending) FInBody = true;
        }
    }

    void AppendBody(std::string_view s) {
        FRecord.Text.append(s);
        FRecord.Text += "\r\n";
    }

    // Fields at fixed places: year 14-17, month 19-20, day 22-23, the name from 25 up to the next "]".
    void Start(std::string_view s, long number, TDocumentKind kind) {
        FInBody = false;
        if (s.size() < 24) {
            FDamage.Note(number);
            return;
        }
        FRecord = TDocumentRecord{};
        FRecord.Kind = kind;
        FRecord.Address.clear();
        FRecord.Date =
            std::string(s.substr(13, 4)) + std::string(s.substr(18, 2)) + std::string(s.substr(21, 2));
        std::size_t close = s.find(']', 24);
        if (close == std::string_view::npos) {
            FDamage.Note(number);
            close = s.size();
        }
        FRecord.Name = std::string(s.substr(24, close - 24));
        FPending = true;
        FPendingLine = number;
    }

    void PlacePending() {
        FPending = false;
        const bool group = FRecord.Kind == dkGroup;
        TDocumentNode* node = FTree.AppendChild(FContainer, std::move(FRecord));
        ++FResult.Records;
        if (group) {
            FContainer = node;
            ++FContainerDepth;
        }
    }

    TDocumentTree& FTree;
    TListFileHost& FHost;
    const std::filesystem::path& FFile;
    TListReadResult& FResult;
    TDocumentNode* FContainer = nullptr;
    int FContainerDepth = 0;  // groups opened by this file and not yet closed
    bool FPending = false;
    long FPendingLine = 0;
    bool FInBody = false;
    TDocumentRecord FRecord;
    TDamage FDamage;  // by line number: the old reader goes line by line
    long FFirstBadLine = 0;
};

template <class Reader>
void Finish(TListFileHost& host, const std::filesystem::path& file, TListReadResult& result,
            const Reader& reader) {
    if (result.Records > 0 || result.Status == TListReadResult::TStatus::Ok) host.DocumentsArrived();
    result.FirstBadLine = reader.FirstBadLine();
    result.DamagedLines = reader.DamagedLines();
    if (result.FirstBadLine) host.ReportDamage(file, result.FirstBadLine);
}

}  // namespace

TListReadResult TListFile::ReadListFile(const std::filesystem::path& fileName, TDocumentNode* target) {
    TListReadResult result;
    std::error_code ec;
    if (!std::filesystem::exists(fileName, ec)) {
        FHost.ShowWarning(listfile::kReadFailed, fileName);
        result.Status = TListReadResult::TStatus::Missing;
        return result;
    }
    FHost.SetModified(false);
    TCurrentReader reader(FTree, FHost, fileName, target, result);
    if (reader.Run() == TCurrentReader::TOutcome::OldFormat) return ReadOldListFile(fileName, target);
    Finish(FHost, fileName, result, reader);
    return result;
}

TListReadResult TListFile::ReadOldListFile(const std::filesystem::path& fileName, TDocumentNode* target) {
    TListReadResult result;
    result.OldFormat = true;
    TOldReader reader(FTree, FHost, fileName, target, result);
    reader.Run();
    Finish(FHost, fileName, result, reader);
    return result;
}
