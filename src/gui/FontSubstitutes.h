// Start-up font substitutions for the fonts the settings name.
//
// The stored settings keep the font names they always had ("ＭＳ ゴシック", "ＭＳ Ｐゴシック", "FixedSys").
// None of them exists on a Linux desktop; without help fontconfig falls back to a font with no Japanese
// glyphs. Every program that shows an editor calls RegisterFontSubstitutes() once after creating its
// QApplication, so that each name maps to an installed Japanese font of the same kind (fixed or
// proportional), in order of preference.
#pragma once

#include <QString>
#include <QStringList>

// Fixed-pitch Japanese fonts, best first (IPAGothic is 6 px per half-width character at 12 px).
QStringList FixedJapaneseFontFamilies();
// Proportional Japanese fonts, best first.
QStringList ProportionalJapaneseFontFamilies();

// Registers the substitutions for the names the settings use. Safe to call more than once.
void RegisterFontSubstitutes();

// The first of the fixed-pitch families that is installed, or an empty string.
QString InstalledFixedJapaneseFamily();
