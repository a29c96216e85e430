// The words no name, address or text may contain, because the list file has no escaping and would take
// them for its own tags.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// Tested in this order; the first one that occurs anywhere in a text wins. The first entry has no "#["
// prefix on purpose: any text with the letters FILETYPE is refused.
inline constexpr std::array<std::string_view, 6> ForbiddenWords = {
    "FILETYPE", "#[DAT:", "#[ADDR:", "#[DATA:E]", "#[DATA:S]", "#[END]",
};

// "使用できない単語があります。", the warning the caller shows when a word was found.
inline constexpr std::string_view kForbiddenWordWarning =
    "\x8E\x67\x97\x70\x82\xC5\x82\xAB\x82\xC8\x82\xA2\x92\x50\x8C\xEA\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7"
    "\x81\x42";

struct TForbiddenWordMatch {
    bool Found = false;
    std::size_t Pos = 0;  // byte offset of the first occurrence (CR LF counts 2, as SelStart does)
    std::size_t Len = 0;  // length of the word in bytes
    std::string_view Word;

    explicit operator bool() const { return Found; }
};

// Case-sensitive search for the entries of ForbiddenWords in table order. The search does not show the
// warning: the caller (the window) shows kForbiddenWordWarning once when Found is set.
TForbiddenWordMatch FindForbiddenWord(std::string_view text);
