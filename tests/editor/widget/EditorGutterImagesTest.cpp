// The left bar's and ruler's off-screen images, the colour numbers and the font substitution.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QPalette>
#include <string>

#include "editor/widget/EditorGutterImages.h"
#include "gui/FontSubstitutes.h"
#include "gui/SystemColors.h"

namespace {

// The strokes of one digit cell as text rows ('#' stroke), for comparing with the table.
std::string GlyphRow(const TEditorGutterImages& g, int digit, int row) {
    std::string s;
    for (int x = 0; x < TEditorGutterImages::kGlyphCellWidth; ++x)
        s += g.GlyphStroke(digit * TEditorGutterImages::kGlyphCellWidth + x, row) ? '#' : '.';
    return s;
}

TEditorGutterImages::TRulerLayout MainWindowRuler() {
    TEditorGutterImages::TRulerLayout s;
    s.charWidth = 6;
    s.gaugeRange = 10;
    s.height = 11;
    s.edge = true;
    s.background = QColor(200, 200, 200);
    s.color = QColor(0, 0, 0);
    s.markColor = QColor(0, 0, 128);
    return s;
}

bool IsTick(const QImage& image, int x, int y, const QColor& color) {
    return image.pixelColor(x, y) == color;
}

}  // namespace

TEST(GutterImages, DigitGlyphsFollowTheTable) {
    TEditorGutterImages g;
    EXPECT_EQ(g.Glyphs().width(), 56);
    EXPECT_EQ(g.Glyphs().height(), 9);
    EXPECT_EQ(GlyphRow(g, 0, 1), "..##.");
    EXPECT_EQ(GlyphRow(g, 4, 4), ".#.#.");
    EXPECT_EQ(GlyphRow(g, 4, 5), ".####");
    EXPECT_EQ(GlyphRow(g, 7, 1), ".####");
    EXPECT_EQ(GlyphRow(g, 9, 4), "..###");
    EXPECT_EQ(GlyphRow(g, 6, 3), ".#...");
    // Rows 0 and 8 and the unused last 6 columns hold no stroke.
    for (int x = 0; x < 56; ++x) {
        EXPECT_FALSE(g.GlyphStroke(x, 0));
        EXPECT_FALSE(g.GlyphStroke(x, 8));
    }
    for (int x = 50; x < 56; ++x)
        for (int y = 0; y < 9; ++y) EXPECT_FALSE(g.GlyphStroke(x, y));
}

TEST(GutterImages, ColouredDigitsSwapForegroundForTheMark) {
    TEditorGutterImages g;
    const auto ruler = MainWindowRuler();
    g.BuildRulerEdge(800);
    g.RebuildRuler(ruler, 800);
    // '8' row 1 ("..##.") at x = 40..44.
    EXPECT_EQ(g.RulerDigits().pixelColor(42, 1), ruler.color);
    EXPECT_EQ(g.RulerDigits().pixelColor(40, 1), ruler.background);
    EXPECT_EQ(g.MarkDigits().pixelColor(42, 1), ruler.background);
    EXPECT_EQ(g.MarkDigits().pixelColor(40, 1), ruler.markColor);
}

TEST(GutterImages, ScaleHasLongHalfAndShortTicks) {
    TEditorGutterImages g;
    const auto ruler = MainWindowRuler();
    g.BuildRulerEdge(800);
    g.RebuildRuler(ruler, 800);
    const QImage& s = g.Scale();
    EXPECT_EQ(s.width(), 60 * (800 / 60 + 2));
    EXPECT_EQ(s.height(), 11);
    for (int gauge = 0; gauge < 3; ++gauge) {
        const int x0 = gauge * 60;
        EXPECT_TRUE(IsTick(s, x0, 0, ruler.color)) << gauge;        // long tick from the top
        EXPECT_FALSE(IsTick(s, x0 + 30, 2, ruler.color)) << gauge;  // half tick starts at 3
        EXPECT_TRUE(IsTick(s, x0 + 30, 3, ruler.color)) << gauge;
        EXPECT_FALSE(IsTick(s, x0 + 12, 5, ruler.color)) << gauge;  // short ticks start at 6
        EXPECT_TRUE(IsTick(s, x0 + 12, 6, ruler.color)) << gauge;
        EXPECT_TRUE(IsTick(s, x0 + 12, 8, ruler.color)) << gauge;
        EXPECT_FALSE(IsTick(s, x0 + 3, 7, ruler.color)) << gauge;  // nothing between columns
    }
    // The edge: white over grey in the last two pixel rows.
    EXPECT_EQ(s.pixelColor(17, 9), QColor(255, 255, 255));
    EXPECT_EQ(s.pixelColor(17, 10), QColor(128, 128, 128));
}

