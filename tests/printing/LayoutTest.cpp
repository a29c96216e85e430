// The plain C++ part of the strings printer: paper table, page geometry, word wrap and the layout loop,
// driven with a fixed-width font (10 px a single byte, 20 px a two-byte character) and a recording canvas.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Strings.h"
#include "printing/PageGeometry.h"
#include "printing/PageLayouter.h"
#include "printing/StringsPrinterInfo.h"
#include "printing/TextWrapper.h"

namespace {

using printing::TRect;

class TFixedWidths : public TCharWidths {
public:
    double Measure(unsigned code) override { return code >= 0x100 ? 20 : 10; }
};

struct TRecorded {
    struct TRun {
        int Page;
        std::string Text;
        double X;
        int Top;
    };
    struct TNumber {
        int Page;
        long Number;
        TRect Column;
        int Top;
    };
    std::vector<std::string> Events;  // "begin 1", "end 1"
    std::vector<TRun> Runs;
    std::vector<TNumber> Numbers;
};

class TRecordingCanvas : public TPageCanvas {
public:
    explicit TRecordingCanvas(TRecorded& r) : R(r) {}
    void BeginPage(int n) override {
        R.Events.push_back("begin " + std::to_string(n));
        FPage = n;
    }
    void EndPage(int n) override { R.Events.push_back("end " + std::to_string(n)); }
    void DrawLineNumber(const TRect& column, int top, long number) override {
        R.Numbers.push_back({FPage, number, column, top});
    }
    void DrawRun(std::string_view text, double x, int top) override {
        R.Runs.push_back({FPage, std::string(text), x, top});
    }

private:
    TRecorded& R;
    int FPage = 0;
};

// 254 dpi makes one millimetre ten pixels.
printing::TLayoutSettings Settings(int width, int height) {
    printing::TLayoutSettings s;
    s.Dpi = 254;
    s.PageWidth = width;
    s.PageHeight = height;
    return s;
}

struct TLayoutRun {
    TRecorded Recorded;
    int Pages = 0;
    bool Completed = false;
};

TLayoutRun Layout(const printing::TLayoutSettings& s, const std::vector<std::string>& lines,
                  TLayoutProgress* progress = nullptr) {
    TStringList list(lines);
    const printing::TPageGeometry g = printing::ComputePageGeometry(s, 20, 10, list.Count());
    TFixedWidths widths;
    TTextWrapper wrapper(widths, g.TextWidth, 80);
    TLayoutRun run;
    TRecordingCanvas canvas(run.Recorded);
    TPageLayouter layouter(g, wrapper, canvas, progress);
    run.Completed = layouter.Run(list);
    run.Pages = layouter.PageNumber();
    return run;
}

std::vector<std::string> Wrap(std::string_view line, double width) {
    TFixedWidths widths;
    TTextWrapper wrapper(widths, width, 80);
    std::vector<TTextWrapper::TSpan> spans;
    wrapper.Wrap(line, spans);
    std::vector<std::string> out;
    for (const auto& s : spans) out.emplace_back(line.substr(s.Begin, s.End - s.Begin));
    return out;
}

const std::string kNi = "\x93\xFA";   // 日
const std::string kHon = "\x96\x7B";  // 本 (its trail byte is ASCII '{')

TEST(PaperTable, HoldsEveryCodeWithItsSize) {
    const auto& table = TStringsPrinterInfo::Table();
    ASSERT_EQ(table.size(), 68u);
    EXPECT_EQ(table.front().Name, "DMPAPER_LETTER");
    EXPECT_EQ(table.back().Name, "DMPAPER_A3_EXTRA_TRANSVERSE");
    EXPECT_EQ(TStringsPrinterInfo::Find(43)->Name, "DMPAPER_JAPANESE_POSTCARD");
    const struct {
        int Code;
        double Width, Height;
    } sizes[] = {{9, 210, 297},  {8, 297, 420},  {12, 250, 354}, {13, 182, 257},   {43, 100, 148},
                 {27, 110, 220}, {48, 100, 100}, {49, 100, 100}, {1, 215.9, 279.4}};
    for (const auto& size : sizes) {
        EXPECT_NEAR(TStringsPrinterInfo::Find(size.Code)->Width, size.Width, 1e-9) << size.Code;
        EXPECT_NEAR(TStringsPrinterInfo::Find(size.Code)->Height, size.Height, 1e-9) << size.Code;
    }
    EXPECT_EQ(TStringsPrinterInfo::Find(0), nullptr);
    EXPECT_EQ(TStringsPrinterInfo::Find(69), nullptr);
}

// A4 at 600 dpi on a printer whose printable area is 4 mm smaller than the paper on every side.
TEST(PageGeometry, MarginsCountFromThePaperEdge) {
    EXPECT_EQ(printing::RoundHalfEven(2.5), 2);
    EXPECT_EQ(printing::RoundHalfEven(3.5), 4);
    EXPECT_EQ(printing::RoundHalfEven(-2.5), -2);
    EXPECT_EQ(printing::MmToPixels(600, 210), 4961);
    EXPECT_EQ(printing::MmToPixels(600, 297), 7016);
    const int four = printing::MmToPixels(600, 4);
    const int pageW = 4961 - 2 * four;
    const int pageH = 7016 - 2 * four;
    const printing::TPaperOffsets offsets = printing::CentredPaperOffsets(4961, 7016, pageW, pageH);
    EXPECT_EQ(offsets, (printing::TPaperOffsets{four, four, four, four}));
    // An odd difference leaves the extra pixel on the right.
    EXPECT_EQ(printing::CentredPaperOffsets(101, 50, 90, 60), (printing::TPaperOffsets{5, 0, 6, 0}));

    printing::TLayoutSettings s;
    s.Dpi = 600;
    s.PageWidth = pageW;
    s.PageHeight = pageH;
    s.Offsets = offsets;
    s.MarginLeft = 10;
    s.MarginRight = 10;
    s.MarginTop = 15;
    s.MarginBottom = 15;
    printing::TPageGeometry g = printing::ComputePageGeometry(s, 100, 50, 10);
    EXPECT_EQ(g.Area.Left, printing::MmToPixels(600, 10) - four);  // 6 mm into the printable area
    EXPECT_EQ(g.Area.Right, pageW - (printing::MmToPixels(600, 10) - four));
    EXPECT_EQ(g.Area.Top, printing::MmToPixels(600, 15) - four);
    EXPECT_EQ(g.Area.Bottom, pageH - (printing::MmToPixels(600, 15) - four));
    s.MarginLeft = 2;  // inside the unprintable border: the text starts at the printable edge
    s.MarginBottom = 0;
    g = printing::ComputePageGeometry(s, 100, 50, 10);
    EXPECT_EQ(g.Area.Left, 0);
    EXPECT_EQ(g.Area.Bottom, pageH);
}

TEST(PageGeometry, BandsColumnsAndNumberColumn) {
    printing::TLayoutSettings s = Settings(2000, 3000);
    s.MarginLeft = s.MarginRight = s.MarginTop = s.MarginBottom = 10;  // 100 px
    s.ColumnCount = 3;
    s.ColumnSpace = 4;  // 40 px
    s.LineNumber = true;
    s.HeaderVisible = true;
    printing::TPageGeometry g = printing::ComputePageGeometry(s, 20, 10, 120);
    EXPECT_EQ(g.Area, (TRect{100, 100, 1900, 2900}));
    EXPECT_EQ(g.Header, (TRect{100, 100, 1900, 130}));  // one and a half lines
    EXPECT_EQ(g.Footer, (TRect{100, 2900, 1900, 2900}));
    EXPECT_EQ(g.NumberWidth, 50);  // "120" and two more characters
    EXPECT_EQ(g.TextWidth, (1800 - 50 - 2 * (40 + 50)) / 3);
    EXPECT_EQ(g.Stride, 40 + 50 + g.TextWidth);
    EXPECT_EQ(g.NumberColumn(2), (TRect{100 + 2 * g.Stride, 130, 150 + 2 * g.Stride, 2900}));
    EXPECT_EQ(g.TextColumn(2).Right, 150 + 2 * g.Stride + g.TextWidth);
    EXPECT_LE(g.TextColumn(2).Right, g.Area.Right);

    s.ColumnCount = 5;
    s.LineNumber = false;
    s.HeaderVisible = false;
    s.FooterVisible = true;
    g = printing::ComputePageGeometry(s, 20, 10, 120);
    EXPECT_EQ(g.ColumnCount, 3);
    EXPECT_EQ(g.NumberWidth, 0);
    EXPECT_EQ(g.Header.Bottom, 100);
    EXPECT_EQ(g.Footer, (TRect{100, 2870, 1900, 2900}));

    // Margins wider than the page leave a degenerate area, never a negative column.
    s.MarginLeft = s.MarginRight = 100;
    g = printing::ComputePageGeometry(s, 20, 10, 1);
    EXPECT_GE(g.Area.Width(), 0);
    EXPECT_GE(g.TextWidth, 1);
}

TEST(TextWrapper, BreaksBetweenWordsAndCharactersNeverInsideOneAndExpandsTabs) {
    EXPECT_EQ(Wrap("abc def ghijk", 100), (std::vector<std::string>{"abc def", "ghijk"}));
    EXPECT_EQ(Wrap("abcdefghijklmno", 100), (std::vector<std::string>{"abcdefghij", "klmno"}));
    // A two-byte character that reaches past the edge goes whole to the next paper line.
    EXPECT_EQ(Wrap("abcdefghi" + kNi + "x", 100), (std::vector<std::string>{"abcdefghi", kNi + "x"}));
    EXPECT_EQ(Wrap("abcdefghij" + kHon, 100), (std::vector<std::string>{"abcdefghij", kHon}));
    // Japanese breaks between any two characters, a word after it at its start.
    std::string japanese;
    for (int i = 0; i < 7; ++i) japanese += (i % 2 ? kHon : kNi);
    const auto lines = Wrap(japanese + "abc", 100);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 10u);
    EXPECT_EQ(lines[1], kHon + kNi + "abc");
    // Spaces hang at the edge and are not carried over; an empty line is one empty paper line.
    EXPECT_EQ(Wrap("abcdefghij   klm", 100), (std::vector<std::string>{"abcdefghij", "klm"}));
    EXPECT_EQ(Wrap("", 100), (std::vector<std::string>{""}));
    // A column narrower than a character still puts one character on each paper line.
    EXPECT_EQ(Wrap(kNi + kHon, 5), (std::vector<std::string>{kNi, kHon}));
    // Tabs stop every 80 px from the paper line's start; one that passes the edge ends the paper line.
    EXPECT_EQ(Wrap("abcdefg\thij", 100), (std::vector<std::string>{"abcdefg", "hij"}));
    TFixedWidths widths;
    TTextWrapper wrapper(widths, 1000, 80);
    const std::string line = "a\tbc\t\td";
    std::vector<std::pair<std::string, double>> runs;
    wrapper.ForEachRun(line, {0, line.size()}, [&](std::size_t b, std::size_t e, double x) {
        runs.emplace_back(line.substr(b, e - b), x);
    });
    EXPECT_EQ(runs, (std::vector<std::pair<std::string, double>>{{"a", 0}, {"bc", 80}, {"d", 240}}));
}

