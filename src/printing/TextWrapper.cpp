#include "printing/TextWrapper.h"

#include <cmath>

#include "text/ShiftJis.h"

TTextWrapper::TTextWrapper(TCharWidths& widths, double columnWidth, double tabWidth)
    : FWidths(widths),
      FColumnWidth(columnWidth),
      FTabWidth(tabWidth > 0 ? tabWidth : 1),
      FSingle(256, -1.0),
      FDouble(0x8000, -1.0) {}

double TTextWrapper::CodeWidth(unsigned code) {
    double* slot = code < 0x100 ? &FSingle[code] : &FDouble[(code - 0x8000) & 0x7FFF];
    if (*slot < 0) *slot = FWidths.Measure(code);
    return *slot;
}

double TTextWrapper::Advance(std::string_view line, std::size_t pos, std::size_t len, double x) {
    const unsigned char c = static_cast<unsigned char>(line[pos]);
    if (c == '\t') return (std::floor(x / FTabWidth) + 1) * FTabWidth - x;
    if (len == 2)
        return CodeWidth((static_cast<unsigned>(c) << 8) | static_cast<unsigned char>(line[pos + 1]));
    return CodeWidth(c);
}

void TTextWrapper::Wrap(std::string_view line, std::vector<TSpan>& out) {
    const std::size_t n = line.size();
    std::size_t lineStart = 0;
    // Where the paper line may end (breakEnd) and the next one start (breakNext); equal to lineStart while
    // the paper line offers no break.
    std::size_t breakEnd = 0;
    std::size_t breakNext = 0;
    bool inBlanks = false;
    bool emitted = false;
    double x = 0;
    std::size_t p = 0;

    auto startLine = [&](std::size_t at) {
        lineStart = breakEnd = breakNext = p = at;
        inBlanks = false;
        x = 0;
    };
    auto emit = [&](std::size_t end) {
        out.push_back({lineStart, end});
        emitted = true;
    };
    auto skipBlanks = [&](std::size_t at) {
        while (at < n && (line[at] == ' ' || line[at] == '\t')) ++at;
        return at;
    };

    while (p < n) {
        const unsigned char c = static_cast<unsigned char>(line[p]);
        if (c == ' ' || c == '\t') {
            // Blanks never push the text before them to the next line; they hang past the edge.
            if (!inBlanks) breakEnd = p;
            inBlanks = true;
            x += Advance(line, p, 1, x);
            ++p;
            breakNext = p;
            if (x > FColumnWidth) {
                emit(breakEnd);
                startLine(skipBlanks(p));
            }
            continue;
        }
        inBlanks = false;
        const std::size_t len = sjis::CharLength(line, p);
        const bool wide = len == 2 || sjis::IsHalfWidthKana(c);
        if (wide && p > lineStart) breakEnd = breakNext = p;
        const double w = Advance(line, p, len, x);
        if (x + w > FColumnWidth && p > lineStart) {
            if (breakNext > lineStart) {
                emit(breakEnd);
                startLine(breakNext);
            } else {
                // A word wider than the column: break it where it overflows.
                emit(p);
                startLine(p);
            }
            continue;
        }
        x += w;
        p += len;
        if (wide) breakEnd = breakNext = p;
    }
    if (lineStart < n || !emitted) emit(n);
}
