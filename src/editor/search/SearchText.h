// Text search over Shift-JIS text: the routine behind Find, Replace, Replace All and the quick-find field.
//
// SearchText looks for a pattern in a whole text, forward or backward from the current match, never starting
// or ending a match inside a double-byte character. Options compare without case, accept only whole words,
// let half-width characters match their full-width forms, and skip line breaks or spaces inside a match.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Search flags (a 16-bit set).
enum TSearchFlag : std::uint16_t {
    sfForward = 0x0001,           // towards the end of the text; without it towards the start
    sfMatchCase = 0x0002,         // compare exactly; without it ASCII and full-width Latin letters fold
    sfWholeWord = 0x0004,         // a match must begin at a word start and be followed by a delimiter
    sfIgnoreWidth = 0x0008,       // half-width characters match their full-width forms
    sfReplaceAll = 0x0020,        // passed by the find dialog during Replace All; the search ignores it
    sfIgnoreLineBreaks = 0x0080,  // CR and LF inside a match in the text are skipped
    sfIgnoreSpaces = 0x0100,  // tab, space and the full-width space inside a match in the text are skipped
};
using TSearchFlags = std::uint16_t;

// The current match or selection on entry, the new match on success (byte offsets into the text). Length
// counts every text byte the match covers, skipped bytes included.
struct TSearchPosition {
    std::ptrdiff_t Start = 0;
    std::ptrdiff_t Length = 0;
};

// Searches `text` for `pattern`. Forward, the search begins after the current match (Start + Length);
// backward, a match may end where the current one begins. Returns false at once for an empty text or pattern
// and for a position outside the text; on failure `pos` is left as it was. Every byte of the text, a zero
// byte too, is searched: the text ends at text.size().
bool SearchText(std::string_view text, TSearchPosition& pos, std::string_view pattern, TSearchFlags flags);
