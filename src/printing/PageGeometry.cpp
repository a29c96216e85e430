#include "printing/PageGeometry.h"

#include <algorithm>
#include <cmath>

namespace printing {

int RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double rest = value - floor;
    double result = floor;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(floor, 2.0) != 0.0)) result += 1.0;
    return static_cast<int>(result);
}

int MmToPixels(int dpi, double mm) {
    return RoundHalfEven(dpi * mm / 25.4);
}

TPaperOffsets CentredPaperOffsets(int paperWidth, int paperHeight, int pageWidth, int pageHeight) {
    TPaperOffsets o;
    o.Left = std::max(0, (paperWidth - pageWidth) / 2);
    o.Top = std::max(0, (paperHeight - pageHeight) / 2);
    o.Right = std::max(0, paperWidth - pageWidth - o.Left);
    o.Bottom = std::max(0, paperHeight - pageHeight - o.Top);
    return o;
}

int DecimalLength(long n) {
    int digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

TRect TPageGeometry::NumberColumn(int column) const {
    const int left = Area.Left + column * Stride;
    return {left, Header.Bottom, left + NumberWidth, Footer.Top};
}

TRect TPageGeometry::TextColumn(int column) const {
    const int left = Area.Left + NumberWidth + column * Stride;
    return {left, Header.Bottom, left + TextWidth, Footer.Top};
}

TPageGeometry ComputePageGeometry(const TLayoutSettings& s, int lineHeight, int charWidth, long lineCount) {
    auto mm = [&s](int value) { return MmToPixels(s.Dpi, value); };
    TPageGeometry g;
    g.LineHeight = std::max(1, lineHeight);
    g.CharWidth = std::max(1, charWidth);
    g.ColumnCount = std::clamp(s.ColumnCount, 1, 3);

    // Margins count from the paper edge and never reach outside the printable area. Margins that leave
    // no room at all give an empty area rather than one whose right edge lies left of its left edge.
    g.Area.Left = std::max(0, mm(s.MarginLeft) - s.Offsets.Left);
    g.Area.Top = std::max(0, mm(s.MarginTop) - s.Offsets.Top);
    g.Area.Right = std::min(s.PageWidth, s.PageWidth + s.Offsets.Right - mm(s.MarginRight));
    g.Area.Bottom = std::min(s.PageHeight, s.PageHeight + s.Offsets.Bottom - mm(s.MarginBottom));
    g.Area.Right = std::max(g.Area.Right, g.Area.Left);
    g.Area.Bottom = std::max(g.Area.Bottom, g.Area.Top);

    const int band = g.LineHeight * 3 / 2;
    g.Header = {g.Area.Left, g.Area.Top, g.Area.Right, g.Area.Top + (s.HeaderVisible ? band : 0)};
    g.Footer = {g.Area.Left, g.Area.Bottom - (s.FooterVisible ? band : 0), g.Area.Right, g.Area.Bottom};

    const int space = mm(s.ColumnSpace);
    g.NumberWidth = s.LineNumber ? (DecimalLength(lineCount) + 2) * g.CharWidth : 0;
    const int textWidth =
        (g.Area.Right - (g.Area.Left + g.NumberWidth) - (space + g.NumberWidth) * (g.ColumnCount - 1)) /
        g.ColumnCount;
    // A column too narrow for anything still takes one character per paper line, so the layout ends.
    g.TextWidth = std::max(1, textWidth);
    g.Stride = space + g.NumberWidth + g.TextWidth;
    return g;
}

}  // namespace printing
