// The off-screen images of the editor's left bar and ruler.
//
// They are prepared when the options, the margins or the font change, so that a paint pass and every
// caret move only copy pixels:
// - the left edge strip (2 px wide) and the ruler edge strip (2 px high),
// - the corner above the left bar and left of the ruler,
// - the 5 x 9 digit glyphs of the ruler (one bit per pixel, a stroke is a 0 bit) and two coloured copies,
// - the scale (ticks only), the ruler image (scale plus numbers) and the mark image (the caret's cell).
// Everything here is plain pixel work on QImage, independent of the widget, so it can be tested alone.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

class TEditorGutterImages {
public:
    // Width of the glyph strip: ten cells of 5 px ('0' .. '9'), the last 6 px unused.
    static constexpr int kGlyphStripWidth = 56;
    static constexpr int kGlyphCellWidth = 5;
    static constexpr int kGlyphHeight = 9;
    // Drawn width of a digit: '1' is 3 px wide, every other digit 5.
    static constexpr int DigitWidth(int digit) { return digit == 1 ? 3 : 5; }

    // Ruler options as the images need them.
    struct TRulerLayout {
        int charWidth = 6;
        int gaugeRange = 10;
        int height = 11;  // 0 when hidden, 11 with the edge, 10 without
        bool edge = true;
        QColor background;
        QColor color;      // ticks and digits
        QColor markColor;  // the caret's cell
    };

    // Corner geometry and colours.
    struct TCornerLayout {
        int textLeft = 0;
        int textTop = 0;
        QColor color;  // the control's background
        bool leftbarVisible = false;
        bool leftbarEdge = false;
        int leftbarWidth = 0;
        QColor leftbarBackground;
        bool rulerVisible = false;
        bool rulerEdge = false;
        int rulerHeight = 0;
        QColor rulerBackground;
    };

    TEditorGutterImages();

    // The one-bit glyph strip from the built-in table.
    void BuildDigitGlyphs();
    // Left edge strip of the given height: with the edge white | grey, without it background | text colour.
    void BuildLeftEdge(int screenHeight, bool edge, const QColor& background, const QColor& color);
    // Ruler edge strip of the given width: top row white, bottom row grey.
    void BuildRulerEdge(int screenWidth);
    // The corner image (textLeft x textTop).
    void BuildCorner(const TCornerLayout& layout);

    // Rebuilds digits, scale and image sizes for new ruler options (in the order colour digits, scale,
    // sizes). The ruler and mark images are composed again on the next ComposeRuler.
    void RebuildRuler(const TRulerLayout& layout, int screenWidth);
    void ColourDigits();
    void BuildScale();
    void SizeRulerImages();
    // Composes the ruler and mark images for the gauge that holds topCol (numbers from that gauge on).
    // Does nothing when the images already show that gauge.
    void ComposeRuler(int topCol);

    // Widths: one gauge and the ruler images (gauge width x (screen width div gauge width + 2)).
    int GaugeWidth() const { return FRuler.gaugeRange * FRuler.charWidth; }
    int RulerImageWidth() const;

    // Source rectangle of the ruler image (or mark image) for the cell of column c when topCol is the
    // first visible column; and the target rectangle on the control given the text's left edge.
    QRect MarkSourceRect(int col, int topCol) const;
    QRect MarkTargetRect(int col, int topCol, int textLeft) const;

    const QImage& Glyphs() const { return FGlyphs; }
    const QImage& RulerDigits() const { return FRulerDigits; }
    const QImage& MarkDigits() const { return FMarkDigits; }
    const QImage& Scale() const { return FScale; }
    const QImage& RulerImage() const { return FRulerImage; }
    const QImage& MarkImage() const { return FMarkImage; }
    const QImage& LeftEdge() const { return FLeftEdge; }
    const QImage& RulerEdge() const { return FRulerEdge; }
    const QImage& Corner() const { return FCorner; }
    const TRulerLayout& Ruler() const { return FRuler; }
    // True when the glyph strip has a stroke at (x, y).
    bool GlyphStroke(int x, int y) const;

private:
    void Stamp(QImage& target, const QImage& digits, const QColor& background, int firstValue) const;

    TRulerLayout FRuler;
    int FScreenWidth = 0;
    int FComposedGauge = -1;
    QImage FGlyphs;
    QImage FRulerDigits;
    QImage FMarkDigits;
    QImage FScale;
    QImage FRulerImage;
    QImage FMarkImage;
    QImage FLeftEdge;
    QImage FRulerEdge;
    QImage FCorner;
};