TEST(GutterImages, ScaleWithoutEdgeEndsInALine) {
    TEditorGutterImages g;
    auto ruler = MainWindowRuler();
    ruler.edge = false;
    ruler.height = 10;
    g.BuildRulerEdge(800);
    g.RebuildRuler(ruler, 800);
    for (int x : {1, 7, 59, 61, 200}) EXPECT_EQ(g.Scale().pixelColor(x, 9), ruler.color) << x;
}

TEST(GutterImages, RulerNumbersStartOnePixelRightOfTheirTick) {
    TEditorGutterImages g;
    const auto ruler = MainWindowRuler();
    g.BuildRulerEdge(800);
    g.RebuildRuler(ruler, 800);
    g.ComposeRuler(0);
    const QImage& r = g.RulerImage();
    // "0" at x = 1: its row 1 is "..##." so x = 3 and 4 are strokes.
    EXPECT_EQ(r.pixelColor(3, 1), ruler.color);
    EXPECT_EQ(r.pixelColor(4, 1), ruler.color);
    EXPECT_EQ(r.pixelColor(1, 1), ruler.background);
    // "10" at x = 61: '1' (3 px, row 2 ".##") then '0' at x = 64.
    EXPECT_EQ(r.pixelColor(62, 2), ruler.color);
    EXPECT_EQ(r.pixelColor(63, 2), ruler.color);
    EXPECT_EQ(r.pixelColor(64 + 1, 2), ruler.color);
    EXPECT_EQ(r.pixelColor(64 + 4, 2), ruler.color);
    // The mark image shows the same numbers in the ruler's background on the mark colour.
    EXPECT_EQ(g.MarkImage().pixelColor(3, 1), ruler.background);
    EXPECT_EQ(g.MarkImage().pixelColor(1, 1), ruler.markColor);
}

TEST(GutterImages, RulerEndsAfterTheNumberAbove999) {
    TEditorGutterImages g;
    const auto ruler = MainWindowRuler();
    g.BuildRulerEdge(800);
    g.RebuildRuler(ruler, 800);
    g.ComposeRuler(995);  // gauge 99 holds columns 990..999: numbers 990, 1000
    const QImage& r = g.RulerImage();
    // "1000" at x = 61: '1' then three '0's; row 1 of '0' at 64 is "..##.".
    EXPECT_EQ(r.pixelColor(64 + 2, 1), ruler.color);
    // Right of it the ticks are gone, but the edge stays.
    for (int x = 61 + 3 + 15; x < r.width(); x += 7) {
        for (int y = 0; y < 9; ++y) EXPECT_EQ(r.pixelColor(x, y), ruler.background) << x << "," << y;
        EXPECT_EQ(r.pixelColor(x, 10), QColor(128, 128, 128)) << x;
    }
    // The tick at the start of gauge 1000 is covered from the top down to the edge.
    EXPECT_EQ(r.pixelColor(120, 5), ruler.background);
}

TEST(GutterImages, MarkCellIsOneColumnLessOnePixel) {
    TEditorGutterImages g;
    const auto ruler = MainWindowRuler();
    g.BuildRulerEdge(800);
    g.RebuildRuler(ruler, 800);
    // Column 13 with TopCol 7 (7 mod 10 = 7): source x = 1 + 6 * (13 - 7 + 7).
    EXPECT_EQ(g.MarkSourceRect(13, 7), QRect(1 + 6 * 13, 0, 5, 9));
    EXPECT_EQ(g.MarkTargetRect(13, 7, 40), QRect(40 + 6 * 6 + 1, 0, 5, 9));
}

