// Value types shared by the editor's layers: colour numbers, cursor numbers, font styles and the small
// enumerations of the options, the delimiter set and the reserved-word list, plus the editor model's
// exception types.
//
// Colours are the platform colour numbers: a plain colour is 0x00BBGGRR, a system colour has the high bit
// set and its index in the low byte. The control resolves them to real colours when it paints.
#pragma once

#include <bitset>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

using TColor = std::uint32_t;

constexpr TColor clWindow = 0x80000005u;
constexpr TColor clWindowText = 0x80000008u;
constexpr TColor clBtnFace = 0x8000000Fu;
constexpr TColor clBtnText = 0x80000012u;
constexpr TColor clNavy = 0x800000u;
constexpr TColor clWhite = 0xFFFFFFu;
constexpr TColor clGray = 0x808080u;

// A cursor number: the built-in cursors are negative, registered ones count from 1 up.
using TCursor = std::int16_t;

constexpr TCursor crDefault = 0;
constexpr TCursor crIBeam = -4;
constexpr TCursor crDrag = -12;

// A set of font styles, one bit per style.
using TFontStyles = std::uint8_t;

constexpr TFontStyles fsBold = 0x01;
constexpr TFontStyles fsItalic = 0x02;
constexpr TFontStyles fsUnderline = 0x04;
constexpr TFontStyles fsStrikeOut = 0x08;
constexpr TFontStyles kAllFontStyles = fsBold | fsItalic | fsUnderline | fsStrikeOut;

// 256-bit set of delimiter bytes (bit n set for byte value n).
using TDelimiters = std::bitset<256>;

// Reserved words for colouring: kept sorted without regard to ASCII case, duplicates ignored.
using TReserveWordList = std::vector<std::string>;

enum TDragMode : std::uint8_t { dmManual, dmAutomatic };
enum TEditorCaretStyle : std::uint8_t { csDefault, csBrief };
enum TEditorShowNumberMode : std::uint8_t { nmRow, nmLine };

// Base of the exceptions the editor model raises.
class EEditorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An item was added to a list that is already full.
class EEditorListError : public EEditorError {
public:
    using EEditorError::EEditorError;
};
