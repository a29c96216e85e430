// TEditor painting, checked on pixels: marks, selection colours, token colours, left bar and ruler, and
// the partial repaints of scrolling, selection changes and edits.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <cstdio>
#include <fstream>

#include <QPainter>

#include "EditorTestSupport.h"
#include "editor/options/EditorColor.h"
#include "editor/rows/EditorStrings.h"
#include "editor/wrap/EditorWrapOption.h"
#include "editor/widget/EditorTextPainter.h"
#include "gui/SystemColors.h"

namespace {

constexpr int kLeft = 39;
constexpr int kTop = 16;
constexpr int kCw = 6;
constexpr int kCh = 13;
constexpr int kRh = 13;

const QColor kGreen(0, 160, 0);
const QColor kNavy(0, 0, 128);

// The cells of columns [c1, c2) of a screen row (TopRow 0, TopCol 0), text band only.
QRect Cells(int row, int c1, int c2) {
    return QRect(kLeft + c1 * kCw, kTop + row * kRh, (c2 - c1) * kCw, kCh);
}

}  // namespace

TEST(EditorPaint, EofMarkStandsWhereTheTextEnds) {
    auto e = MakeEditor();
    e->Marks().EofMark().SetColor(RgbColor(255, 0, 0));
    e->Marks().EofMark().SetVisible(true);
    // Empty text: at the start of the first row.
    QImage image = Render(*e);
    EXPECT_GT(CountIf(image, Cells(0, 0, 6), Reddish), 10);
    EXPECT_EQ(CountIf(image, Cells(0, 6, 30), Reddish), 0);
    EXPECT_EQ(CountIf(image, Cells(1, 0, 30), Reddish), 0);
    // A last line with a line break: on the empty row below it.
    e->SetText("abc\r\n");
    image = Render(*e);
    EXPECT_EQ(CountIf(image, Cells(0, 0, 30), Reddish), 0);
    EXPECT_GT(CountIf(image, Cells(1, 0, 6), Reddish), 10);
    // A last line without one: right after the text.
    LoadText(*e, "abc");
    image = Render(*e);
    EXPECT_EQ(CountIf(image, Cells(0, 0, 3), Reddish), 0);
    EXPECT_GT(CountIf(image, Cells(0, 3, 9), Reddish), 10);
    EXPECT_EQ(CountIf(image, Cells(1, 0, 30), Reddish), 0);
}

TEST(EditorPaint, ReturnMarkArrowAfterTheLineButNotAfterAWrap) {
    auto e = MakeEditor();
    e->Marks().RetMark().SetColor(RgbColor(0, 160, 0));
    e->Marks().RetMark().SetVisible(true);
    e->SetText("ab\r\ncd");
    QImage image = Render(*e);
    // Row 0: the arrow is centred in column 2; the shaft from y + 6, the tip at y + CharHeight - 4.
    const int cx = kLeft + 2 * kCw + kCw / 2;
    const int y = kTop;
    EXPECT_EQ(image.pixelColor(cx, y + 6), kGreen);
    EXPECT_EQ(image.pixelColor(cx, y + kCh - 4), kGreen);
    EXPECT_EQ(image.pixelColor(cx + 2, y + kCh - 6), kGreen);
    EXPECT_EQ(image.pixelColor(cx - 2, y + kCh - 6), kGreen);
    EXPECT_NE(image.pixelColor(cx, y + 5), kGreen);
    EXPECT_EQ(CountColor(image, Cells(0, 0, 2), kGreen), 0);
    EXPECT_EQ(CountColor(image, Cells(0, 3, 30), kGreen), 0);
    // Wrapped rows carry no mark; the line's last row does.
    e->WrapOption().SetWrapByte(20);
    e->SetWordWrap(true);
    e->SetText(std::string(30, 'x'));
    ASSERT_EQ(e->RowEnd(0), reWrapped);
    image = Render(*e);
    EXPECT_EQ(CountColor(image, Cells(0, 0, 40), kGreen), 0);
    EXPECT_GT(CountColor(image, Cells(1, 10, 11), kGreen), 3);
}

