// Column maps, the column cursor, wrap options and the wrap rules; switching word wrap.
#include <gtest/gtest.h>

#include <random>

#include "RowsTestHost.h"
#include "RowsTestUtil.h"
#include "editor/ColumnMap.h"
#include "editor/Delimiters.h"
#include "editor/EditorAttributeArray.h"
#include "editor/EditorScreenStrings.h"
#include "editor/EditorUndoObj.h"
#include "editor/EditorWrapOption.h"

using namespace rowtest;
using Rows = std::vector<std::string>;

TEST(Delimiters, DefaultSet) {
    const TDelimiters& d = DefaultDelimiters();
    for (int c :
         {0x00, 0x09, 0x20, 0x2F, 0x3A, 0x40, 0x5B, 0x5E, 0x60, 0x7B, 0x7F, 0x80, 0xA0, 0xA5, 0xFD, 0xFF})
        EXPECT_TRUE(d.test(static_cast<std::size_t>(c))) << c;
    for (int c : {int{'0'}, int{'9'}, int{'A'}, int{'Z'}, int{'_'}, int{'a'}, int{'z'}, 0x81, 0x9F, 0xA6,
                  0xDF, 0xE0, 0xFC})
        EXPECT_FALSE(d.test(static_cast<std::size_t>(c))) << c;
    EXPECT_EQ(d.count(), 48u + 7 + 4 + 1 + 6 + 6 + 3);
}

TEST(ColumnMap, CodesAndTabFill) {
    const TDelimiters& d = DefaultDelimiters();
    EXPECT_EQ(ColumnMap("a\t" + kA + "b", d, 4), "1233451");
    EXPECT_EQ(ColumnMap("\t", d, 8), "23333333");
    EXPECT_EQ(ColumnMap("x_9 ", d, 8), "1112");
    // With word wrap a TAB stops at the next multiple of the wrap width.
    const std::string before(18, 'a');
    EXPECT_EQ(ColumnMap(before + "\t", d, 8, 20), std::string(18, '1') + "23");
    EXPECT_EQ(ColumnMap(before + "\t", d, 8), std::string(18, '1') + "233333");
    // A lead byte at the very end stands alone.
    EXPECT_EQ(ColumnMap("a\x82", d, 8), "11");
}

TEST(ColumnMap, DisplayWidthAgreesWithTheMap) {
    std::mt19937 rng(3);
    const std::string pieces[] = {"a", " ", "\t", kA, kKan, "\xB1", ",", "\x82"};
    for (int i = 0; i < 500; ++i) {
        std::string line;
        const int len = static_cast<int>(rng() % 40);
        for (int k = 0; k < len; ++k) line += pieces[rng() % 8];
        for (int wrap : {0, 20, 33}) {
            const int tab = 2 + 2 * static_cast<int>(rng() % 4);
            EXPECT_EQ(DisplayWidth(line, tab, wrap),
                      static_cast<int>(ColumnMap(line, DefaultDelimiters(), tab, wrap).size()));
        }
    }
}

TEST(AttributeArray, StepsOverFillColumnsAndTwoByteCharacters) {
    const std::string line = "a\t" + kA + "b";  // map 1233451
    TEditorAttributeArray cur(line, ColumnMap(line, DefaultDelimiters(), 4));
    EXPECT_EQ(cur.Length(), 7);
    EXPECT_EQ(cur.Column(), 1);
    EXPECT_EQ(cur.ByteIndex(), 1);
    EXPECT_EQ(cur.Current(), "a");
    EXPECT_EQ(cur.PeekNext(), "\t");
    cur.MoveTo(4);  // second fill column: still the TAB
    EXPECT_EQ(cur.Code(), '3');
    EXPECT_EQ(cur.ByteIndex(), 2);
    EXPECT_EQ(cur.Current(), "\t");
    EXPECT_EQ(cur.PeekNext(), kA);
    cur.Next();
    EXPECT_EQ(cur.Code(), '4');
    EXPECT_EQ(cur.ByteIndex(), 3);
    cur.Next();
    EXPECT_EQ(cur.Code(), '5');
    EXPECT_EQ(cur.ByteIndex(), 4);
    EXPECT_EQ(cur.Current(), kA);
    cur.Next();
    cur.PrevChar();  // from 'b' back to the trail column
    EXPECT_EQ(cur.Column(), 6);
    cur.PrevChar();  // over the whole character
    EXPECT_EQ(cur.Column(), 4);
    EXPECT_EQ(cur.ByteIndex(), 2);
    cur.MoveTo(100);
    EXPECT_EQ(cur.Code(), '0');
    EXPECT_EQ(cur.Column(), 8);
    EXPECT_EQ(cur.ByteIndex(), 6);
    EXPECT_EQ(cur.Current(), "");
    cur.Next();
    EXPECT_EQ(cur.Column(), 8);
    cur.MoveTo(-5);
    EXPECT_EQ(cur.Column(), 1);
    EXPECT_EQ(cur.ByteIndex(), 1);
}

