// A small string-list abstraction: ordered lines of Shift-JIS bytes with an update counter and a change
// event. The editor's logical-line view (TEditorStrings) implements it over the row list; TStringList is a
// plain implementation over a vector. Consumers such as the strings printer take a `const TStrings&`.
//
// Line breaks are not part of the lines. The whole text (GetTextStr) puts CR LF after every line; setting
// it (SetTextStr) splits at CR LF, a lone CR and a lone LF, and a final line break adds no empty line.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

class TStrings {
public:
    using TNotifyEvent = std::function<void(TStrings& sender)>;

    TStrings() = default;
    TStrings(const TStrings&) = delete;
    TStrings& operator=(const TStrings&) = delete;
    virtual ~TStrings() = default;

    virtual int GetCount() const = 0;
    // Line i; an index out of range gives an empty string.
    virtual std::string Get(int i) const = 0;
    // Out-of-range indexes do nothing.
    virtual void Put(int i, std::string_view s) = 0;
    virtual void Insert(int i, std::string_view s) = 0;
    virtual void Delete(int i) = 0;
    // Appends a line; returns its index.
    virtual int Add(std::string_view s);
    virtual void Clear() = 0;

    int Count() const { return GetCount(); }

    // All lines, each followed by CR LF.
    virtual std::string GetTextStr() const;
    // Replaces all lines by the lines of s.
    virtual void SetTextStr(std::string_view s);
    // Replaces all lines by those of a file's bytes. Throws std::system_error naming the file when it cannot
    // be opened or read, or is not a regular file.
    virtual void LoadFromFile(const std::filesystem::path& fileName);
    // Writes GetTextStr() to a file: into a temporary file beside it first, which then replaces the target,
    // so a failed write leaves the old file as it was. Throws std::system_error naming the file on failure
    // (also for a read-only file).
    virtual void SaveToFile(const std::filesystem::path& fileName) const;
    // Copies the lines of another list.
    virtual void Assign(const TStrings& source);

    // Bundles changes: OnChange fires once, when the outermost EndUpdate is reached.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    class Update {
    public:
        explicit Update(TStrings& target) : FTarget(target) { FTarget.BeginUpdate(); }
        ~Update() { FTarget.EndUpdate(); }
        Update(const Update&) = delete;
        Update& operator=(const Update&) = delete;

    private:
        TStrings& FTarget;
    };

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }

protected:
    // Called when the update counter goes from 0 to 1 (true) and back to 0 (false). The default fires the
    // change event on leaving.
    virtual void SetUpdateState(bool updating);
    // Fires OnChange unless an update is open.
    void Changed();

private:
    int FUpdateCount = 0;
    TNotifyEvent FOnChange;
};

// Plain list of lines.
class TStringList : public TStrings {
public:
    TStringList() = default;
    explicit TStringList(std::vector<std::string> lines) : FLines(std::move(lines)) {}

    int GetCount() const override { return static_cast<int>(FLines.size()); }
    std::string Get(int i) const override;
    void Put(int i, std::string_view s) override;
    void Insert(int i, std::string_view s) override;
    void Delete(int i) override;
    void Clear() override;
    const std::vector<std::string>& Lines() const { return FLines; }

private:
    std::vector<std::string> FLines;
};

namespace strings {

// Calls f(line) for each line of text. A line ends at LF or CR; after a line one CR and then one LF are
// skipped, so CR LF, a lone CR and a lone LF each end a line. A text that ends with a line break has no
// empty line after it; an empty text has no lines. Other bytes (NUL included) are line content.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* start = p;
        while (p < end && *p != '\n' && *p != '\r') ++p;
        f(std::string_view(start, static_cast<std::size_t>(p - start)));
        if (p < end && *p == '\r') ++p;
        if (p < end && *p == '\n') ++p;
    }
}

// Number of lines ForEachLine will produce, from the LF bytes (exact for texts with CR LF or LF breaks,
// a lower bound with lone CRs): used to size lists once.
std::size_t EstimateLineCount(std::string_view text) noexcept;

// Reads a whole regular file. Throws std::system_error naming the file (for a missing file its code is
// std::errc::no_such_file_or_directory).
std::string ReadFile(const std::filesystem::path& fileName);
// Writes bytes crash-safe (see TSafeFileWriter). Throws std::system_error naming the file.
void WriteFileAtomic(const std::filesystem::path& fileName, std::string_view bytes);
// Throws std::system_error for errno `error` with a message that names the file.
[[noreturn]] void ThrowFileError(const std::filesystem::path& fileName, int error);
[[noreturn]] void ThrowFileError(const std::filesystem::path& fileName, const std::error_code& error);

}  // namespace strings