TEST(EditorPaint, SelectionColoursCoverExactlyTheSelectedColumns) {
    auto e = MakeEditor();
    const QColor window = e->Resolve(clWindow);
    e->SetText("abcdefghij\r\nklmnopqrst\r\nuvwxyz");
    e->SetSelStart(2);
    e->SetSelLength(3);
    QImage image = Render(*e);
    // The band's top pixel row holds no glyph pixels: it shows the background of each cell.
    const auto cellColor = [&](int row, int col) {
        return image.pixelColor(kLeft + col * kCw + 1, kTop + row * kRh);
    };
    for (int c = 0; c < 10; ++c) EXPECT_EQ(cellColor(0, c), (c >= 2 && c < 5) ? kNavy : window) << c;
    for (int x = kLeft + 2 * kCw; x < kLeft + 5 * kCw; ++x) EXPECT_EQ(image.pixelColor(x, kTop), kNavy) << x;
    EXPECT_EQ(image.pixelColor(kLeft + 2 * kCw - 1, kTop), window);
    EXPECT_EQ(image.pixelColor(kLeft + 5 * kCw, kTop), window);
    // Selected glyphs are white.
    EXPECT_GT(CountIf(image, Cells(0, 2, 5), Light), 5);
    // Across rows: the first row from the start column to the right edge, the last row up to its end column.
    e->SetSelStart(7);
    e->SetSelLength(3 + 2 + 4);  // "hij", the line break, "klmn"
    image = Render(*e);
    EXPECT_EQ(cellColor(0, 6), window);
    EXPECT_EQ(cellColor(0, 7), kNavy);
    EXPECT_EQ(cellColor(0, 40), kNavy);  // beyond the text, to the right edge
    EXPECT_EQ(cellColor(1, 0), kNavy);
    EXPECT_EQ(cellColor(1, 3), kNavy);
    EXPECT_EQ(cellColor(1, 4), window);
    EXPECT_EQ(cellColor(2, 0), window);
}

TEST(EditorPaint, BoxSelectionCoversWholeCharacters) {
    auto e = MakeEditor();
    const QColor window = e->Resolve(clWindow);
    e->SetText(Sjis("abcdef\r\nxあいz"));
    e->SetBoxSelectMode(true);
    e->SetRowCol(0, 2);
    e->BeginSelection();
    e->SetRowCol(1, 5);
    e->ExtendSelection();
    ASSERT_EQ(e->SelectionColumns(), (TSelectionColumns{0, 1, 2, 5}));
    const QImage image = Render(*e);
    const auto cellColor = [&](int row, int col) {
        return image.pixelColor(kLeft + col * kCw + 1, kTop + row * kRh);
    };
    EXPECT_EQ(cellColor(0, 1), window);
    EXPECT_EQ(cellColor(0, 2), kNavy);
    EXPECT_EQ(cellColor(0, 3), kNavy);
    EXPECT_EQ(cellColor(0, 4), kNavy);
    EXPECT_EQ(cellColor(0, 5), window);
    // Row 1: the left edge falls on あ's trail (column 2) and moves right: あ stays out, い (3-4) is in.
    EXPECT_EQ(cellColor(1, 2), window);
    EXPECT_EQ(cellColor(1, 3), kNavy);
    EXPECT_EQ(cellColor(1, 4), kNavy);
    EXPECT_EQ(cellColor(1, 5), window);
}

TEST(EditorPaint, TokensInTheirColoursOnTheColumnGrid) {
    auto e = MakeEditor();
    e->View().Colors().Url().SetColor(RgbColor(255, 0, 0));
    e->View().Colors().Mail().SetBkColor(RgbColor(0, 160, 0));
    const std::string text = Sjis("見て http://a.jp/x と me@b.jp です");
    e->SetText(text);
    const QImage image = Render(*e);
    // 見て = columns 0-3, a space, the URL on 5..17, a space, と on 19-20, a space, the address on 22..28.
    EXPECT_EQ(CountIf(image, Cells(0, 0, 5), Reddish), 0);
    EXPECT_GT(CountIf(image, Cells(0, 5, 18), Reddish), 30);
    EXPECT_EQ(CountIf(image, Cells(0, 18, 40), Reddish), 0);
    const QColor window = e->Resolve(clWindow);
    for (int c = 21; c <= 29; ++c)
        EXPECT_EQ(image.pixelColor(kLeft + c * kCw + 1, kTop), (c >= 22 && c < 29) ? kGreen : window) << c;
    // The two-byte characters take two columns each: と's glyph lies within columns 21-22.
    EXPECT_GT(CountIf(image, Cells(0, 19, 21), Dark), 5);
}

