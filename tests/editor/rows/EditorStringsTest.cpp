// The logical-line view: whole text, line operations with and without word wrap, loading files; and
// saving the small string list.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "editor/support/FakeEditorHost.h"
#include "editor/support/RowsTestUtil.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/rows/EditorStrings.h"
#include "editor/rows/EditorUndoObj.h"
#include "editor/wrap/EditorWrapOption.h"
#include "support/TempDir.h"

using rowtest::Dump;
using rowtest::Fill;
using rowtest::Repeat;
using Rows = std::vector<std::string>;

namespace {

struct LinesFixture : ::testing::Test {
    TEditorScreenStrings rows;
    TFakeEditorHost host;
    TEditorStrings lines{rows, &host};
    TTempDir dir;
    LinesFixture() { rows.AddEditor(&host, host.Options()); }

    std::filesystem::path TempFile(const std::string& name, const std::string& bytes) {
        WriteBytes(dir / name, bytes);
        return dir / name;
    }
};

}  // namespace

TEST_F(LinesFixture, SetTextStrGivesLineBreakRowsAndGetTextStrJoins) {
    lines.SetTextStr("abc");
    EXPECT_EQ(Dump(rows), (Rows{"abc|L"}));
    EXPECT_EQ(lines.GetTextStr(), "abc\r\n");
    lines.SetTextStr("a\r\nb\rc\n\nd\n");
    EXPECT_EQ(Dump(rows), (Rows{"a|L", "b|L", "c|L", "|L", "d|L"}));
    lines.SetTextStr("");
    EXPECT_EQ(rows.Count(), 0);
    EXPECT_EQ(lines.GetTextStr(), "");
    EXPECT_FALSE(host.linesUpdating);
    EXPECT_EQ(host.caretHidden, 0);  // every hide was matched
    EXPECT_GE(host.refreshes, 1);
}

TEST_F(LinesFixture, SetTextStrClearsTheUndoStore) {
    lines.SetTextStr("abc");
    rows.ReplaceRows(0, 1, "x\r\n");
    ASSERT_TRUE(rows.UndoObj().CanUndo());
    lines.SetTextStr("new");
    EXPECT_FALSE(rows.UndoObj().CanUndo());
}

TEST_F(LinesFixture, AddJoinsALastLineWithoutLineBreak) {
    Fill(rows, {"abc|E"});
    EXPECT_EQ(lines.Add("x"), 1);
    EXPECT_EQ(Dump(rows), (Rows{"abc|L", "x|E"}));
    EXPECT_EQ(lines.GetTextStr(), "abc\r\nx");
    EXPECT_EQ(host.caretBaseRow, 0);
    EXPECT_EQ(host.caretOffset, 6);  // after "abc" CR LF "x"

    lines.SetTextStr("abc");
    EXPECT_EQ(lines.Add("y"), 1);
    EXPECT_EQ(Dump(rows), (Rows{"abc|L", "y|L"}));
    EXPECT_EQ(host.caretBaseRow, 1);
    EXPECT_EQ(host.caretOffset, 3);
}

TEST_F(LinesFixture, LineOperationsWithoutWrap) {
    lines.SetTextStr("one\r\ntwo\r\nthree");
    EXPECT_EQ(lines.GetCount(), 3);
    EXPECT_EQ(lines.Get(1), "two");
    lines.Put(1, "TWO");
    EXPECT_EQ(lines.Get(1), "TWO");
    lines.Insert(0, "zero");
    EXPECT_EQ(lines.GetTextStr(), "zero\r\none\r\nTWO\r\nthree\r\n");
    lines.Delete(2);
    EXPECT_EQ(lines.GetTextStr(), "zero\r\none\r\nthree\r\n");
    EXPECT_EQ(host.caretBaseRow, 2);
    EXPECT_EQ(host.caretOffset, 0);
    lines.Insert(3, "end");  // at the end: Add
    EXPECT_EQ(lines.Get(3), "end");
    lines.Put(9, "x");
    lines.Delete(-1);
    lines.Insert(9, "x");
    EXPECT_EQ(lines.GetCount(), 4);
    EXPECT_EQ(lines.Get(9), "");
    EXPECT_EQ(host.caretHidden, 0);
}

