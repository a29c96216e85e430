#include "base/Strings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/OpenFile.h"
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

void TStrings::LoadFromFile(const std::filesystem::path& fileName) {
    SetTextStr(strings::ReadFile(fileName));
}

void TStrings::SaveToFile(const std::filesystem::path& fileName) const {
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

void ThrowFileError(const std::filesystem::path& fileName, int error) {
    ThrowFileError(fileName, std::error_code(error ? error : EIO, std::generic_category()));
}

void ThrowFileError(const std::filesystem::path& fileName, const std::error_code& error) {
    throw std::system_error(error, fileName.string());
}

std::string ReadFile(const std::filesystem::path& fileName) {
    std::error_code error;
    TFilePtr f = OpenRegularFile(fileName, error);
    if (!f) ThrowFileError(fileName, error);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        errno = 0;
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, f.get());
        bytes.append(buffer, got);
        if (got < sizeof buffer) break;
    }
    if (std::ferror(f.get())) ThrowFileError(fileName, errno);
    return bytes;
}

void WriteFileAtomic(const std::filesystem::path& fileName, std::string_view bytes) {
    TSafeFileWriter writer{fileName};
    if (!writer.Open() || !writer.Write(bytes) || !writer.Commit()) {
        const auto code = writer.RefusedReadOnly() ? std::errc::permission_denied : std::errc::io_error;
        throw std::system_error(std::make_error_code(code), fileName.string() + ": " + writer.Error());
    }
}

}  // namespace strings
