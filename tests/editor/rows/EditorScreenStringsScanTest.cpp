// Token scanner states stored in the rows: ScanAll, ScanFrom after edits, states across wrapped rows.
#include <gtest/gtest.h>

#include "editor/support/FakeEditorHost.h"
#include "editor/support/RowsTestUtil.h"
#include "editor/options/EditorBracketCollection.h"
#include "editor/scan/EditorParser.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/rows/EditorStrings.h"
#include "editor/options/EditorViewInfo.h"
#include "editor/wrap/EditorWrapOption.h"

using namespace rowtest;

namespace {

struct ScanFixture : ::testing::Test {
    TEditorScreenStrings rows;
    TFakeEditorHost host;
    TEditorStrings lines{rows, &host};
    ScanFixture() { rows.AddEditor(&host, host.Options()); }
    // (entry kind, bracket) stored in a row.
    std::pair<int, int> State(int r) const { return {rows.RowEntryKind(r), rows.RowBracket(r)}; }
};

const std::pair<int, int> kPlain{tokNone, kBracketNone};

}  // namespace

TEST_F(ScanFixture, WithoutBracketsOrWrapNoStateCrossesALine) {
    lines.SetTextStr("a (* b\r\nc\r\nd");
    for (int r = 0; r < rows.Count(); ++r) EXPECT_EQ(State(r), kPlain) << r;
}

TEST_F(ScanFixture, ABracketPairAcrossLinesAndTheRescanAfterAnEdit) {
    host.view.Brackets().Add("(*", "*)");
    lines.SetTextStr("a (* open\r\nmid1\r\nmid2\r\nclose *) b\r\nafter\r\n");
    const std::pair<int, int> open{tokBracket, 0};
    EXPECT_EQ(State(0), kPlain);
    EXPECT_EQ(State(1), open);
    EXPECT_EQ(State(2), open);
    EXPECT_EQ(State(3), open);
    EXPECT_EQ(State(4), kPlain);

    // An edit inside the pair rescans only the row it replaced (the text ends with the row's line break,
    // so the line after stays as it is): row 3 already agrees.
    host.invalidatedRows.clear();
    rows.ReplaceRows(2, 1, "mid2x\r\n");
    EXPECT_EQ(host.invalidatedRows, (std::vector<int>{2}));
    EXPECT_EQ(State(3), open);

    // Removing the opener rescans down to the first row that already held the new state.
    host.invalidatedRows.clear();
    rows.ReplaceRows(0, 1, "a open\r\n");
    EXPECT_EQ(host.invalidatedRows, (std::vector<int>{0, 1, 2, 3}));
    for (int r = 0; r < rows.Count(); ++r) EXPECT_EQ(State(r), kPlain) << r;
}

TEST_F(ScanFixture, OnlyTheRowsNearTheTopAreScannedAtOnce) {
    host.view.Brackets().Add("(", ")");
    std::string text;
    for (int i = 0; i < 100; ++i) text += "line (x\r\n";
    lines.SetTextStr(text);
    const int depth = 2 * (host.displayHeight / host.rowHeight);  // 40
    EXPECT_NE(rows.RowBracket(depth), kBracketNotScanned);
    EXPECT_EQ(rows.RowBracket(depth + 1), kBracketNotScanned);
    EXPECT_EQ(rows.RowEntryKind(depth + 1), 0);
    // The painter's call for a row far down fills in the states on the way there.
    EXPECT_EQ(rows.ScanFrom(70, false), 0);
    EXPECT_EQ(State(70), (std::pair<int, int>{tokBracket, 0}));
}

// States that do not settle within the scan depth: the rows below are marked unscanned down to the first
// row that already is, past the rows the change put in (which are unscanned only because they are new).
TEST_F(ScanFixture, UnsettledStatesAreDroppedDownToTheFirstUnscannedRowBelowTheChange) {
    host.view.Brackets().Add("(", ")");
    std::string text;
    for (int i = 0; i < 300; ++i) text += "x\r\n";
    lines.SetTextStr(text);
    rows.ScanFrom(200, false);  // the painter scanned down to row 240
    ASSERT_NE(rows.RowBracket(240), kBracketNotScanned);
    ASSERT_EQ(rows.RowBracket(241), kBracketNotScanned);
    std::string paste = "(\r\n";  // opens a pair: no row below agrees any more
    for (int i = 0; i < 100; ++i) paste += "y\r\n";
    rows.ReplaceRows(10, 0, paste);
    const int depth = 2 * (host.displayHeight / host.rowHeight);
    EXPECT_NE(rows.RowBracket(10 + depth), kBracketNotScanned);
    for (int r = 11 + depth; r < rows.Count(); ++r) ASSERT_EQ(rows.RowBracket(r), kBracketNotScanned) << r;
}

TEST_F(ScanFixture, TokensCrossingAWrappedRowCarryTheirKind) {
    rows.SetWordWrap(true);
    rows.WrapOption().SetWrapByte(20);
    host.view.SetCommenter("//");
    lines.SetTextStr("x // " + std::string(30, 'c') + "\r\n" + std::string(30, 'w') + "\r\nend");
    ASSERT_EQ(rows.Count(), 5);
    EXPECT_EQ(State(1), (std::pair<int, int>{tokComment, kBracketNone}));  // the comment goes on
    EXPECT_EQ(State(2), kPlain);                                           // and ends with its line
    EXPECT_EQ(State(3), (std::pair<int, int>{tokWord, kBracketNone}));     // a word cut by the wrap
    EXPECT_EQ(State(4), kPlain);
}

TEST_F(ScanFixture, ADerivedScannerComesFromTheFactory) {
    int made = 0;
    rows.SetParserFactory([&](const TScanOptions& options, int bracket) {
        ++made;
        return std::make_unique<TEditorParser>(options, bracket);
    });
    host.view.Brackets().Add("(", ")");
    lines.SetTextStr("a\r\nb");
    EXPECT_GE(made, 1);
}