// 1000 x 1000 px, no margins: 50 lines of 20 px to a column.
TEST(PageLayouter, NumbersOneHundredTwentyLinesOverColumnsAndPages) {
    std::vector<std::string> lines;
    for (int i = 0; i < 120; ++i) lines.push_back("line " + std::to_string(i + 1));
    printing::TLayoutSettings s = Settings(1000, 1000);
    s.LineNumber = true;
    TLayoutRun one = Layout(s, lines);
    EXPECT_TRUE(one.Completed);
    EXPECT_EQ(one.Pages, 3);
    ASSERT_EQ(one.Recorded.Numbers.size(), 120u);
    for (int i = 0; i < 120; ++i) {
        const auto& n = one.Recorded.Numbers[i];
        EXPECT_EQ(n.Number, i + 1);
        EXPECT_EQ(n.Page, i / 50 + 1);
        EXPECT_EQ(n.Top, (i % 50) * 20);
        EXPECT_EQ(n.Column, (TRect{0, 0, 50, 1000}));  // five characters wide
    }
    EXPECT_EQ(one.Recorded.Runs[0].X, 50);
    EXPECT_EQ(one.Recorded.Events,
              (std::vector<std::string>{"begin 1", "end 1", "begin 2", "end 2", "begin 3", "end 3"}));

    s.ColumnCount = 2;
    s.ColumnSpace = 10;
    TLayoutRun two = Layout(s, lines);
    EXPECT_EQ(two.Pages, 2);
    const auto& line51 = two.Recorded.Numbers[50];
    EXPECT_EQ(line51.Page, 1);
    EXPECT_EQ(line51.Top, 0);
    const int textWidth = (1000 - 50 - (100 + 50)) / 2;
    EXPECT_EQ(line51.Column.Left, 100 + 50 + textWidth);
    EXPECT_EQ(two.Recorded.Numbers[100].Page, 2);
    EXPECT_EQ(two.Recorded.Numbers[100].Column.Left, 0);
}

