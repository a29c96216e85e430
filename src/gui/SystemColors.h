// Resolution of the option objects' colour numbers to Qt colours.
//
// Options keep the platform's colour numbers: a plain colour is 0x00BBGGRR, a system colour has the high
// bit set and its index in the low byte (clWindow = 0x80000005, clBtnFace = 0x8000000F ...). The widget
// turns them into QColor with its own palette, so the editor follows the desktop's colour scheme.
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

// System colour numbers as the options use them.
namespace syscolor {
constexpr std::uint32_t kSystemBit = 0x80000000u;
constexpr std::uint32_t kNone = 0x1FFFFFFFu;     // "no colour"
constexpr std::uint32_t kDefault = 0x20000000u;  // "the control's default colour"
}  // namespace syscolor

// The QColor of a colour number. System colours come from the palette (active group); kNone gives a
// transparent colour, kDefault the palette's base colour.
QColor ResolveColor(std::uint32_t color, const QPalette& palette);

// The colour number of a plain colour (0x00BBGGRR).
constexpr std::uint32_t RgbColor(int r, int g, int b) {
    return static_cast<std::uint32_t>(r & 0xFF) | (static_cast<std::uint32_t>(g & 0xFF) << 8) |
           (static_cast<std::uint32_t>(b & 0xFF) << 16);
}