TEST(EditorPaint, LeftBarShowsLineNumbersWithLeadingZeros) {
    auto e = MakeEditor();
    // An empty document shows 0001 in the first row, and nothing below.
    EXPECT_EQ(e->LeftbarTexts(0, 2), (std::vector<std::string>{"0001", "", ""}));
    // The pixels: the same text drawn by the grid painter at the bar's left margin.
    const QImage image = Render(*e);
    const QColor bk = e->Resolve(clBtnFace);
    const auto reference = [&](const std::string& text) {
        QImage ref(image.size(), QImage::Format_RGB32);
        ref.fill(bk);
        QPainter p(&ref);
        TEditorTextPainter painter;
        QFontMetrics fm(e->font());
        painter.SetFont(e->font(), kCw, fm.ascent());
        painter.Draw(p, 4, kTop, text, 0, static_cast<int>(text.size()), e->Resolve(clWindowText), 0);
        return ref;
    };
    const QRect bar(0, kTop, e->LeftbarWidth() - 2, kCh);
    EXPECT_EQ(image.copy(bar), reference("0001").copy(bar));
    EXPECT_NE(image.copy(bar), reference("0002").copy(bar));
    // nmLine with word wrap: continuation rows get no number; the empty line after a final break does.
    e->WrapOption().SetWrapByte(20);
    e->SetWordWrap(true);
    e->SetText(std::string(30, 'x') + "\r\nshort\r\n");
    ASSERT_EQ(e->LineCount(), 3);
    EXPECT_EQ(e->LeftbarTexts(0, 5), (std::vector<std::string>{"0001", "", "0002", "0003", "", ""}));
    EXPECT_EQ(e->LeftbarTexts(1, 3), (std::vector<std::string>{"", "0002", "0003"}));
    // nmRow numbers every row; without ZeroLead the field is padded with spaces.
    e->Leftbar().SetShowNumberMode(nmRow);
    e->Leftbar().SetZeroLead(false);
    EXPECT_EQ(e->LeftbarTexts(0, 4), (std::vector<std::string>{"   1", "   2", "   3", "   4", ""}));
}

TEST(EditorPaint, RulerNumbersStayOnTheirColumnsAfterAHorizontalScroll) {
    auto e = MakeEditor();
    e->SetText(std::string(300, 'r'));
    const QColor ink = e->Resolve(clBtnText);
    const QColor face = e->Resolve(clBtnFace);
    const auto tickAt = [&](const QImage& img, int col, int topCol, int y) {
        return img.pixelColor(kLeft + (col - topCol) * kCw, y) == ink;
    };
    QImage image = Render(*e);
    EXPECT_TRUE(tickAt(image, 10, 0, 0));  // long tick
    EXPECT_TRUE(tickAt(image, 15, 0, 3));  // half tick
    EXPECT_FALSE(tickAt(image, 15, 0, 2));
    EXPECT_TRUE(tickAt(image, 13, 0, 6));  // short tick
    EXPECT_FALSE(tickAt(image, 13, 0, 5));
    e->SetTopCol(7);  // not a multiple of the gauge
    image = Render(*e);
    EXPECT_TRUE(tickAt(image, 10, 7, 0));
    EXPECT_TRUE(tickAt(image, 20, 7, 0));
    EXPECT_TRUE(tickAt(image, 15, 7, 3));
    EXPECT_FALSE(tickAt(image, 15, 7, 2));
    // "10" one pixel right of its tick: '1' has its stroke in the cell's third pixel column, rows 1-7.
    const int x10 = kLeft + 3 * kCw + 1;
    EXPECT_EQ(image.pixelColor(x10 + 2, 1), ink);
    EXPECT_EQ(image.pixelColor(x10 + 2, 7), ink);
    EXPECT_EQ(image.pixelColor(x10, 4), face);
    // The incremental picture (pixels moved by the scroll) equals a fresh one.
    EXPECT_EQ(OnScreen(*e), image);
}

