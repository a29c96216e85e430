// The settings file reader on arbitrary files: reads never fail, and a write of a fuzz-chosen value changes
// exactly that value: read back it is the value written (trimmed, one pair of quotes off, as values always
// read), and another fuzz-chosen entry reads as before.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "app/IniFile.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFolder.h"

namespace {

// A short name or value taken from the input.
std::string Piece(const std::uint8_t*& data, std::size_t& size) {
    if (size == 0) return {};
    const std::size_t n = std::min<std::size_t>(data[0] % 8, size - 1);
    std::string s(reinterpret_cast<const char*>(data) + 1, n);
    data += n + 1;
    size -= n + 1;
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string section = Piece(data, size), key = Piece(data, size), value = Piece(data, size);
    const std::string otherSection = Piece(data, size), otherKey = Piece(data, size);
    const std::filesystem::path file = FuzzFolder() / "settings.ini";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    // The program's own names are plain words: no blanks around them, never empty.
    const auto plainName = [](const std::string& n) {
        return !n.empty() && n.front() != ' ' && n.front() != '\t' && n.back() != ' ' && n.back() != '\t';
    };
    if (!plainName(section) || !plainName(key)) return 0;
    TIniFile ini(file);
    const std::optional<std::string> other = ini.Read(otherSection, otherKey);
    ini.ReadInteger(section, key, 7);
    ini.ReadBool(section, key, false);
    if (!ini.WriteString(section, key, value)) return 0;  // refused names or values leave the file alone

    TIniFile back(file);
    const std::optional<std::string> written = back.Read(section, key);
    FUZZ_CHECK(written.has_value());
    // Values read trimmed of surrounding blanks and of one pair of surrounding quotes.
    std::string expected = value;
    const auto b = expected.find_first_not_of(" \t"), e = expected.find_last_not_of(" \t");
    expected = b == std::string::npos ? std::string() : expected.substr(b, e - b + 1);
    if (expected.size() >= 2 && (expected.front() == '"' || expected.front() == '\'') &&
        expected.back() == expected.front())
        expected = expected.substr(1, expected.size() - 2);
    FUZZ_CHECK(*written == expected);
    // Names match without regard to ASCII case.
    const auto same = [](std::string a, std::string b) {
        for (auto* s : {&a, &b})
            for (char& c : *s)
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        return a == b;
    };
    if (!same(otherSection, section) || !same(otherKey, key))
        FUZZ_CHECK(back.Read(otherSection, otherKey) == other);
    return 0;
}