TEST(PageLayouter, WrappedLinesPushTheNextLineDownAndCarryOverColumns) {
    printing::TLayoutSettings s = Settings(100, 1000);  // 10 single bytes to a paper line
    s.LineNumber = false;
    TLayoutRun run = Layout(s, {"abcdefghi" + kNi + "tail", "next"});
    ASSERT_EQ(run.Recorded.Runs.size(), 3u);
    EXPECT_EQ(run.Recorded.Runs[1].Text, kNi + "tail");
    EXPECT_EQ(run.Recorded.Runs[1].Top, 20);
    EXPECT_EQ(run.Recorded.Runs[2].Text, "next");
    EXPECT_EQ(run.Recorded.Runs[2].Top, 40);

    // A line that does not fit below the text goes to the next page whole ...
    std::vector<std::string> lines(49, "x");
    lines.push_back("abcdefghijklmnopqrst");  // two paper lines, one left in the column
    run = Layout(s, lines);
    EXPECT_EQ(run.Pages, 2);
    EXPECT_EQ(run.Recorded.Runs[49].Page, 2);
    EXPECT_EQ(run.Recorded.Runs[49].Top, 0);

    // ... and a line taller than a whole column fills it and continues, none of it below the footer.
    std::string tall;
    for (int i = 0; i < 60; ++i) tall += "abcdefghij";
    run = Layout(s, {tall, "after"});
    EXPECT_EQ(run.Pages, 2);
    ASSERT_EQ(run.Recorded.Runs.size(), 61u);
    EXPECT_EQ(run.Recorded.Runs[49].Top, 980);
    EXPECT_EQ(run.Recorded.Runs[50].Page, 2);
    EXPECT_EQ(run.Recorded.Runs[50].Top, 0);
    EXPECT_EQ(run.Recorded.Runs[60].Text, "after");
    EXPECT_EQ(run.Recorded.Runs[60].Top, 200);
}

TEST(PageLayouter, EmptyListGivesOnePageAndCancelStops) {
    printing::TLayoutSettings s = Settings(1000, 1000);
    s.HeaderVisible = s.FooterVisible = true;
    TLayoutRun empty = Layout(s, {});
    EXPECT_TRUE(empty.Completed);
    EXPECT_EQ(empty.Pages, 1);
    EXPECT_EQ(empty.Recorded.Events, (std::vector<std::string>{"begin 1", "end 1"}));
    EXPECT_TRUE(empty.Recorded.Runs.empty());

    struct TStopAt : TLayoutProgress {
        int Calls = 0;
        bool Step(int last, int index) override {
            EXPECT_EQ(last, 199);
            EXPECT_EQ(index, Calls);
            return ++Calls <= 100;
        }
    } stop;
    TLayoutRun cancelled = Layout(s, std::vector<std::string>(200, "x"), &stop);
    EXPECT_FALSE(cancelled.Completed);
    EXPECT_EQ(cancelled.Recorded.Runs.size(), 100u);
    EXPECT_NE(cancelled.Recorded.Events.back().substr(0, 3), "end");
}

}  // namespace