TEST_F(LinesFixture, WithWordWrapLinesAreLogicalLinesNeverRows) {
    rows.SetWordWrap(true);
    rows.WrapOption().SetWrapByte(20);
    const std::string longLine = Repeat("abcdefghij", 5);  // 50 columns: 3 rows
    lines.SetTextStr("short\r\n" + longLine + "\r\nlast");
    ASSERT_EQ(rows.Count(), 5);
    EXPECT_EQ(lines.GetCount(), 3);
    EXPECT_EQ(lines.Get(1), longLine);  // no line break, no row boundaries
    EXPECT_EQ(lines.Get(2), "last");
    EXPECT_EQ(lines.LineToRow(2), 4);

    lines.Put(1, "mid");
    EXPECT_EQ(rows.Count(), 3);
    EXPECT_EQ(lines.GetTextStr(), "short\r\nmid\r\nlast\r\n");
    lines.Insert(1, longLine);
    EXPECT_EQ(lines.GetCount(), 4);
    EXPECT_EQ(rows.Count(), 6);
    lines.Delete(1);
    EXPECT_EQ(lines.GetTextStr(), "short\r\nmid\r\nlast\r\n");
}

TEST_F(LinesFixture, AssignCopiesAnotherListAndPutsTheCaretAtTheEnd) {
    TStringList source({"a", "b"});
    lines.Assign(source);
    EXPECT_EQ(lines.GetTextStr(), "a\r\nb\r\n");
    EXPECT_EQ(host.row, 2);
    EXPECT_EQ(host.col, 0);
}

TEST_F(LinesFixture, LoadFromFileLineEndsAndEndOfText) {
    lines.LoadFromFile(TempFile("plain", "abc"));
    EXPECT_EQ(Dump(rows), (Rows{"abc|E"}));
    lines.LoadFromFile(TempFile("crlf", "abc\r\n"));
    EXPECT_EQ(Dump(rows), (Rows{"abc|L"}));
    lines.LoadFromFile(TempFile("empty", ""));
    EXPECT_EQ(rows.Count(), 0);
    lines.LoadFromFile(TempFile("mixed", "a\rb\nc\r\n\r\nd"));
    EXPECT_EQ(Dump(rows), (Rows{"a|L", "b|L", "c|L", "|L", "d|E"}));
    lines.LoadFromFile(TempFile("eof",
                                "ab\r\ncd\x1A"
                                "ef\r\ngh"));
    EXPECT_EQ(Dump(rows), (Rows{"ab|L", "cd|E"}));
    EXPECT_FALSE(rows.UndoObj().CanUndo());
    EXPECT_EQ(host.caretHidden, 0);
}

TEST_F(LinesFixture, LoadFromFileAcrossBlockBoundaries) {
    // CR at the end of the first 8192-byte block, LF at the start of the next: one line break.
    std::string first(8191, 'x');
    lines.LoadFromFile(TempFile("split_crlf", first + "\r\nnext"));
    EXPECT_EQ(Dump(rows), (Rows{first + "|L", "next|E"}));
    // A line cut by the boundary is joined; a line longer than a block too.
    std::string longLine(20000, 'y');
    lines.LoadFromFile(TempFile("long", "head\r\n" + longLine + "\r\n" + longLine));
    ASSERT_EQ(rows.Count(), 3);
    EXPECT_EQ(rows.Get(1), longLine);
    EXPECT_EQ(rows.Get(2), longLine);
    EXPECT_EQ(rows.RowEnd(2), reEndOfText);
}

TEST_F(LinesFixture, LoadFromFileKeepsNulBytesAndTheRestOfTheirBlock) {
    const std::string bytes = std::string("a\0b\r\ncd", 7);
    lines.LoadFromFile(TempFile("nul", bytes));
    ASSERT_EQ(rows.Count(), 2);
    EXPECT_EQ(rows.Get(0), std::string("a\0b", 3));
    EXPECT_EQ(rows.Get(1), "cd");
}

TEST_F(LinesFixture, LoadFromFileWrapsWhenWordWrapIsOn) {
    rows.SetWordWrap(true);
    rows.WrapOption().SetWrapByte(20);
    lines.LoadFromFile(TempFile("wrap", Repeat("0123456789", 3) + "\r\n"));
    EXPECT_EQ(Dump(rows), (Rows{"01234567890123456789|W", "0123456789|L"}));
}

TEST_F(LinesFixture, LoadFromMissingFileOrFifoThrowsNamingItAndEndsTheUpdate) {
    lines.SetTextStr("keep");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);  // nobody writes: it must not be waited on
    for (const std::filesystem::path& name : {dir / "no_such_dir" / "x.txt", dir / "fifo"}) {
        try {
            lines.LoadFromFile(name);
            ADD_FAILURE() << "no error for " << name;
        } catch (const std::system_error& e) {
            EXPECT_NE(std::string(e.what()).find(name.string()), std::string::npos);
        }
        EXPECT_EQ(lines.UpdateCount(), 0);
        EXPECT_EQ(rows.UpdateCount(), 0);
        EXPECT_FALSE(host.linesUpdating);
        EXPECT_EQ(host.caretHidden, 0);
    }
}
