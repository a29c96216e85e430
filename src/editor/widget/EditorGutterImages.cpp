#include "editor/widget/EditorGutterImages.h"

#include <QPainter>
#include <algorithm>
#include <string>

namespace {

// The ruler's digit font: rows 1 to 7 of each 5 x 9 cell ('#' stroke); rows 0 and 8 are empty.
constexpr const char* kGlyphRows[7][10] = {
    {"..##.", "..#..", "..##.", "..##.", "...#.", ".####", "..##.", ".####", "..##.", "..##."},
    {".#..#", ".##..", ".#..#", ".#..#", "..##.", ".#...", ".#..#", "....#", ".#..#", ".#..#"},
    {".#..#", "..#..", "....#", "....#", "..##.", ".###.", ".#...", "...#.", ".#..#", ".#..#"},
    {".#..#", "..#..", "...#.", "...#.", ".#.#.", ".#..#", ".###.", "...#.", "..##.", "..###"},
    {".#..#", "..#..", "..#..", "....#", ".####", "....#", ".#..#", "..#..", ".#..#", "....#"},
    {".#..#", "..#..", ".#...", ".#..#", "...#.", ".#..#", ".#..#", "..#..", ".#..#", ".#..#"},
    {"..##.", "..#..", ".####", "..##.", "...#.", "..##.", "..##.", "..#..", "..##.", "..##."},
};

const QColor kWhite(255, 255, 255);
const QColor kGray(128, 128, 128);

QImage NewImage(int w, int h, const QColor& fill) {
    QImage image(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

}  // namespace

TEditorGutterImages::TEditorGutterImages() {
    BuildDigitGlyphs();
}

void TEditorGutterImages::BuildDigitGlyphs() {
    // One bit per pixel; index 1 (a set bit) is the background, index 0 a stroke, as in the stored table.
    FGlyphs = QImage(kGlyphStripWidth, kGlyphHeight, QImage::Format_Mono);
    FGlyphs.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    FGlyphs.fill(1);
    for (int row = 0; row < 7; ++row) {
        for (int digit = 0; digit < 10; ++digit) {
            for (int x = 0; x < kGlyphCellWidth; ++x) {
                if (kGlyphRows[row][digit][x] == '#')
                    FGlyphs.setPixel(digit * kGlyphCellWidth + x, row + 1, 0);
            }
        }
    }
}

bool TEditorGutterImages::GlyphStroke(int x, int y) const {
    return FGlyphs.valid(x, y) && FGlyphs.pixelIndex(x, y) == 0;
}

void TEditorGutterImages::BuildLeftEdge(int screenHeight, bool edge, const QColor& background,
                                        const QColor& color) {
    FLeftEdge = NewImage(2, screenHeight, edge ? kWhite : background);
    QPainter p(&FLeftEdge);
    p.fillRect(1, 0, 1, FLeftEdge.height(), edge ? kGray : color);
}

void TEditorGutterImages::BuildRulerEdge(int screenWidth) {
    FRulerEdge = NewImage(screenWidth, 2, kWhite);
    QPainter p(&FRulerEdge);
    p.fillRect(0, 1, FRulerEdge.width(), 1, kGray);
}

void TEditorGutterImages::BuildCorner(const TCornerLayout& s) {
    if (s.textLeft <= 0 || s.textTop <= 0) {
        FCorner = QImage();
        return;
    }
    FCorner = NewImage(s.textLeft, s.textTop, s.color);
    QPainter p(&FCorner);
    const bool barEdge = s.leftbarVisible && s.leftbarEdge;
    if (barEdge) {
        p.fillRect(0, 0, s.leftbarWidth, s.textTop, s.leftbarBackground);
        p.drawImage(s.leftbarWidth - 2, 0, FLeftEdge);
    }
    if (s.rulerVisible && s.rulerEdge) {
        const int x0 = barEdge ? s.leftbarWidth : 0;
        p.fillRect(x0, 0, s.textLeft - x0, s.rulerHeight, s.rulerBackground);
        p.drawImage(x0 - 1, s.rulerHeight - 2, FRulerEdge);
    }
}

void TEditorGutterImages::RebuildRuler(const TRulerLayout& layout, int screenWidth) {
    FRuler = layout;
    FRuler.charWidth = std::max(1, layout.charWidth);
    FRuler.gaugeRange = std::max(1, layout.gaugeRange);
    FScreenWidth = screenWidth;
    ColourDigits();
    BuildScale();
    SizeRulerImages();
}

void TEditorGutterImages::ColourDigits() {
    // A stroke becomes the foreground, any other pixel the background.
    const auto colour = [this](const QColor& fg, const QColor& bg) {
        QImage out(FGlyphs.size(), QImage::Format_RGB32);
        for (int y = 0; y < out.height(); ++y) {
            for (int x = 0; x < out.width(); ++x) out.setPixel(x, y, (GlyphStroke(x, y) ? fg : bg).rgb());
        }
        return out;
    };
    FRulerDigits = colour(FRuler.color, FRuler.background);
    FMarkDigits = colour(FRuler.background, FRuler.markColor);
    FComposedGauge = -1;
}

int TEditorGutterImages::RulerImageWidth() const {
    const int gauge = GaugeWidth();
    return gauge * (FScreenWidth / gauge + 2);
}

void TEditorGutterImages::BuildScale() {
    const int h = std::max(FRuler.height, 1);
    const int gauge = GaugeWidth();
    FScale = NewImage(RulerImageWidth(), h, FRuler.background);
    QPainter p(&FScale);
    // Ticks: long at the gauge start, half way one of middle length, short ones elsewhere.
    for (int b = 0; b < FRuler.gaugeRange; ++b) {
        const int y0 = b == 0 ? 0 : (b == FRuler.gaugeRange / 2 ? 3 : 6);
        if (h - 1 > y0) p.fillRect(b * FRuler.charWidth, y0, 1, h - 1 - y0, FRuler.color);
    }
    if (FRuler.edge) {
        p.drawImage(QPoint(0, h - 2), FRulerEdge, QRect(0, 0, gauge, 2));
    } else {
        p.fillRect(0, h - 1, gauge, 1, FRuler.color);
    }
    p.end();
    // Repeat the first gauge across the image.
    const QImage first = FScale.copy(0, 0, gauge, h);
    QPainter r(&FScale);
    for (int x = gauge; x < FScale.width(); x += gauge) r.drawImage(x, 0, first);
    FComposedGauge = -1;
}

void TEditorGutterImages::SizeRulerImages() {
    const int w = RulerImageWidth();
    const int h = std::max(FRuler.height, 1);
    FRulerImage = NewImage(w, h, FRuler.background);
    FMarkImage = NewImage(w, h, FRuler.markColor);
    FComposedGauge = -1;
}

void TEditorGutterImages::ComposeRuler(int topCol) {
    const int gauge = std::max(0, topCol) / FRuler.gaugeRange;
    if (gauge == FComposedGauge) return;
    FComposedGauge = gauge;
    const int firstValue = FRuler.gaugeRange * gauge;
    FRulerImage = FScale.copy();
    Stamp(FRulerImage, FRulerDigits, FRuler.background, firstValue);
    FMarkImage = NewImage(FScale.width(), FScale.height(), FRuler.markColor);
    Stamp(FMarkImage, FMarkDigits, FRuler.markColor, firstValue);
}

void TEditorGutterImages::Stamp(QImage& target, const QImage& digits, const QColor& background,
                                int value) const {
    QPainter p(&target);
    const int gauge = GaugeWidth();
    const int fillBottom = FRuler.height - (FRuler.edge ? 2 : 1);
    for (int x = 1; x < target.width(); x += gauge) {
        // The scale ends with the first number above 999: the control has 1000 columns.
        const bool last = value > 999;
        if (last && fillBottom > 0) p.fillRect(x, 0, target.width() - x, fillBottom, background);
        int dx = x;
        for (char ch : std::to_string(value)) {
            const int digit = ch - '0';
            const int w = DigitWidth(digit);
            p.drawImage(QPoint(dx, 0), digits, QRect(digit * kGlyphCellWidth, 0, w, kGlyphHeight));
            dx += w;
        }
        if (last) break;
        value += FRuler.gaugeRange;
    }
}

QRect TEditorGutterImages::MarkSourceRect(int col, int topCol) const {
    const int cw = FRuler.charWidth;
    const int h = FRuler.height - (FRuler.edge ? 2 : 1);
    return QRect(1 + cw * (col - topCol + topCol % FRuler.gaugeRange), 0, cw - 1, h);
}

QRect TEditorGutterImages::MarkTargetRect(int col, int topCol, int textLeft) const {
    const int cw = FRuler.charWidth;
    const int h = FRuler.height - (FRuler.edge ? 2 : 1);
    return QRect(textLeft + cw * (col - topCol) + 1, 0, cw - 1, h);
}
