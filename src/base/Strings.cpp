#include "base/Strings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/SafeFileWriter.h"

int TStrings::Add(std::string_view s) {
    const int index = GetCount();
    Insert(index, s);
    return index;
}

std::string TStrings::GetTextStr() const {
    const int n = GetCount();
    std::string text;
    for (int i = 0; i < n; ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetTextStr(std::string_view s) {
    Update update(*this);
    Clear();
    strings::ForEachLine(s, [this](std::string_view line) { Add(line); });
}

void TStrings::LoadFromFile(const std::string& fileName) {
    SetTextStr(strings::ReadFile(fileName));
}

void TStrings::SaveToFile(const std::string& fileName) const {
    strings::WriteFileAtomic(fileName, GetTextStr());
}

void TStrings::Assign(const TStrings& source) {
    if (&source == this) return;
    Update update(*this);
    Clear();
    const int n = source.GetCount();
    for (int i = 0; i < n; ++i) Add(source.Get(i));
}

void TStrings::BeginUpdate() {
    if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (FUpdateCount <= 0) return;
    if (--FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool updating) {
    if (!updating) Changed();
}

void TStrings::Changed() {
    if (FUpdateCount == 0 && FOnChange) FOnChange(*this);
}

std::string TStringList::Get(int i) const {
    if (i < 0 || i >= GetCount()) return {};
    return FLines[static_cast<std::size_t>(i)];
}

void TStringList::Put(int i, std::string_view s) {
    if (i < 0 || i >= GetCount()) return;
    FLines[static_cast<std::size_t>(i)] = std::string(s);
    Changed();
}

void TStringList::Insert(int i, std::string_view s) {
    if (i < 0 || i > GetCount()) return;
    FLines.insert(FLines.begin() + i, std::string(s));
    Changed();
}

void TStringList::Delete(int i) {
    if (i < 0 || i >= GetCount()) return;
    FLines.erase(FLines.begin() + i);
    Changed();
}

void TStringList::Clear() {
    if (FLines.empty()) return;
    FLines.clear();
    Changed();
}

namespace strings {

std::size_t EstimateLineCount(std::string_view text) noexcept {
    if (text.empty()) return 0;
    std::size_t lf = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    return text.back() == '\n' ? lf : lf + 1;
}

void ThrowFileError(const std::string& fileName, int error) {
    throw std::system_error(error ? error : EIO, std::generic_category(), fileName);
}

std::string ReadFile(const std::string& fileName) {
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f) ThrowFileError(fileName, errno);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, f);
        bytes.append(buffer, got);
        if (got < sizeof buffer) break;
    }
    const bool failed = std::ferror(f) != 0;
    const int error = errno;
    std::fclose(f);
    if (failed) ThrowFileError(fileName, error);
    return bytes;
}

void WriteFileAtomic(const std::string& fileName, std::string_view bytes) {
    TSafeFileWriter writer{std::filesystem::path(fileName)};
    if (!writer.Open() || !writer.Write(bytes) || !writer.Commit())
        throw std::system_error(std::make_error_code(std::errc::io_error), fileName + ": " + writer.Error());
}

}  // namespace strings