TEST(EditorPaint, RulerMarkFollowsTheCaretColumn) {
    auto e = MakeEditor();
    e->SetText("abcdefghij");
    const QColor mark = e->Resolve(clBtnText);
    e->SetCol(4);
    QImage image = Render(*e);
    const QRect cell4(kLeft + 4 * kCw + 1, 0, kCw - 1, 9);
    EXPECT_GT(CountColor(image, cell4, mark), 20);
    e->SetCol(6);
    image = OnScreen(*e);
    EXPECT_LT(CountColor(image, cell4, mark), 3);
    EXPECT_GT(CountColor(image, QRect(kLeft + 6 * kCw + 1, 0, kCw - 1, 9), mark), 20);
    EXPECT_EQ(image, Render(*e));
}

// ---- Partial repaint
// ---------------------------------------------------------------------------------------

TEST(EditorPartialRepaint, OneRowScrollPaintsOneRowBand) {
    auto e = MakeEditor(400, kTop + 10 * kRh + 5);
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += Sjis("行") + std::to_string(i) + " http://example.com/" + std::to_string(i) + "\r\n";
    e->SetText(text);
    e->clearFocus();
    Flush();
    e->SetRecordInvalidations(true);
    e->SetTopRow(1);
    Flush();
    QRegion painted;
    for (const QRegion& r : e->RecordedPaints()) painted += r;
    const int h = e->viewport()->height();
    EXPECT_EQ(painted.boundingRect(), QRect(0, h - kRh, e->viewport()->width(), kRh));
    e->SetRecordInvalidations(false);
    EXPECT_SCREEN_UP_TO_DATE(*e, "paint1");
    // A page down is drawn whole; a scroll up exposes the top band.
    e->SetRecordInvalidations(true);
    e->SetTopRow(0);
    Flush();
    painted = QRegion();
    for (const QRegion& r : e->RecordedPaints()) painted += r;
    EXPECT_EQ(painted.boundingRect(), QRect(0, kTop, e->viewport()->width(), kRh));
    EXPECT_SCREEN_UP_TO_DATE(*e, "paint2");
}

namespace {

// The recorded invalidations inside the text area (the ruler's caret mark moves with the caret too).
std::vector<QRect> TextAreaInvalidations(const TEditor& e) {
    std::vector<QRect> out;
    for (const QRect& r : e.RecordedInvalidations())
        if (r.top() >= kTop) out.push_back(r);
    return out;
}

}  // namespace

TEST(EditorPartialRepaint, ExtendingASelectionByOneCharacterRedrawsOnlyItsStrip) {
    auto e = MakeEditor();
    e->SetText("abcdefghij\r\nklmnop");
    e->clearFocus();
    e->SetSelStart(2);
    e->SetSelLength(3);
    Flush();
    e->SetRecordInvalidations(true);
    e->SetCol(6);  // Shift+Right
    e->UpdateSelection();
    ASSERT_EQ(TextAreaInvalidations(*e).size(), 1u);
    EXPECT_EQ(TextAreaInvalidations(*e)[0], QRect(kLeft + 5 * kCw, kTop, kCw, kCh));
    // Shrinking at the other end redraws the strip that left the selection.
    e->SetRecordInvalidations(true);
    e->SetCol(3);
    e->UpdateSelection();
    ASSERT_EQ(TextAreaInvalidations(*e).size(), 1u);
    EXPECT_EQ(TextAreaInvalidations(*e)[0], QRect(kLeft + 3 * kCw, kTop, 3 * kCw, kCh));
    // Crossing into the next row: the first row's rest and the new row's start.
    e->SetRecordInvalidations(true);
    e->SetRowCol(1, 2);
    e->UpdateSelection();
    QRegion invalid;
    for (const QRect& r : TextAreaInvalidations(*e)) invalid += r;
    const int w = e->viewport()->width();
    EXPECT_EQ(invalid, QRegion(QRect(kLeft + 3 * kCw, kTop, w - kLeft - 3 * kCw, kCh)) +
                           QRegion(QRect(kLeft, kTop + kRh, 2 * kCw, kCh)));
    Flush();
    e->SetRecordInvalidations(false);
    EXPECT_SCREEN_UP_TO_DATE(*e, "paint3");
}

