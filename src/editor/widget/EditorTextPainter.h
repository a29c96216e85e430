// Drawing of Shift-JIS row text on the editor's column grid.
//
// Every byte of a row is one column: a character is placed at x = origin + column x CharWidth, a two-byte
// character covers two columns, whatever the font's own advance widths. The text is drawn as glyph runs
// (one per call) so that a row costs a handful of calls, not one per character. Characters that the font
// has no glyph for are drawn one by one through Qt's font fallback.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRawFont>
#include <array>
#include <string_view>
#include <vector>

class QPainter;

class TEditorTextPainter {
public:
    // Style bits of a text run (the option objects' font styles).
    enum StyleBit : unsigned { kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8 };

    // The font, the column width in pixels and the distance from a band's top to the baseline.
    void SetFont(const QFont& font, int charWidth, int ascent);
    int CharWidth() const { return FCharWidth; }

    // Draws the bytes [from, to) of `text` (tab-expanded, so one byte per column) with column 0 at x0 and
    // the top of the text band at y. `from` and `to` are moved outwards to character boundaries.
    void Draw(QPainter& p, int x0, int y, std::string_view text, int from, int to, const QColor& color,
              unsigned style);

private:
    struct Face {
        bool ready = false;
        QFont font;
        QRawFont raw;
    };
    Face& FaceFor(unsigned style);

    QFont FFont;
    int FCharWidth = 6;
    int FAscent = 10;
    std::array<Face, 4> FFaces;  // by bold and italic; underline and strike-out are run flags
    // Scratch buffers reused between calls.
    std::vector<QChar> FChars;
    std::vector<int> FColumns;
    QList<quint32> FGlyphs;
    QList<QPointF> FPositions;
};
