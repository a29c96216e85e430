// Word wrap of one Shift-JIS line inside a printed column, with tab expansion.
//
// A line breaks between words (after a run of spaces or a tab, which hang at the end of the paper line and
// are not carried to the next one), before and after every two-byte character and half-width kana (Japanese
// has no spaces), and inside a word only when the word alone is wider than the column. A two-byte character
// is never split. Every paper line holds at least one character, so a column narrower than a character
// still makes progress. Tabs advance to the next multiple of the tab width, counted from the start of each
// paper line.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "text/ShiftJis.h"

// Advance widths of characters in printer pixels, from the font.
class TCharWidths {
public:
    virtual ~TCharWidths() = default;
    // code: a single byte (0x00-0xFF) or a two-byte character (lead << 8 | trail).
    virtual double Measure(unsigned code) = 0;
};

class TTextWrapper {
public:
    // A byte range [Begin, End) of the line.
    struct TSpan {
        std::size_t Begin = 0;
        std::size_t End = 0;
        bool operator==(const TSpan&) const = default;
    };

    TTextWrapper(TCharWidths& widths, double columnWidth, double tabWidth);

    // Appends the paper lines of line to out (an empty line gives one empty paper line).
    void Wrap(std::string_view line, std::vector<TSpan>& out);

    // Calls f(begin, end, x) for each tab-free run of the paper line span, x being its offset from the
    // column's left edge.
    template <class F>
    void ForEachRun(std::string_view line, TSpan span, F&& f);

    // Width of the character at line[pos] of length len, drawn at x (tabs depend on x).
    double Advance(std::string_view line, std::size_t pos, std::size_t len, double x);

    double ColumnWidth() const { return FColumnWidth; }
    double TabWidth() const { return FTabWidth; }

private:
    double CodeWidth(unsigned code);

    TCharWidths& FWidths;
    double FColumnWidth;
    double FTabWidth;
    // Cached widths; a negative value has not been measured yet.
    std::vector<double> FSingle;
    std::vector<double> FDouble;  // index: code - 0x8000
};

template <class F>
void TTextWrapper::ForEachRun(std::string_view line, TSpan span, F&& f) {
    double x = 0;
    std::size_t runStart = span.Begin;
    double runX = 0;
    std::size_t p = span.Begin;
    while (p < span.End) {
        const std::size_t len = sjis::CharLength(line, p);
        if (line[p] == '\t') {
            if (p > runStart) f(runStart, p, runX);
            x += Advance(line, p, 1, x);
            runStart = p + 1;
            runX = x;
        } else {
            x += Advance(line, p, len, x);
        }
        p += len;
    }
    if (span.End > runStart) f(runStart, span.End, runX);
}
