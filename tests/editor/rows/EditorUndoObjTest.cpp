// Undo and redo over the row list: records, their inverses, capacity and the carets they restore.
#include <gtest/gtest.h>

#include "editor/support/FakeEditorHost.h"
#include <utility>

#include "editor/support/RowsTestUtil.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/rows/EditorStrings.h"
#include "editor/rows/EditorUndoObj.h"
#include "editor/wrap/EditorWrapOption.h"

using namespace rowtest;
using Rows = std::vector<std::string>;

namespace {

struct UndoFixture : ::testing::Test {
    TEditorScreenStrings rows;
    TFakeEditorHost host;
    UndoFixture() { rows.AddEditor(&host, host.Options()); }
    TEditorUndoObj& Store() { return rows.UndoObj(); }
};

}  // namespace

TEST_F(UndoFixture, UndoAndRedoRestoreTextAndCarets) {
    Fill(rows, {"abc|L", "def|E"});
    host.row = 1;
    host.col = 2;
    rows.ReplaceRows(1, 1, "de\r\nf");  // Enter typed at row 1, column 2
    host.row = 2;
    host.col = 0;
    EXPECT_EQ(Dump(rows), (Rows{"abc|L", "de|L", "f|E"}));

    rows.Undo();
    EXPECT_EQ(Dump(rows), (Rows{"abc|L", "def|E"}));
    EXPECT_EQ(host.row, 1);  // where the caret was before the edit
    EXPECT_EQ(host.col, 2);
    EXPECT_TRUE(Store().CanRedo());
    EXPECT_FALSE(Store().CanUndo());

    rows.Redo();
    EXPECT_EQ(Dump(rows), (Rows{"abc|L", "de|L", "f|E"}));
    EXPECT_EQ(host.row, 2);  // where it was before the undo
    EXPECT_EQ(host.col, 0);
    EXPECT_TRUE(Store().CanUndo());
    EXPECT_FALSE(Store().CanRedo());
    EXPECT_EQ(host.caretHidden, 0);

    rows.Undo();
    rows.Undo();  // nothing left: no effect
    EXPECT_EQ(Dump(rows), (Rows{"abc|L", "def|E"}));
}

TEST_F(UndoFixture, RedoOfSeveralStepsKeepsTheRedoList) {
    rows.ReplaceRows(0, 0, "a");
    rows.ReplaceRows(0, 1, "ab");
    rows.ReplaceRows(0, 1, "abc");
    rows.Undo();
    rows.Undo();
    EXPECT_EQ(Store().RedoCount(), 2);
    rows.Redo();
    EXPECT_EQ(Store().RedoCount(), 1);  // the redo's own undo record did not clear it
    rows.Redo();
    EXPECT_EQ(Dump(rows), (Rows{"abc|E"}));
}

TEST_F(UndoFixture, TypingAfterTwoUndosEmptiesTheRedoList) {
    rows.ReplaceRows(0, 0, "1");
    rows.ReplaceRows(0, 1, "12");
    rows.ReplaceRows(0, 1, "123");
    rows.Undo();
    rows.Undo();
    ASSERT_TRUE(Store().CanRedo());
    rows.ReplaceRows(0, 1, "1x");
    EXPECT_FALSE(Store().CanRedo());
    EXPECT_EQ(Store().UndoCount(), 2);
}

TEST_F(UndoFixture, CapacityHasAFloorOf64AndDropsTheOldest) {
    Store().SetCapacity(10);
    EXPECT_EQ(Store().Capacity(), 64);
    Store().SetCapacity(100);
    EXPECT_EQ(Store().Capacity(), 100);
    Store().SetCapacity(64);
    rows.ReplaceRows(0, 0, "0");
    for (int i = 1; i <= 64; ++i) rows.ReplaceRows(0, 1, std::to_string(i));  // 65 edits
    EXPECT_EQ(Store().UndoCount(), 64);
    while (Store().CanUndo()) rows.Undo();
    EXPECT_EQ(Dump(rows), (Rows{"0|E"}));  // the first edit can no longer be undone
    while (Store().CanRedo()) rows.Redo();
    EXPECT_EQ(Dump(rows), (Rows{"64|E"}));
}

TEST_F(UndoFixture, UndoingDeletedLinesRestoresTheirCodes) {
    Fill(rows, {"a|L", "b|L", "c|E"});
    rows.ReplaceRows(1, 2, "");  // whole lines, no rows inserted
    EXPECT_EQ(Dump(rows), (Rows{"a|L"}));
    EXPECT_EQ(Store().UndoRecord(0).InsertedRows, 0);
    EXPECT_EQ(Store().UndoRecord(0).RemovedRowEnd, reEndOfText);
    rows.Undo();
    EXPECT_EQ(Dump(rows), (Rows{"a|L", "b|L", "c|E"}));
    rows.Redo();
    EXPECT_EQ(Dump(rows), (Rows{"a|L"}));
}

TEST_F(UndoFixture, UndoingAnInsertionAtTheEndRestoresEndOfText) {
    Fill(rows, {"a|L", "b|E"});
    rows.ReplaceRows(1, 1, "b\r\nc\r\n");
    EXPECT_EQ(Dump(rows), (Rows{"a|L", "b|L", "c|L"}));
    rows.Undo();
    EXPECT_EQ(Dump(rows), (Rows{"a|L", "b|E"}));
}

