// Shift-JIS (code page 932) byte rules shared by every part of the program.
//
// All text in memory is Shift-JIS bytes in std::string. A byte 0x81-0x9F or 0xE0-0xFC is a lead byte and
// forms one character with the byte after it; nothing in the program may split such a pair. These helpers
// are the only place that knows the ranges.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sjis {

// True for a lead byte of a two-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsLeadByte(unsigned char c) noexcept {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
constexpr bool IsLeadByte(char c) noexcept {
    return IsLeadByte(static_cast<unsigned char>(c));
}

// True for a byte that may follow a lead byte in a valid two-byte code (0x40-0x7E, 0x80-0xFC).
constexpr bool IsTrailByte(unsigned char c) noexcept {
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}
constexpr bool IsTrailByte(char c) noexcept {
    return IsTrailByte(static_cast<unsigned char>(c));
}

// Half-width katakana and its punctuation (0xA1-0xDF): single bytes that show as Japanese.
constexpr bool IsHalfWidthKana(unsigned char c) noexcept {
    return c >= 0xA1 && c <= 0xDF;
}

// Length in bytes of the character that starts at text[pos]: 2 for a lead byte followed by another byte,
// 1 otherwise (a lead byte at the very end counts alone). 0 at or past the end.
std::size_t CharLength(std::string_view text, std::size_t pos) noexcept;

// Position of the character after the one at pos (never past text.size()).
std::size_t NextCharPos(std::string_view text, std::size_t pos) noexcept;

// Start of the character that ends just before pos, found by walking from the start of the text (the only
// safe way: a trail byte may look like a lead byte). pos 0 gives 0.
std::size_t PrevCharPos(std::string_view text, std::size_t pos) noexcept;

// The largest character boundary that is <= pos: pos itself, or pos - 1 when pos falls on a trail byte.
std::size_t CharStart(std::string_view text, std::size_t pos) noexcept;

// True when pos (0..size) falls on a character boundary.
bool IsCharBoundary(std::string_view text, std::size_t pos) noexcept;

// Number of characters in the text.
std::size_t CharCount(std::string_view text) noexcept;

}  // namespace sjis
