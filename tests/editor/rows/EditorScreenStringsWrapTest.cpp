// The wrap rules on the row list, and switching word wrap on and off.
#include <gtest/gtest.h>

#include "editor/support/FakeEditorHost.h"
#include <random>

#include "editor/rows/EditorScreenStrings.h"
#include "editor/rows/EditorStrings.h"
#include "editor/rows/EditorUndoObj.h"
#include "editor/support/RowsTestUtil.h"
#include "editor/wrap/EditorWrapOption.h"
#include "text/ShiftJis.h"

using namespace rowtest;
using Rows = std::vector<std::string>;

namespace {

struct WrapFixture : ::testing::Test {
    TEditorScreenStrings rows;
    TFakeEditorHost host;
    WrapFixture() {
        rows.AddEditor(&host, host.Options());
        rows.SetWordWrap(true);
    }
    TEditorWrapOption& Option() { return rows.WrapOption(); }
    // The rows a line wraps into, as Dump strings.
    Rows Wrap(const std::string& line) {
        TEditorStringList list;
        rows.WrapText(line, list);
        if (line.find_first_of("\r\n") == std::string::npos) {
            EXPECT_EQ(rows.CountWrappedRows(line), list.Count());
        }
        return Dump(list);
    }
};

std::string A(int n) {
    return std::string(static_cast<std::size_t>(n), 'a');
}

}  // namespace

TEST_F(WrapFixture, WidthAndExactFill) {
    EXPECT_EQ(Wrap(A(79)), (Rows{A(79) + "|L"}));
    EXPECT_EQ(Wrap(A(80)), (Rows{A(80) + "|W", "|L"}));
    Option().SetFollowRetMark(true);
    EXPECT_EQ(Wrap(A(80)), (Rows{A(80) + "|L"}));
    EXPECT_EQ(Wrap(A(170)), (Rows{A(80) + "|W", A(80) + "|W", A(10) + "|L"}));
    EXPECT_EQ(Wrap(""), (Rows{"|L"}));
    EXPECT_EQ(Wrap("x\r\n\r\ny"), (Rows{"x|L", "|L", "y|L"}));
}

TEST_F(WrapFixture, TwoByteCharacterOnTheMarginMovesWhole) {
    EXPECT_EQ(Wrap(A(79) + kA + "b"), (Rows{A(79) + "|W", kA + "b|L"}));
    EXPECT_EQ(Wrap(A(78) + kA + "b"), (Rows{A(78) + kA + "|W", "b|L"}));
}