TEST_F(UndoFixture, UndoWithWordWrapRestoresTheLogicalText) {
    rows.SetWordWrap(true);
    const std::string line = Repeat(kA + "a", 40);  // 120 columns
    rows.ReplaceRows(0, 0, line + "\r\nnext");
    const std::string before = Text(rows);
    rows.ReplaceRows(1, 1, kKan);  // replaces a row in the middle of the wrapped line
    EXPECT_NE(Text(rows), before);
    rows.Undo();
    EXPECT_EQ(Text(rows), before);
    EXPECT_EQ(rows.RowEnd(rows.Count() - 1), reEndOfText);
}

TEST_F(UndoFixture, LoadingAndWrapSwitchesClearBothLists) {
    TEditorStrings lines(rows, &host);
    lines.SetTextStr("a\r\nb");
    rows.ReplaceRows(0, 1, "x\r\n");
    rows.ReplaceRows(0, 1, "y\r\n");
    rows.Undo();
    ASSERT_TRUE(Store().CanUndo() && Store().CanRedo());
    rows.SetWordWrap(true);
    EXPECT_FALSE(Store().CanUndo() || Store().CanRedo());
    rows.ReplaceRows(0, 1, "x\r\n");
    lines.SetTextStr("again");
    EXPECT_FALSE(Store().CanUndo());
}

TEST_F(UndoFixture, ARecordThatNoLongerFitsTheRowsIsDropped) {
    Fill(rows, {"a|L", "b|L", "c|E"});
    rows.ReplaceRows(2, 1, "c\r\nd\r\ne");
    // Rows removed behind the store's back (bypassing ReplaceRows).
    rows.DeleteRowRange(1, 4);
    rows.Undo();
    EXPECT_EQ(Dump(rows), (Rows{"a|L"}));
    EXPECT_FALSE(Store().CanUndo());
    EXPECT_EQ(host.caretHidden, 0);
}

// Undo puts back exactly the rows that were there, so older records still find their rows.
TEST_F(UndoFixture, UndoRestoresTheExactRowsOfAWrappedLine) {
    rows.SetWordWrap(true);
    rows.WrapOption().SetWrapByte(20);
    // Row 1 is a row that filled its width exactly, followed by the line's empty last row.
    Fill(rows, {"aaaaaaaaaaaaaaaaaaaa|W", "bbbbbbbbbbbbbbbbbbbb|W", "|L", "tail|E"});
    const Rows before = Dump(rows);
    rows.ReplaceRows(0, 0, "x");  // re-wraps the whole line from row 0
    rows.Undo();
    EXPECT_EQ(Dump(rows), before);
    // Rows cut where a fresh wrap would not cut (as left by an edit from a later row) come back too.
    TEditorScreenStrings other;
    other.SetWordWrap(true);
    other.WrapOption().SetWrapByte(20);
    Fill(other, {"aaaaaaaaaaaaaaaaa|W", "\tb" + kA + "|W", "ccc|E"});
    const Rows shape = Dump(other);
    other.ReplaceRows(2, 1, "dd");
    other.Undo();
    EXPECT_EQ(Dump(other), shape);
}

TEST_F(UndoFixture, UndoBringsBackAnEmptyLastRowWithoutLineBreak) {
    Fill(rows, {"x|L", "|E"});  // the text is "x" CR LF; its last row is empty and has no line break
    rows.ReplaceRows(0, 1, "y");
    EXPECT_EQ(Dump(rows), (Rows{"y|E"}));
    rows.Undo();
    EXPECT_EQ(Dump(rows), (Rows{"x|L", "|E"}));
    rows.Redo();
    EXPECT_EQ(Dump(rows), (Rows{"y|E"}));
}

// A change handler that replaces or clears the text when an undo or redo ends: the step must not use its
// record after the handler ran (the handler empties both stacks).
TEST(UndoObj, AChangeHandlerMayReplaceTheTextWhenAStepEnds) {
    struct TReplacingHost : TFakeEditorHost {
        TEditorStrings* lines = nullptr;
        const char* replaceBy = nullptr;  // armed for one notification
        void StringsChanged() override {
            if (const char* text = std::exchange(replaceBy, nullptr)) lines->SetTextStr(text);
        }
    } host;
    TEditorScreenStrings rows;
    TEditorStrings lines(rows, &host);
    host.lines = &lines;
    rows.AddEditor(&host, host.Options());
    rows.ReplaceRows(0, 0, "one\r\n");
    rows.ReplaceRows(0, 1, "two\r\n");
    host.row = 5;
    host.replaceBy = "new";
    rows.Undo();
    EXPECT_EQ(Dump(rows), (Rows{"new|L"}));
    EXPECT_FALSE(rows.UndoObj().CanUndo() || rows.UndoObj().CanRedo());
    EXPECT_EQ(host.row, 0);  // the undone record's caret

    rows.ReplaceRows(0, 1, "x\r\n");
    rows.Undo();
    host.replaceBy = "";
    rows.Redo();
    EXPECT_EQ(rows.Count(), 0);
    EXPECT_FALSE(rows.UndoObj().CanUndo() || rows.UndoObj().CanRedo());
    EXPECT_EQ(host.caretHidden, 0);
}
