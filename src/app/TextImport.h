// Bringing an outside file into a document: the checks before it is read, the recognition of its encoding
// and the conversion to Shift-JIS.
//
// Plain text files come from everywhere today: most are UTF-8, some UTF-16 with a byte-order mark, a few
// still Shift-JIS. Text in a record is always Shift-JIS, so a Unicode file is converted, and every character
// that has no Shift-JIS form is counted (with the first one and its line) so that the window can say so
// before the document is added. A file that is not recognisably Unicode is taken as it is, byte for byte.
//
// Plain C++: the one Unicode-to-Shift-JIS table of the program is passed in (SjisCodec::Encode).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace textimport {

// Larger files are refused before anything is read.
inline constexpr std::uintmax_t kMaxImportSize = std::uintmax_t{512} << 20;

enum class TFileCheck {
    Ok,
    Missing,         // nothing of that name (or it cannot be looked at)
    Directory,       // a folder
    NotRegularFile,  // a device, pipe or socket: reading it might never end
    TooLarge,        // over the size limit
};
// Looks at the file without opening it.
TFileCheck CheckFile(const std::filesystem::path& file, std::uintmax_t maxSize = kMaxImportSize);

enum class TEncoding {
    Bytes,    // neither valid UTF-8 with non-ASCII bytes nor marked as Unicode: taken as it is
    Utf8,     // valid UTF-8 with at least one non-ASCII character, no byte-order mark
    Utf8Bom,  // EF BB BF
    Utf16LE,  // FF FE
    Utf16BE,  // FE FF
};
TEncoding DetectEncoding(std::string_view raw);

// The Shift-JIS code of one UTF-16 unit (a single byte, or lead << 8 | trail), or -1 when it has none.
using TEncoder = int (*)(char16_t);

struct TConversion {
    TEncoding Encoding = TEncoding::Bytes;
    std::string Text;              // Shift-JIS bytes, line breaks as in the file
    std::size_t Unconvertible = 0;  // characters without a Shift-JIS form, each written as '?'
    char32_t FirstUnconvertible = 0;
    long FirstUnconvertibleLine = 0;  // 1-based; lines end at CR LF, CR or LF
};
// The file's bytes as Shift-JIS. A byte-order mark is dropped; a byte sequence that is not valid in the
// marked encoding counts as one unconvertible character (U+FFFD).
TConversion ToShiftJis(std::string_view raw, TEncoder encode);

// The text split into lines (ending at CR LF, a lone CR or a lone LF), each line followed by CR LF: the form
// of a record's text. NUL bytes are dropped (the list file cannot hold them). An empty text stays empty.
std::string AsLines(std::string_view text);

}  // namespace textimport