TEST(WrapOption, DefaultsClampingAndNotification) {
    TEditorWrapOption option;
    EXPECT_EQ(option.WrapByte(), 80);
    EXPECT_FALSE(option.FollowRetMark() || option.FollowPunctuation() || option.Leading() ||
                 option.WordBreak());
    EXPECT_TRUE(TEditorWrapOption::IsMember(kKuten, option.FollowStr()));
    EXPECT_TRUE(TEditorWrapOption::IsMember("\xDF", option.FollowStr()));
    EXPECT_TRUE(TEditorWrapOption::IsMember(kKakko, option.LeadStr()));
    EXPECT_TRUE(TEditorWrapOption::IsMember(",", option.PunctuationStr()));
    int notified = 0;
    option.SetOnChange([&](TNotifyPersistent*) { ++notified; });
    option.SetWrapByte(10);
    EXPECT_EQ(option.WrapByte(), 20);
    option.SetWrapByte(300);
    EXPECT_EQ(option.WrapByte(), 250);
    option.SetWrapByte(250);  // unchanged: no notification
    option.SetLeading(false);
    EXPECT_EQ(notified, 2);
    TEditorWrapOption other;
    other.SetWordBreak(true);
    other.SetLeadStr("(");
    option.Assign(other);
    EXPECT_EQ(notified, 3);
    EXPECT_TRUE(option.WordBreak());
    EXPECT_EQ(option.WrapByte(), 80);
    EXPECT_EQ(option.LeadStr(), "(");
}

TEST(WrapOption, MembershipIsByWholeCharacter) {
    // "A" (0x41) is the trail byte of 、 (0x81 0x41) but not a character of the set.
    EXPECT_FALSE(TEditorWrapOption::IsMember("A", kTouten));
    EXPECT_TRUE(TEditorWrapOption::IsMember(kTouten, "x" + kTouten));
    EXPECT_FALSE(TEditorWrapOption::IsMember("", kTouten));
}

namespace {

struct WrapFixture : ::testing::Test {
    TEditorScreenStrings rows;
    TRowsTestHost host;
    WrapFixture() {
        rows.AddEditor(&host);
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

TEST_F(WrapFixture, WhileTheOwnerLoadsOnlyTheFlagIsStored) {
    rows.SetWordWrap(false);
    rows.ReplaceRows(0, 0, A(100));
    host.loading = true;
    rows.SetWordWrap(true);
    EXPECT_TRUE(rows.WordWrap());
    EXPECT_EQ(rows.Count(), 1);
    host.loading = false;
    rows.WrapOptionChanged();  // what the editor calls when loading is done
    EXPECT_EQ(rows.Count(), 2);
}

TEST_F(WrapFixture, EditingAWrappedLineRewrapsFromTheRowBefore) {
    rows.ReplaceRows(0, 0, A(170) + "\r\nnext");
    ASSERT_EQ(Dump(rows), (Rows{A(80) + "|W", A(80) + "|W", A(10) + "|L", "next|E"}));
    rows.ReplaceRows(1, 1, "bb");  // row 1 replaced: the rows of the line are cut again from row 0
    EXPECT_EQ(Dump(rows), (Rows{A(80) + "|W", "bb" + A(10) + "|L", "next|E"}));
    rows.ReplaceRows(2, 1, "");  // deleting the last line (a pure deletion) leaves the line break before it
    EXPECT_EQ(Dump(rows), (Rows{A(80) + "|W", "bb" + A(10) + "|L"}));
}
