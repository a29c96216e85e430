// A settings file with private-profile semantics: "[Section]" headers and "Key=Value" lines, sections and
// keys found without regard to ASCII case, every write going to the file at once (nothing is cached), a new
// section added at the end of the file and a new key at the end of its section. Values are Shift-JIS bytes
// and pass through unchanged.
//
// A missing file reads as empty and is made by the first write. A file that exists but cannot be read (no
// permission, not a regular file, an input error) is not taken for an empty one: reads give their
// defaults, writes are refused and leave it as it is, and the error is reported once. A section, key or
// value that would break the file's lines (a CR or LF anywhere, "]" in a section name, "=" in a key, a key
// that starts with ";" or "[") is refused too: there is no escaping in the format.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class TIniFile {
public:
    explicit TIniFile(std::filesystem::path file) : FFile(std::move(file)) {}

    const std::filesystem::path& FileName() const { return FFile; }

    bool SectionExists(std::string_view section) const;
    // The value, or nothing when the section or the key is missing (also when the file is).
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // A decimal integer (or hexadecimal with "$" or "0x"); any other text, or a missing key, gives
    // defaultValue.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // True exactly when the text is "true" (so "TRUE" reads as false); a missing key gives defaultValue.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Each write rewrites the file (crash-safe). False when it could not be written or was refused (see
    // Error()).
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, int value);
    bool WriteBool(std::string_view section, std::string_view key, bool value);

    // The reason of the last failure, naming the file.
    const std::string& Error() const { return FError; }
    // Called with Error() when the file is found unreadable: once, and again only after it was read
    // successfully in between.
    void SetOnError(std::function<void(const std::string& message)> handler) {
        FOnError = std::move(handler);
    }
    // The last look at the file found it unreadable.
    bool Unreadable() const { return FUnreadable; }

    // The settings file of a program: the executable's path with its extension replaced by ".ini".
    static std::filesystem::path PathForExecutable(const std::filesystem::path& executable);
    // True when a file can be created in the folder of path (the writes go through a file beside it).
    static bool CanWriteBeside(const std::filesystem::path& path);
    // preferred when its folder can be written, else the file of the same name in fallbackFolder (an
    // installed program's folder is usually read-only).
    static std::filesystem::path ChooseWritable(const std::filesystem::path& preferred,
                                                const std::filesystem::path& fallbackFolder);

private:
    // The file's bytes, empty for a missing file; nothing when it exists but cannot be read.
    std::optional<std::string> Load() const;

    std::filesystem::path FFile;
    mutable std::string FError;
    mutable bool FUnreadable = false;
    mutable bool FReported = false;
    std::function<void(const std::string&)> FOnError;
};
