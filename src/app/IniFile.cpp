#include "app/IniFile.h"

#include <new>
#include <system_error>
#include <vector>

#include "base/SafeFileWriter.h"
#include "base/Strings.h"
#include "text/ShiftJis.h"

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// ASCII letters match without regard to case; the trail byte of a two-byte character is compared as is
// (it may look like a letter).
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (sjis::IsLeadByte(x) && i + 1 < a.size()) {
            if (x != y || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (x >= 'a' && x <= 'z') x -= 32;
        if (y >= 'a' && y <= 'z') y -= 32;
        if (x != y) return false;
    }
    return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t lf = text.find('\n', start);
        std::size_t end = lf == std::string_view::npos ? text.size() : lf;
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (lf == std::string_view::npos) break;
        start = lf + 1;
    }
    return lines;
}

// "[name]" -> name; nothing for other lines.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    std::size_t close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

// "key=value" -> key; nothing for comments and other lines.
std::optional<std::string_view> KeyName(std::string_view line, std::string_view* value = nullptr) {
    std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    if (value) {
        std::string_view v = Trim(t.substr(eq + 1));
        // One pair of surrounding quotes is taken off, as the system's profile reader does.
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        *value = v;
    }
    return Trim(t.substr(0, eq));
}

// Index of the section's header line, or -1.
long FindSection(const std::vector<std::string_view>& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (auto name = SectionName(lines[i]); name && SameName(*name, section)) return static_cast<long>(i);
    return -1;
}

std::optional<int> ParseInteger(std::string_view s) {
    s = Trim(s);
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() > 1 && s[0] == '$') {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return std::nullopt;
    long long value = 0;
    for (char c : s) {
        int d = (c >= '0' && c <= '9')                 ? c - '0'
                : (base == 16 && c >= 'a' && c <= 'f') ? c - 'a' + 10
                : (base == 16 && c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                       : -1;
        if (d < 0) return std::nullopt;
        value = value * base + d;
        if (value > 0x80000000LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 0x7FFFFFFF || value < -0x7FFFFFFFLL - 1) return std::nullopt;
    return static_cast<int>(value);
}

// Why an entry cannot be written so that it reads back as given; null when it can.
const char* EntryFault(std::string_view section, std::string_view key, std::string_view value) {
    auto hasBreak = [](std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; };
    if (hasBreak(section) || hasBreak(key) || hasBreak(value)) return "a line break";
    if (section.find(']') != std::string_view::npos) return "a section name with \"]\"";
    if (key.find('=') != std::string_view::npos) return "a key with \"=\"";
    std::string_view k = Trim(key);
    if (!k.empty() && (k.front() == ';' || k.front() == '[')) return "a key that starts with \";\" or \"[\"";
    return nullptr;
}

}  // namespace

std::optional<std::string> TIniFile::Load() const {
    std::error_code error;
    try {
        std::string text = strings::ReadFile(FFile);
        FUnreadable = FReported = false;
        return text;
    } catch (const std::system_error& e) {
        error = e.code();
    } catch (const std::bad_alloc&) {
        error = std::make_error_code(std::errc::not_enough_memory);
    }
    if (error == std::errc::no_such_file_or_directory) {
        FUnreadable = FReported = false;
        return std::string();
    }
    FUnreadable = true;
    FError = FFile.string() + ": the settings file cannot be read (" + error.message() +
             "); it is kept as it is and no setting is saved";
    if (!FReported) {
        FReported = true;
        if (FOnError) FOnError(FError);
    }
    return std::nullopt;
}

bool TIniFile::SectionExists(std::string_view section) const {
    std::string text = Load().value_or(std::string());
    return FindSection(SplitLines(text), section) >= 0;
}

std::optional<std::string> TIniFile::Read(std::string_view section, std::string_view key) const {
    std::string text = Load().value_or(std::string());
    auto lines = SplitLines(text);
    long at = FindSection(lines, section);
    if (at < 0) return std::nullopt;
    for (std::size_t i = at + 1; i < lines.size() && !SectionName(lines[i]); ++i) {
        std::string_view value;
        if (auto name = KeyName(lines[i], &value); name && SameName(*name, key)) return std::string(value);
    }
    return std::nullopt;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    auto value = Read(section, key);
    return value ? *value : std::string(defaultValue);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    auto value = Read(section, key);
    if (!value) return defaultValue;
    return ParseInteger(*value).value_or(defaultValue);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadString(section, key, defaultValue ? "true" : "false") == "true";
}

bool TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    if (const char* fault = EntryFault(section, key, value)) {
        FError = FFile.string() + ": a setting with " + fault + " cannot be stored";
        return false;
    }
    std::optional<std::string> text = Load();
    if (!text) return false;
    auto lines = SplitLines(*text);
    std::string entry = std::string(key) + "=" + std::string(value);

    long at = FindSection(lines, section);
    std::vector<std::string> out(lines.begin(), lines.end());
    if (at < 0) {
        out.push_back("[" + std::string(section) + "]");
        out.push_back(entry);
    } else {
        std::size_t last = at;  // last line of the section that is not empty
        bool replaced = false;
        std::size_t i = at + 1;
        for (; i < lines.size() && !SectionName(lines[i]); ++i) {
            if (auto name = KeyName(lines[i]); name && SameName(*name, key)) {
                out[i] = std::string(*name) + "=" + std::string(value);
                replaced = true;
                break;
            }
            if (!Trim(lines[i]).empty()) last = i;
        }
        if (!replaced) out.insert(out.begin() + last + 1, entry);
    }

    std::string bytes;
    for (const auto& line : out) bytes += line + "\r\n";
    TSafeFileWriter writer(FFile);
    if (!writer.Open() || !writer.Write(bytes) || !writer.Commit()) {
        FError = FFile.string() + ": " + writer.Error();
        return false;
    }
    return true;
}

bool TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    return WriteString(section, key, std::to_string(value));
}

bool TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    return WriteString(section, key, value ? "true" : "false");
}

std::filesystem::path TIniFile::PathForExecutable(const std::filesystem::path& executable) {
    std::filesystem::path ini = executable;
    ini.replace_extension(".ini");
    return ini;
}

bool TIniFile::CanWriteBeside(const std::filesystem::path& path) {
    std::filesystem::path probe = path;
    probe += ".probe";
    TSafeFileWriter writer(probe);
    return writer.Open();  // the temporary file goes away with the writer
}

std::filesystem::path TIniFile::ChooseWritable(const std::filesystem::path& preferred,
                                               const std::filesystem::path& fallbackFolder) {
    if (CanWriteBeside(preferred)) return preferred;
    return fallbackFolder / preferred.filename();
}