TEST(EditorPartialRepaint, AnEditRepaintsOnlyTheChangedRows) {
    auto e = MakeEditor();
    std::string text;
    for (int i = 0; i < 30; ++i) text += "row " + std::to_string(i) + "\r\n";
    e->SetText(text);
    e->clearFocus();
    Flush();
    e->SetRecordInvalidations(true);
    e->SetRowCol(3, 2);
    e->InsertText("XY");
    Flush();
    QRegion painted;
    for (const QRegion& r : e->RecordedPaints()) painted += r;
    // Row 3 only (the text band; the ruler cell of the caret column may be repainted too).
    EXPECT_TRUE(QRegion(QRect(0, kTop + 3 * kRh, e->viewport()->width(), kRh))
                    .contains(painted.boundingRect() & QRect(0, kTop, 9999, 9999)));
    e->SetRecordInvalidations(false);
    EXPECT_SCREEN_UP_TO_DATE(*e, "paint4");
    // Inserting a line moves the rows below by pixels and paints the changed row and the left bar.
    e->SetRecordInvalidations(true);
    e->InsertText("\r\n");
    Flush();
    EXPECT_SCREEN_UP_TO_DATE(*e, "insertline");
    // Deleting two lines moves them up.
    e->SetRowCol(2, 0);
    e->BeginSelection();
    e->SetRowCol(4, 0);
    e->ExtendSelection();
    e->DeleteSelection();
    Flush();
    EXPECT_SCREEN_UP_TO_DATE(*e, "paint5");
}

TEST(EditorPartialRepaint, WiderLineNumbersShiftTheTextInsteadOfRepaintingIt) {
    auto e = MakeEditor(400, kTop + 10 * kRh);
    std::string text;
    for (int i = 0; i < 9999; ++i) text += "x\r\n";
    text.resize(text.size() - 2);
    LoadText(*e, text);
    ASSERT_EQ(e->LineCount(), 9999);
    EXPECT_EQ(e->LeftbarDigits(), 4);
    e->clearFocus();
    Flush();
    const int oldLeft = e->TextLeft();
    e->SetRecordInvalidations(true);
    e->SetRow(9998);
    e->SetCol(1);
    e->InsertText("\r\ny");
    EXPECT_EQ(e->LineCount(), 10000);
    EXPECT_EQ(e->LeftbarDigits(), 5);
    EXPECT_EQ(e->TextLeft(), oldLeft + kCw);
    Flush();
    QRegion painted;
    for (const QRegion& r : e->RecordedPaints()) painted += r;
    // The bar and the uncovered column strip are painted; the text right of them only moved.
    const QRect textArea(e->TextLeft() + kCw, kTop, e->viewport()->width(), 10 * kRh);
    EXPECT_TRUE((painted & textArea).isEmpty())
        << painted.boundingRect().x() << "," << painted.boundingRect().width();
    e->SetRecordInvalidations(false);
    EXPECT_SCREEN_UP_TO_DATE(*e, "paint6");
    // Leftbar.Column is the least digit count.
    e->Leftbar().SetColumn(8);
    EXPECT_EQ(e->LeftbarDigits(), 8);
}

TEST(EditorPaint, CaretRowUnderlineFollowsTheCaretAndHidesInASelection) {
    auto e = MakeEditor();
    e->Marks().Underline().SetColor(RgbColor(255, 0, 0));
    e->Marks().Underline().SetVisible(true);
    EXPECT_EQ(e->RowHeight(), kCh + 1);  // the underline takes a pixel row of its own
    e->SetText("abc\r\ndef\r\nghi");
    const int rh = e->RowHeight();
    const auto underlined = [&](const QImage& img, int row) {
        return CountIf(img, QRect(kLeft, kTop + row * rh + kCh, 100, 1), Reddish) == 100;
    };
    QImage image = Render(*e);
    EXPECT_TRUE(underlined(image, 0));
    EXPECT_FALSE(underlined(image, 1));
    e->SetRow(1);
    image = OnScreen(*e);
    EXPECT_FALSE(underlined(image, 0));
    EXPECT_TRUE(underlined(image, 1));
    EXPECT_SCREEN_UP_TO_DATE(*e, "underline1");
    // While a selection is active the underline is hidden; it returns when the selection ends.
    e->BeginSelection();
    e->SetCol(2);
    e->ExtendSelection();
    image = OnScreen(*e);
    EXPECT_FALSE(underlined(image, 1));
    EXPECT_EQ(e->UnderlineHideCount(), 1);
    e->CancelSelection();
    EXPECT_EQ(e->UnderlineHideCount(), 0);
    EXPECT_TRUE(underlined(OnScreen(*e), 1));
    EXPECT_SCREEN_UP_TO_DATE(*e, "underline2");
}

