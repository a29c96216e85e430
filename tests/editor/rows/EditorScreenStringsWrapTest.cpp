// The wrap rules on the row list, and switching word wrap on and off.
#include <gtest/gtest.h>

#include "editor/support/FakeEditorHost.h"
#include "editor/support/RowsTestUtil.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/rows/EditorUndoObj.h"
#include "editor/wrap/EditorWrapOption.h"

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
    // The second row starts at column 20 (the first is 19 columns: a two-byte character moved down), so
    // a TAB's fill reaches over its margin; the third row starts after the fill.
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
