// The 32-bit word stored beside every row of the editor's row list.
//
// Bits 0-3 hold the row end code, bits 4-7 the token scanner's bracket state at the start of the row plus 2
// (0 = not scanned yet, 1 = no open pair, 2..15 = open pair 0..13), bits 8-15 the token kind carried into
// the row from the row before. Bits 16-31 are always 0. A fresh row has word 0: a line break, not scanned,
// no carried kind.
#pragma once

#include <cstdint>

// How a row ends. reNone is only a result value ("no row") and a field of undo records, never stored.
enum TRowEnd : std::uint8_t {
    reLineBreak = 0,  // the row ends its logical line; a CR LF follows it in the text
    reWrapped = 1,    // the logical line continues on the next row
    reEndOfText = 2,  // the last row of the text, with no line break after it
    reNone = 3,
};

namespace rowword {

// Bracket state meaning "this row has not been scanned yet".
inline constexpr int kNotScanned = -2;
// Bracket state meaning "no bracket pair is open".
inline constexpr int kNoBracket = -1;

constexpr TRowEnd RowEnd(std::uint32_t word) noexcept {
    return static_cast<TRowEnd>(word & 0xFu);
}
constexpr int RowBracket(std::uint32_t word) noexcept {
    return static_cast<int>((word >> 4) & 0xFu) - 2;
}
constexpr int RowEntryKind(std::uint32_t word) noexcept {
    return static_cast<int>((word >> 8) & 0xFFu);
}

// Each setter keeps the other fields. (Setting the row end keeps the whole scanner state, bits 4-15.)
constexpr std::uint32_t WithRowEnd(std::uint32_t word, TRowEnd end) noexcept {
    return (word & 0xFFF0u) | (static_cast<std::uint32_t>(end) & 0xFu);
}
// bracket: -2..13; values outside are stored as "not scanned".
constexpr std::uint32_t WithRowBracket(std::uint32_t word, int bracket) noexcept {
    const std::uint32_t stored =
        (bracket >= -2 && bracket <= 13) ? static_cast<std::uint32_t>(bracket + 2) : 0u;
    return (word & 0xFF0Fu) | (stored << 4);
}
constexpr std::uint32_t WithRowEntryKind(std::uint32_t word, int kind) noexcept {
    return (word & 0x00FFu) | ((static_cast<std::uint32_t>(kind) & 0xFFu) << 8);
}
// A row word with the given scanner state and row end.
constexpr std::uint32_t Make(TRowEnd end, int bracket, int entryKind) noexcept {
    return WithRowEntryKind(WithRowBracket(static_cast<std::uint32_t>(end), bracket), entryKind);
}

}  // namespace rowword