TEST(GutterImages, CornerJoinsBarAndRulerEdges) {
    TEditorGutterImages g;
    g.BuildLeftEdge(100, true, QColor(200, 200, 200), QColor(0, 0, 0));
    g.BuildRulerEdge(100);
    TEditorGutterImages::TCornerLayout c;
    c.textLeft = 40;
    c.textTop = 16;
    c.color = QColor(255, 255, 255);
    c.leftbarVisible = c.leftbarEdge = true;
    c.leftbarWidth = 36;
    c.leftbarBackground = QColor(200, 200, 200);
    c.rulerVisible = c.rulerEdge = true;
    c.rulerHeight = 11;
    c.rulerBackground = QColor(190, 190, 190);
    g.BuildCorner(c);
    const QImage& k = g.Corner();
    ASSERT_EQ(k.size(), QSize(40, 16));
    EXPECT_EQ(k.pixelColor(10, 12), QColor(200, 200, 200));  // bar background
    EXPECT_EQ(k.pixelColor(34, 12), QColor(255, 255, 255));  // bar edge: white ...
    EXPECT_EQ(k.pixelColor(35, 12), QColor(128, 128, 128));  // ... then grey
    EXPECT_EQ(k.pixelColor(38, 3), QColor(190, 190, 190));   // ruler part right of the bar
    EXPECT_EQ(k.pixelColor(38, 9), QColor(255, 255, 255));   // ruler edge
    EXPECT_EQ(k.pixelColor(38, 10), QColor(128, 128, 128));
    EXPECT_EQ(k.pixelColor(38, 13), QColor(255, 255, 255));  // the control's colour below the ruler
}

TEST(SystemColors, SystemNumbersUseThePalette) {
    QPalette p;
    p.setColor(QPalette::Base, QColor(1, 2, 3));
    p.setColor(QPalette::Text, QColor(4, 5, 6));
    p.setColor(QPalette::Button, QColor(7, 8, 9));
    p.setColor(QPalette::ButtonText, QColor(10, 11, 12));
    EXPECT_EQ(ResolveColor(0x80000005u, p), QColor(1, 2, 3));     // clWindow
    EXPECT_EQ(ResolveColor(0x80000008u, p), QColor(4, 5, 6));     // clWindowText
    EXPECT_EQ(ResolveColor(0x8000000Fu, p), QColor(7, 8, 9));     // clBtnFace
    EXPECT_EQ(ResolveColor(0x80000012u, p), QColor(10, 11, 12));  // clBtnText
    // Plain colours are 0x00BBGGRR.
    EXPECT_EQ(ResolveColor(0x800000u, p), QColor(0, 0, 128));  // clNavy
    EXPECT_EQ(ResolveColor(0x808080u, p), QColor(128, 128, 128));
    EXPECT_EQ(ResolveColor(RgbColor(1, 2, 3), p), QColor(1, 2, 3));
}

TEST(FontSubstitutes, SettingsNamesMapToAJapaneseFont) {
    const QString fixed = InstalledFixedJapaneseFamily();
    if (fixed.isEmpty()) GTEST_SKIP() << "no Japanese font installed";
    RegisterFontSubstitutes();
    QFont f(QStringLiteral("ＭＳ ゴシック"));
    f.setPixelSize(12);
    EXPECT_EQ(QFontInfo(f).family(), fixed);
    QFont fixedSys(QStringLiteral("FixedSys"));
    EXPECT_EQ(QFontInfo(fixedSys).family(), fixed);
    // The column grid: 6 px per half-width and 12 px per full-width character at 12 px.
    if (fixed == QStringLiteral("IPAGothic")) {
        QFontMetrics m(f);
        EXPECT_EQ(m.averageCharWidth(), 6);
        EXPECT_EQ(m.horizontalAdvance(QStringLiteral("あ")), 12);
    }
}
