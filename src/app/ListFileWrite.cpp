// TListFile: the writer and the shared message helpers.
#include <algorithm>
#include <cstdio>

#include "app/ListFile.h"
#include "base/SafeFileWriter.h"

namespace listfile {

std::string FormatMessage(std::string_view pattern, std::string_view arg) {
    std::string out(pattern);
    if (auto pos = out.find("%s"); pos != std::string::npos) out.replace(pos, 2, arg);
    return out;
}

int ProgressPercent(long records, long total) {
    if (total <= 0) return 0;
    long long n = static_cast<long long>(records) * 100;
    long long q = n / total, r = n % total;
    if (r < 0) {  // negative counts only come from a nonsense count line
        r += total;
        --q;
    }
    if (2 * r > total || (2 * r == total && (q & 1))) ++q;
    return static_cast<int>(q);
}

std::string ProgressText(int percent) {
    char number[16];
    std::snprintf(number, sizeof number, "%3d", percent);
    std::string out(number);
    out += kProgressPattern.substr(3);  // after "%3d"
    if (auto pos = out.find("%%"); pos != std::string::npos) out.erase(pos, 1);
    return out;
}

}  // namespace listfile

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 20;

void AppendHex2(std::string& out, unsigned value) {
    char digits[16];
    int n = std::snprintf(digits, sizeof digits, "%02X", value);
    out.append(digits, n);
}

// What keeps a field from reading back as it was written: a line break splits its line, a NUL byte is
// dropped by the reader. Empty when the field is fine.
const char* LineFault(std::string_view field) {
    for (char c : field) {
        if (c == '\r' || c == '\n') return "a line break";
        if (c == '\0') return "a NUL byte";
    }
    return nullptr;
}

// A tag in the text where the reader takes it for one: "#[DAT:" at a line start opens a record, "#[DATA:E]"
// ends the body (the lines up to "#[END]" would be lost); "#[END]" anywhere closes the record. A line that
// starts with "#[ADDR:" stays text but also sets the address: only the last one matters, and only when its
// value is not the address already. Empty when the text is fine.
std::string TextTagFault(std::string_view text, std::string_view address) {
    std::string_view lastAddress;
    bool sawAddress = false;
    // Every tag starts with '#': only those places are looked at.
    for (std::size_t pos = text.find('#'); pos != std::string_view::npos; pos = text.find('#', pos + 1)) {
        const std::string_view rest = text.substr(pos);
        if (rest.substr(0, 6) == "#[END]") return "#[END]";
        if (pos > 0 && text[pos - 1] != '\r' && text[pos - 1] != '\n') continue;
        for (std::string_view tag : {"#[DAT:", "#[DATA:E]"})
            if (rest.substr(0, tag.size()) == tag) return std::string(tag);
        if (rest.substr(0, 7) == "#[ADDR:") {
            const std::string_view line = rest.substr(0, rest.find_first_of("\r\n"));
            lastAddress = line.size() > 7 ? line.substr(7, line.size() - 8) : std::string_view();
            sawAddress = true;
        }
    }
    if (sawAddress && lastAddress != address) return "#[ADDR:";
    return {};
}

// Why the record cannot be written so that it reads back the same, or empty. (A tag in a name, date or
// address reads back the same: the reader takes those lines whole, and reports the tag as damage.)
std::string RecordFault(const TDocumentRecord& r) {
    for (auto [field, what] :
         {std::pair<std::string_view, const char*>{r.Name, "name"}, {r.Address, "address"}, {r.Date, "date"}})
        if (const char* fault = LineFault(field)) return std::string("its ") + what + " holds " + fault;
    if (std::string tag = TextTagFault(r.Text, r.Address); !tag.empty())
        return "its text holds the list format's tag " + tag + " where it would be read as one";
    return {};
}

// The number of records to write; 0 with error set when one of them would not read back the same (error
// tells which, by its number in pre-order from 1, and why).
std::size_t CountAndCheck(const TDocumentTree& tree, const TDocumentNode* group, std::string& error) {
    std::size_t count = 0;
    tree.ForEachPreOrder(group, [&](TDocumentNode* node, int) {
        ++count;
        if (!error.empty()) return;
        std::string fault = RecordFault(node->Record());
        if (!fault.empty()) error = "record " + std::to_string(count) + " " + fault + "; nothing was written";
    });
    return error.empty() ? count : 0;
}

// Writes the count records in pieces of about kChunk bytes to sink(string_view) -> bool.
template <class Sink>
bool WriteRecords(const TDocumentTree& tree, const TDocumentNode* group, std::size_t count, Sink&& sink) {
    std::string buf;
    buf.reserve(kChunk + 4096);
    buf += listfile::kHeaderLine;
    buf += "\r\n#[FILETYPE:";
    buf += listfile::kFileType;
    buf += "]\r\n#[DOCCOUNT:";
    buf += std::to_string(count);
    buf += "]\r\n";

    bool ok = true;
    tree.ForEachPreOrder(group, [&](TDocumentNode* node, int depth) {
        if (!ok) return;
        const TDocumentRecord& r = node->Record();
        buf += "#[DAT:";
        // The reader takes both fields at fixed places: the depth is capped at FF (deeper nodes come back
        // as children of the last node at that depth) and the date is kept to exactly 8 characters.
        AppendHex2(buf, static_cast<unsigned>(std::min(depth, 0xFF)));
        AppendHex2(buf, static_cast<unsigned>(r.Kind) & 0xFF);
        buf += ':';
        if (r.Date.size() == 8) {
            buf += r.Date;
        } else {
            std::string date = r.Date.substr(0, 8);
            date.resize(8, '0');
            buf += date;
        }
        buf += ':';
        buf += r.Name;
        buf += "]\r\n#[ADDR:";
        buf += r.Address;
        buf += "]\r\n#[DATA:S]\r\n";
        if (r.Text.size() >= kChunk) {
            ok = sink(std::string_view(buf)) && sink(std::string_view(r.Text));
            buf.clear();
        } else {
            buf += r.Text;
        }
        buf += "\r\n#[DATA:E]\r\n#[END]\r\n";
        if (buf.size() >= kChunk) {
            ok = ok && sink(std::string_view(buf));
            buf.clear();
        }
    });
    return ok && sink(std::string_view(buf));
}

}  // namespace

std::string TListFile::Serialize(const TDocumentNode* group) const {
    std::string out, error;
    const std::size_t count = CountAndCheck(FTree, group, error);
    if (!error.empty()) return out;
    WriteRecords(FTree, group, count, [&out](std::string_view piece) {
        out += piece;
        return true;
    });
    return out;
}

bool TListFile::WriteListFile(const std::filesystem::path& fileName, const TDocumentNode* group) {
    FRefusedReadOnly = false;
    if (group && !group->HasChildren()) return true;  // nothing to export: no file is created or changed
    std::string error;
    const std::size_t count = CountAndCheck(FTree, group, error);
    if (!error.empty()) {
        FHost.ShowIoError(fileName, error);
        return false;
    }
    TSafeFileWriter out(fileName);
    out.SetReplaceReadOnly(FReplaceReadOnly);
    bool ok =
        out.Open() &&
        WriteRecords(FTree, group, count, [&out](std::string_view piece) { return out.Write(piece); }) &&
        out.Commit();
    if (!ok) {
        FRefusedReadOnly = out.RefusedReadOnly();
        FHost.ShowIoError(fileName, out.Error());
        return false;
    }
    if (!group) FHost.SetModified(false);
    return true;
}
