// Page arithmetic of the strings printer, in printer pixels of the printable area (origin at its top-left
// corner). Plain C++: the printer supplies its resolution, page size and unprintable border; everything
// else follows from the margins, the column settings and two font measures.
#pragma once

#include <string_view>

namespace printing {

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    bool operator==(const TRect&) const = default;
};

// The unprintable border of the paper around the printable area.
struct TPaperOffsets {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TPaperOffsets&) const = default;
};

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4).
int RoundHalfEven(double value);

// round(dpi * mm / 25.4). The horizontal resolution serves for vertical lengths too.
int MmToPixels(int dpi, double mm);

// The border of a paper of paperWidth x paperHeight pixels around a printable area of pageWidth x
// pageHeight pixels assumed centred on it; never negative.
TPaperOffsets CentredPaperOffsets(int paperWidth, int paperHeight, int pageWidth, int pageHeight);

// What the page layout needs to know, all lengths in millimetres except where named.
struct TLayoutSettings {
    int Dpi = 600;          // horizontal resolution of the printer
    int PageWidth = 0;      // printable area, pixels
    int PageHeight = 0;     // printable area, pixels
    TPaperOffsets Offsets;  // pixels
    int MarginLeft = 0;     // from the paper edge
    int MarginTop = 0;
    int MarginRight = 0;
    int MarginBottom = 0;
    int ColumnSpace = 4;
    int ColumnCount = 1;  // 1..3
    bool LineNumber = false;
    bool HeaderVisible = false;
    bool FooterVisible = false;
};

struct TPageGeometry {
    TRect Area;    // inside the margins
    TRect Header;  // 1.5 line heights tall at the top of Area, or empty (Bottom == Area.Top)
    TRect Footer;  // 1.5 line heights tall at the bottom of Area, or empty (Top == Area.Bottom)
    int LineHeight = 1;
    int CharWidth = 1;
    int NumberWidth = 0;  // 0 without line numbers
    int TextWidth = 1;    // of one column; at least 1
    int Stride = 0;       // from one column to the next
    int ColumnCount = 1;

    // The first column's rectangles, between the header's bottom and the footer's top.
    TRect NumberColumn(int column) const;
    TRect TextColumn(int column) const;
};

// lineCount sizes the number column: room for its decimal digits and two more characters.
TPageGeometry ComputePageGeometry(const TLayoutSettings& settings, int lineHeight, int charWidth,
                                  long lineCount);

// Decimal digits of n (n >= 0; 0 has one digit).
int DecimalLength(long n);

}  // namespace printing
