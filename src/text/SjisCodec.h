// Conversion between Shift-JIS bytes (code page 932 as Windows defines it) and Qt's Unicode strings.
//
// This is the only module that converts. CP932 and Unicode are not a bijection: several double-byte codes
// share one Unicode character (NEC and IBM duplicates) and many codes decode to nothing. Code that shows
// a text and later stores it must therefore keep the original bytes unless the user edited them.
#pragma once

#include <QString>
#include <string>
#include <string_view>

class SjisCodec {
public:
    // Decodes bytes; a byte or code with no Unicode character becomes U+FFFD.
    static QString ToUnicode(std::string_view bytes);
    // Encodes a string; a character with no CP932 code becomes '?'. Line breaks are kept as they are.
    static std::string FromUnicode(QStringView text);

    // Marks a code with no Unicode character (U+FFFF is a noncharacter that CP932 never produces).
    static constexpr char16_t kNoChar = 0xFFFF;

    // The Unicode character of one code: a single byte (0x00-0xFF) or a two-byte code (lead << 8 | trail).
    // kNoChar when the code has no character.
    static char16_t Decode(unsigned code);
    // The CP932 code of one character (single byte or lead << 8 | trail), or -1 when there is none.
    static int Encode(char16_t ch);
};
