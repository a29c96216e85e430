// Width normalisation of Shift-JIS text: every half-width character becomes its full-width (JIS X 0208) form.
//
// The search's "ignore width" option compares texts through this conversion, so that ASCII letters, digits
// and signs match their full-width forms and half-width katakana (with its voicing marks) matches full-width
// katakana. Double-byte characters are left as they are.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fullwidth {

// The full-width form of one single byte: one or two bytes. Bytes without a full-width form (control
// characters, 0x7F, 0x80, 0xA0, 0xFD-0xFF, and lead bytes that stand alone) stay themselves (size 1).
struct TWide {
    std::uint8_t Size;
    std::uint8_t Bytes[2];
};
const TWide& Of(unsigned char c) noexcept;

// True when the half-width kana `kana` followed by the mark `mark` (0xDE dakuten, 0xDF handakuten) forms one
// voiced character: カ-ト, ハ-ホ and ウ take the dakuten, ハ-ホ the handakuten. Any other pair is two
// characters.
bool IsVoicedPair(unsigned char kana, unsigned char mark) noexcept;

// The two bytes of the voiced full-width katakana of a pair for which IsVoicedPair holds.
TWide Voiced(unsigned char kana, unsigned char mark) noexcept;

// JIS X 0208 code (row byte, cell byte; both 0x21-0x7E) to its Shift-JIS code, lead byte in the high half.
constexpr std::uint16_t JisToShiftJis(std::uint16_t jis) noexcept {
    const unsigned row = jis >> 8, cell = jis & 0xFF;
    unsigned lead = ((row - 0x21) >> 1) + 0x81;
    if (lead > 0x9F) lead += 0x40;
    unsigned trail;
    if (row & 1)
        trail = cell + (cell < 0x60 ? 0x1F : 0x20);  // odd rows: 0x40-0x7E, 0x80-0x9E (0x7F is skipped)
    else
        trail = cell + 0x7E;  // even rows: 0x9F-0xFC
    return static_cast<std::uint16_t>((lead << 8) | trail);
}

}  // namespace fullwidth

// The width normalisation applied to a whole string: double-byte characters are copied, a voiceable
// half-width kana with its mark becomes one voiced character, every other byte is replaced by its full-width
// form.
std::string ToFullWidth(std::string_view text);