TEST_F(WrapFixture, WordBreak) {
    Option().SetWordBreak(true);
    const std::string b(10, 'b');
    EXPECT_EQ(Wrap(A(75) + " " + b), (Rows{A(75) + " |W", b + "|L"}));
    const Rows word = Wrap(A(200));
    ASSERT_EQ(word.size(), 6u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(word[static_cast<std::size_t>(i)], A(26) + "|W");
    EXPECT_EQ(word[5], A(70) + "|L");
}

TEST_F(WrapFixture, HangingPunctuation) {
    Option().SetFollowPunctuation(true);
    EXPECT_EQ(Wrap(A(80) + kKuten + "b"), (Rows{A(80) + kKuten + "|W", "b|L"}));
    EXPECT_EQ(Wrap(A(80) + ",,,b"), (Rows{A(80) + ",,|W", ",b|L"}));  // at most two columns
    Option().SetFollowPunctuation(false);
    EXPECT_EQ(Wrap(A(80) + kKuten + "b"), (Rows{A(80) + "|W", kKuten + "b|L"}));
}

TEST_F(WrapFixture, LeadingAndFollowingCharacters) {
    Option().SetLeading(true);
    EXPECT_EQ(Wrap(A(79) + "(bbb"), (Rows{A(79) + "|W", "(bbb|L"}));
    EXPECT_EQ(Wrap(A(78) + kKakko + "bbb"), (Rows{A(78) + "|W", kKakko + "bbb|L"}));
    // A "、" that would start a row takes the character before it along.
    EXPECT_EQ(Wrap(A(80) + kTouten + "b"), (Rows{A(79) + "|W", "a" + kTouten + "b|L"}));
    // The cut never moves back once the row is 64 columns or shorter.
    const std::string brackets(90, '(');
    EXPECT_EQ(Wrap(brackets), (Rows{std::string(64, '(') + "|W", std::string(26, '(') + "|L"}));
}

TEST_F(WrapFixture, TabsStopAtTheMarginAndNeverStartARow) {
    Option().SetWrapByte(20);
    EXPECT_EQ(Wrap(A(18) + "\tb"), (Rows{A(18) + "\t|W", "b|L"}));
    // A TAB's fill is counted from the start of its row, as the row is drawn: in the second row (which
    // starts at column 20 of the line, the first being 19 columns) it stops at the row's margin too, and
    // the third row starts after the fill.
    const std::string b(16, 'b');
    EXPECT_EQ(Wrap(A(19) + kA + b + "\tcc"), (Rows{A(19) + "|W", kA + b + "\t|W", "cc|L"}));
}

// A new tab width of the owner cuts every row again: rows cut with the old width would disagree with the
// next edit's cut. Another editor's tab width counts only once that editor owns the rows.
TEST_F(WrapFixture, TheOwnersNewTabWidthRewrapsTheText) {
    Option().SetWrapByte(20);
    rows.ReplaceRows(0, 0, "a\tb" + A(15) + "\r\nz");
    ASSERT_EQ(Dump(rows), (Rows{"a\tb" + A(11) + "|W", A(4) + "|L", "z|E"}));
    TFakeEditorHost other;
    other.tabSpaceCount = 2;
    rows.AddEditor(&other, other.Options());
    rows.SetEditorOptions(&other, other.Options());
    EXPECT_EQ(rows.Count(), 3);
    host.tabSpaceCount = 2;
    host.refreshes = 0;
    rows.SetEditorOptions(&host, host.Options());
    EXPECT_EQ(Dump(rows), (Rows{"a\tb" + A(15) + "|L", "z|E"}));
    EXPECT_GE(host.refreshes, 1);
    rows.SetEditorOptions(&host, host.Options());  // the same rules again: nothing to do
    EXPECT_EQ(rows.Count(), 2);
    // When the owner leaves, the next editor's tab width rules.
    other.tabSpaceCount = 8;
    rows.SetEditorOptions(&other, other.Options());
    EXPECT_EQ(rows.Count(), 2);
    rows.RemoveEditor(&host);
    EXPECT_EQ(Dump(rows), (Rows{"a\tb" + A(11) + "|W", A(4) + "|L", "z|E"}));
    rows.RemoveEditor(&other);
}

TEST_F(WrapFixture, SwitchingWrapOffAndOnKeepsTheTextAndClearsUndo) {
    Option().SetWrapByte(20);
    rows.SetWordWrap(false);
    rows.ReplaceRows(0, 0, A(45) + "\r\n" + kA + "\r\nend");
    rows.ReplaceRows(1, 1, "x\r\n");
    ASSERT_TRUE(rows.UndoObj().CanUndo());
    host.col = 5;
    const std::string text = Text(rows);
    rows.SetWordWrap(true);
    EXPECT_EQ(Dump(rows), (Rows{A(20) + "|W", A(20) + "|W", A(5) + "|L", "x|L", "end|E"}));
    EXPECT_EQ(Text(rows), text);
    EXPECT_FALSE(rows.UndoObj().CanUndo());
    EXPECT_EQ(host.col, 0);
    rows.ReplaceRows(4, 1, "end\r\n");
    rows.SetWordWrap(false);
    EXPECT_EQ(Dump(rows), (Rows{A(45) + "|L", "x|L", "end|L"}));
    EXPECT_FALSE(rows.UndoObj().CanUndo() || rows.UndoObj().CanRedo());
}

TEST_F(WrapFixture, UnwrapKeepsAWrappedLastRowAsEndOfText) {
    Fill(rows, {"abc|W", "def|W"});
    rows.SetWordWrap(false);
    EXPECT_EQ(Dump(rows), (Rows{"abcdef|E"}));
}

TEST_F(WrapFixture, WrapOptionChangeRewrapsOnlyWithWordWrapOn) {
    rows.ReplaceRows(0, 0, A(100));
    EXPECT_EQ(rows.Count(), 2);
    host.refreshes = 0;
    Option().SetWrapByte(30);
    EXPECT_EQ(rows.Count(), 4);
    EXPECT_GE(host.refreshes, 1);
    EXPECT_FALSE(rows.UndoObj().CanUndo());
    rows.SetWordWrap(false);
    Option().SetWrapByte(20);
    EXPECT_EQ(rows.Count(), 1);
}

TEST_F(WrapFixture, EditingAWrappedLineRewrapsFromTheRowBefore) {
    rows.ReplaceRows(0, 0, A(170) + "\r\nnext");
    ASSERT_EQ(Dump(rows), (Rows{A(80) + "|W", A(80) + "|W", A(10) + "|L", "next|E"}));
    rows.ReplaceRows(1, 1, "bb");  // row 1 replaced: the rows of the line are cut again from row 0
    EXPECT_EQ(Dump(rows), (Rows{A(80) + "|W", "bb" + A(10) + "|L", "next|E"}));
    rows.ReplaceRows(2, 1, "");  // deleting the last line (a pure deletion) leaves the line break before it
    EXPECT_EQ(Dump(rows), (Rows{A(80) + "|W", "bb" + A(10) + "|L"}));
}

// Typing in a long wrapped line re-cuts only the rows up to where the new cuts meet the old ones again; the
// rows after are kept, the undo record holds the typed byte and the few replaced rows' shapes, and the rows
// are what a fresh wrap of the line gives. (Without WordBreak and TABs no row's cut looks past the next row,
// so the rows of every line stay a fresh wrap of it after any edit.)
TEST_F(WrapFixture, EditsInALongLineStopReWrappingWhereTheCutsMeetAgain) {
    std::mt19937 rng(5);
    const std::vector<std::string> pieces = {"a",    "bc",      " ",   kA,  kKan + kA, kTouten, kKuten,
                                             kKakko, kKakkoEnd, "x_1", "(", ")",       ",",     "\xB1"};
    const auto piece = [&] { return pieces[rng() % pieces.size()]; };
    std::string line;
    while (line.size() < 6000) line += piece();
    for (int round = 0; round < 4; ++round) {
        Option().SetWrapByte(std::vector<int>{80, 20, 27, 40}[static_cast<std::size_t>(round)]);
        Option().SetLeading(round % 2 == 0);
        Option().SetFollowPunctuation(round >= 2);
        Option().SetFollowRetMark(round == 3);
        TEditorStrings lines(rows, &host);
        lines.SetTextStr("top\r\n" + line + "\r\n" + line + "\r\nend");
        for (int step = 0; step < 150; ++step) {
            const int row = 1 + static_cast<int>(rng() % static_cast<unsigned>(rows.Count() - 2));
            std::string text(rows.RowText(row));
            const std::size_t at = sjis::IsCharBoundary(text, text.size() / 2) ? text.size() / 2 : 0;
            if (step % 10 == 9)
                text.insert(at, "\r\n");  // Enter
            else if (step % 3 == 2 && !text.empty())
                text.erase(0, sjis::CharLength(text, 0));  // a deleted character
            else
                text.insert(at, piece());
            if (rows.RowEnd(row) == reLineBreak) text += "\r\n";
            rows.ReplaceRows(row, 1, text);
            const TUndoData& record = rows.UndoObj().UndoRecord(rows.UndoObj().UndoCount() - 1);
            ASSERT_LE(record.RemovedText.size(), 4u);
            // Each row of every line is where a fresh wrap of the line puts it.
            const Rows after = Dump(rows);
            for (int r = 0; r < rows.Count();) {
                const int last = rows.LineLastRow(r);
                TEditorStringList fresh;
                rows.WrapText(rows.RowsText(r, last - r + 1).Text, fresh);
                fresh.SetRowEnd(fresh.Count() - 1, rows.RowEnd(last));
                const Rows have(after.begin() + r, after.begin() + last + 1);
                ASSERT_EQ(have, Dump(fresh))
                    << "line at row " << r << ", step " << step << ", round " << round;
                r = last + 1;
            }
        }
        // A typed byte in a long line replaces a few rows, not the rest of the line.
        const int row = lines.LineToRow(1) + 3;
        std::string text(rows.RowText(row));
        text.insert(0, "z");
        rows.ReplaceRows(row, 1, text);
        const TUndoData& record = rows.UndoObj().UndoRecord(rows.UndoObj().UndoCount() - 1);
        EXPECT_LT(record.RemovedRowShapes.size(), 12u) << round;
        EXPECT_EQ(record.RemovedText, "");
        EXPECT_EQ(record.InsertedLength, 1);
    }
}