TEST(EditorPaint, DrawLineEventForEveryPaintedRow) {
    auto e = MakeEditor(400, kTop + 5 * kRh);
    e->SetText(Sjis("\tタブ\r\nplain\r\n") + std::string(300, 'w') + "\r\nend");
    std::vector<std::pair<int, std::string>> lines;
    std::vector<bool> selected;
    e->OnDrawLine = [&](TEditor*, const std::string& s, int x, int y, int index, const QRect&, bool sel) {
        lines.emplace_back(index, s);
        selected.push_back(sel);
        EXPECT_EQ(x, kLeft - e->TopCol() * kCw);
        EXPECT_EQ(y, kTop + (index - e->TopRow()) * kRh);
    };
    Render(*e);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], (std::pair<int, std::string>{0, "        " + Sjis("タブ")}));  // tab-expanded
    EXPECT_EQ(lines[1].second, "plain");
    EXPECT_EQ(std::count(selected.begin(), selected.end(), true), 0);
    // Rows that end left of the view raise no event; a selected piece raises one with Selected.
    lines.clear();
    selected.clear();
    e->SetTopCol(100);
    e->SetSelStart(0);
    e->SetSelLength(3);
    Render(*e);
    std::vector<int> rows;
    for (const auto& l : lines) rows.push_back(l.first);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), 0), 0);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), 2), 1);
    // Italic text: every token is drawn, and the rows still come out once each.
    lines.clear();
    e->SetTopCol(0);
    e->CancelSelection();
    e->View().Colors().Ank().SetStyle(fsItalic);
    EXPECT_TRUE(e->ItalicInUse());
    const QImage italic = Render(*e);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const auto& l) { return l.first == 1; }), 1);
    EXPECT_GT(CountIf(italic, Cells(1, 0, 5), Dark), 10);
}

TEST(EditorPaint, ACharacterCutByTheLeftEdgeStaysInTheTextArea) {
    auto e = MakeEditor();
    e->SetText(Sjis("明明明明明明明明明明明明明明明明"));
    const QImage before = Render(*e);
    e->SetTopCol(3);  // column 3 is the second half of the second 明
    const QImage image = Render(*e);
    // The left bar and the margin look as before; the text starts with the half character's right part.
    EXPECT_EQ(image.copy(0, kTop, kLeft, kRh), before.copy(0, kTop, kLeft, kRh));
    EXPECT_GT(CountIf(image, QRect(kLeft, kTop, kCw, kCh), Dark), 0);
    EXPECT_SCREEN_UP_TO_DATE(*e, "cutleft");
}

// A text loaded before the editor is first laid out (as a program does at start-up) widens the left bar
// then; the corner above the bar must follow, or the strip between the old and the new text edge stays
// unpainted.
TEST(EditorPartialRepaint, TextLoadedBeforeLayoutPaintsTheWholeCorner) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "line\r\n";
    const std::string file = (QDir::tempPath() + "/velloria-loaded-before-layout.txt").toStdString();
    {
        std::ofstream out(file, std::ios::binary);
        out << text;
    }
    QMainWindow window;
    auto* e = new TEditor(&window);
    ApplyMainWindowSettings(*e);
    window.setCentralWidget(e);
    window.statusBar()->addWidget(new QLabel("status"));
    e->Lines().LoadFromFile(file);
    std::remove(file.c_str());
    window.resize(600, 400);
    window.show();
    e->setFocus();
    Flush();
    ASSERT_EQ(e->LeftbarDigits(), 5);
    EXPECT_SCREEN_UP_TO_DATE(*e, "loadedBeforeLayout");
    // Just left of the text area, in the ruler's band, lies the corner: ruler background, not the mark's
    // colour or unpainted black.
    const QImage fresh = e->viewport()->grab().toImage();
    EXPECT_EQ(fresh.pixelColor(e->TextLeft() - 3, 3), e->Resolve(e->Ruler().BkColor()));
}
