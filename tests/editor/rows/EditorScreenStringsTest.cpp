// Row storage, row-level operations, ReplaceRows with its ChangeRecord, update state and the editors of a
// row list.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <utility>

#include "editor/support/FakeEditorHost.h"
#include "editor/support/RowsTestUtil.h"
#include "editor/rows/EditorScreen.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/rows/EditorUndoObj.h"
#include "editor/rows/RowBuffer.h"
#include "editor/support/RowsTestUtil.h"

using rowtest::Dump;
using rowtest::Fill;
using rowtest::Text;
using Rows = std::vector<std::string>;

TEST(RowBuffer, MatchesAVectorUnderRandomInsertsAndErases) {
    std::mt19937 rng(7);
    TRowBuffer buffer;
    std::vector<std::pair<std::string, std::uint32_t>> model;
    for (int step = 0; step < 4000; ++step) {
        const int op = static_cast<int>(rng() % 4);
        const std::size_t at = model.empty() ? 0 : rng() % (model.size() + 1);
        if (op < 2) {  // short and long rows: inline and heap storage
            std::string text(rng() % 30, static_cast<char>('a' + step % 26));
            const std::uint32_t word = rng() & 0xFFFF;
            buffer.Insert(at, text, word);
            model.insert(model.begin() + static_cast<long>(at), {text, word});
        } else if (op == 2 && !model.empty()) {
            const std::size_t n = 1 + rng() % 5;
            buffer.Erase(at, n);
            const std::size_t from = std::min(at, model.size());
            model.erase(model.begin() + static_cast<long>(from),
                        model.begin() + static_cast<long>(std::min(model.size(), from + n)));
        } else if (!model.empty()) {
            const std::size_t i = rng() % model.size();
            std::string text(rng() % 20, 'z');
            buffer.SetText(i, text);
            model[i].first = text;
        }
        ASSERT_EQ(buffer.size(), model.size());
    }
    for (std::size_t i = 0; i < model.size(); ++i) {
        EXPECT_EQ(buffer.Text(i), model[i].first);
        EXPECT_EQ(buffer.Word(i), model[i].second);
    }
}

TEST(RowBuffer, SetTextFromItsOwnBytesAndShrinkingAfterMassDelete) {
    TRowBuffer buffer;
    buffer.PushBack("a long row that lives on the heap", 1);
    buffer.SetText(0, buffer.Text(0).substr(2, 4));  // source aliases the row's own block
    EXPECT_EQ(buffer.Text(0), "long");
    buffer.SetText(0, buffer.Text(0).substr(1, 2));
    EXPECT_EQ(buffer.Text(0), "on");
    for (int i = 0; i < 100000; ++i) buffer.PushBack("x", 0);
    const std::size_t big = buffer.HeapBytes();
    buffer.Erase(1, 99990);
    EXPECT_EQ(buffer.size(), 11u);
    EXPECT_LT(buffer.HeapBytes(), big / 100);
    EXPECT_EQ(buffer.Text(0), "on");
    EXPECT_EQ(buffer.Word(0), 1u);
}

TEST(RowWord, FieldsAreIndependent) {
    std::uint32_t w = 0;
    EXPECT_EQ(rowword::RowEnd(w), reLineBreak);
    EXPECT_EQ(rowword::RowBracket(w), -2);
    w = rowword::WithRowEntryKind(rowword::WithRowBracket(w, 13), 26);
    w = rowword::WithRowEnd(w, reEndOfText);
    EXPECT_EQ(rowword::RowEnd(w), reEndOfText);
    EXPECT_EQ(rowword::RowBracket(w), 13);
    EXPECT_EQ(rowword::RowEntryKind(w), 26);  // kinds above 15 survive setting the row end
    w = rowword::WithRowBracket(w, -1);
    EXPECT_EQ(rowword::RowEnd(w), reEndOfText);
    EXPECT_EQ(rowword::RowEntryKind(w), 26);
    EXPECT_EQ((w >> 16), 0u);
    EXPECT_EQ(w & 0xF0u, 0x10u);  // -1 is stored as 1
}

TEST(PointerStringList, WordsStayAlignedAndChangesNotify) {
    TPointerStringList list;
    int changes = 0;
    list.SetOnChange([&] { ++changes; });
    list.Add("a");
    list.Add("c");
    list.SetRowWord(1, 0x123);
    list.Insert(1, "b");
    EXPECT_EQ(list.RowWord(1), 0u);  // a new row has word 0
    EXPECT_EQ(list.RowWord(2), 0x123u);
    list.Delete(0);
    EXPECT_EQ(list.Get(0), "b");
    EXPECT_EQ(list.RowWord(1), 0x123u);
    EXPECT_EQ(changes, 4);
    {
        TPointerStringList::Update update(list);
        list.Add("d");
        list.Put(0, "B");
        EXPECT_EQ(changes, 4);
    }
    EXPECT_EQ(changes, 5);  // once, at the end of the update
    list.Insert(99, "x");
    list.Delete(-1);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.RowEnd(7), reNone);
}

// Short rows live inside the row array, which moves on inserts: a view of one must be copied before that.
TEST(PointerStringList, ViewsOfItsOwnRowsCanBeAddedInsertedAndPut) {
    TPointerStringList list;
    for (int i = 0; i < 64; ++i) list.Add(i == 1 ? "a row longer than eight bytes" : "r" + std::to_string(i));
    list.Add(list.RowText(0));        // the row array is full: it moves while the view points into it
    list.Insert(0, list.RowText(5));  // the gap moves over the row the view points into
    list.Put(1, list.RowText(4));
    list.Insert(7, list.RowText(1));
    EXPECT_EQ(list.Get(0), "r5");
    EXPECT_EQ(list.Get(1), "r3");
    EXPECT_EQ(list.Get(2), "a row longer than eight bytes");
    EXPECT_EQ(list.Get(7), "r3");
    EXPECT_EQ(list.Get(66), "r0");

    // The row list's own whole-text and wrap operations take views of their rows as well.
    TEditorScreenStrings rows;
    Fill(rows, {"ab|L", "cd|L"});
    rows.ReplaceRows(2, 0, rows.RowText(0));
    rows.AssignText(rows.RowText(2));
    EXPECT_EQ(Dump(rows), (Rows{"ab|L"}));
    TEditorStringList temp;
    Fill(temp, {"xy|L", "z|L"});
    rows.WrapText(temp.RowText(1), temp);
    EXPECT_EQ(Dump(temp), (Rows{"z|L"}));
}

// Offsets and line numbers from the partial sums, against a walk over the rows, through every kind of change
// (row-level and ReplaceRows, the gap moving near and far, the row array growing and shrinking).
TEST(ScreenStrings, OffsetsAndLinesFollowEveryChangeOfTheRows) {
    std::mt19937 rng(11);
    TEditorScreenStrings rows;
    const auto text = [&] { return std::string(rng() % 3 == 0 ? 9 + rng() % 30 : rng() % 9, 'a'); };
    const auto check = [&](int step) {
        const int n = rows.Count();
        std::int64_t offset = 0;
        int breaks = 0;
        std::vector<std::int64_t> starts;
        for (int r = 0; r <= n; ++r) {
            ASSERT_EQ(rows.RowOffset(r), offset) << "row " << r << " step " << step;
            ASSERT_EQ(rows.LineOfRow(r), breaks) << "row " << r << " step " << step;
            if (r > 0 && rows.RowEnd(r - 1) == reLineBreak) {
                ASSERT_EQ(rows.LineStartRow(breaks), r);
            }
            if (r < n) {  // the line bounds, against walks
                int first = r, last = r;
                while (first > 0 && rows.RowEnd(first - 1) == reWrapped) --first;
                while (last < n - 1 && rows.RowEnd(last) == reWrapped) ++last;
                ASSERT_EQ(rows.LineFirstRow(r), first) << "row " << r << " step " << step;
                ASSERT_EQ(rows.LineLastRow(r), last) << "row " << r << " step " << step;
            }
            starts.push_back(offset);
            if (r < n) {
                offset += static_cast<std::int64_t>(rows.RowText(r).size()) +
                          (rows.RowEnd(r) == reLineBreak ? 2 : 0);
                breaks += rows.RowEnd(r) == reLineBreak;
            }
        }
        ASSERT_EQ(rows.LineStartRow(breaks + 1), n);
        const bool endsOpen = n > 0 && rows.RowEnd(n - 1) != reLineBreak;
        for (const std::int64_t start : starts) {
            for (const std::int64_t o : {start - 1, start, start + 1}) {
                // The last row whose offset is <= o (clamped), the last row itself for the end of an open
                // text.
                const auto after =
                    std::upper_bound(starts.begin(), starts.end(), std::clamp<std::int64_t>(o, 0, offset));
                const int want = std::min(static_cast<int>(after - starts.begin()) - 1, endsOpen ? n - 1 : n);
                ASSERT_EQ(rows.RowAtOffset(o), want) << "offset " << o << " step " << step;
            }
        }
    };
    for (int step = 0; step < 1500; ++step) {
        const int n = rows.Count();
        const int i = n > 0 ? static_cast<int>(rng() % static_cast<unsigned>(n)) : 0;
        const std::function<void()> ops[] = {
            [&] { rows.Add(text()); },
            [&] { rows.Insert(rng() % 2 ? 0 : i, text()); },  // near and far: the gap jumps
            [&] { rows.Delete(i); },
            [&] { rows.Put(i, text()); },
            [&] { rows.SetRowEnd(i, static_cast<TRowEnd>(rng() % 3)); },
            [&] { rows.ReplaceRows(i, n > 0 ? 1 : 0, text() + (rng() % 2 ? "\r\n" + text() : "")); },
            [&] { rows.AddEmptyRows(rng() % 20 == 0 ? 3000 : 0); },        // grows the row array
            [&] { rows.DeleteRowRange(i / 2, n > 50 ? n / 2 + 10 : 0); },  // and shrinks it
            [&] { rows.ScanFrom(i, false); },                              // words change, not lengths
        };
        ops[rng() % std::size(ops)]();
        // Only the last row may end without a line break (rows appended after it leave it inside).
        for (int r = 0; r + 1 < rows.Count(); ++r)
            if (rows.RowEnd(r) == reEndOfText) rows.SetRowEnd(r, reLineBreak);
        if (step % 25 == 0 || rows.Count() < 40) check(step);
        if (HasFatalFailure()) return;
    }
}

TEST(ScreenStrings, LineBoundsAndRowsText) {
    TEditorScreenStrings rows;
    Fill(rows, {"ab|W", "cd|W", "ef|L", "gh|L", "ij|W", "kl|E"});
    EXPECT_EQ(rows.LineFirstRow(2), 0);
    EXPECT_EQ(rows.LineFirstRow(0), 0);
    EXPECT_EQ(rows.LineFirstRow(3), 3);
    EXPECT_EQ(rows.LineFirstRow(5), 4);
    EXPECT_EQ(rows.LineLastRow(0), 2);
    EXPECT_EQ(rows.LineLastRow(3), 3);
    EXPECT_EQ(rows.LineLastRow(4), 5);
    EXPECT_EQ(rows.LineLastRow(9), 9);

    TRowsText line = rows.RowsText(1, -1);
    EXPECT_EQ(line.Text, "cdef\r\n");
    EXPECT_EQ(line.Rows, 2);
    EXPECT_EQ(line.LastRowEnd, reLineBreak);
    TRowsText tail = rows.RowsText(3, 10);
    EXPECT_EQ(tail.Text, "gh\r\nijkl");
    EXPECT_EQ(tail.Rows, 3);
    EXPECT_EQ(tail.LastRowEnd, reEndOfText);
    TRowsText none = rows.RowsText(6, 1);
    EXPECT_EQ(none.Text, "");
    EXPECT_EQ(none.Rows, 0);
    EXPECT_EQ(none.LastRowEnd, reNone);
}

TEST(ScreenStrings, PutRowListReplacesInsertsAndRemovesWithWords) {
    TEditorScreenStrings rows;
    Fill(rows, {"a|L", "b|L", "c|L", "d|E"});
    TEditorStringList more;
    Fill(more, {"x|W", "y|W", "z|L"});
    rows.PutRowList(1, 1, more);
    EXPECT_EQ(Dump(rows), (Rows{"a|L", "x|W", "y|W", "z|L", "c|L", "d|E"}));
    EXPECT_EQ(more.Count(), 0);
    TEditorStringList fewer;
    Fill(fewer, {"q|L"});
    rows.PutRowList(1, 3, fewer);
    EXPECT_EQ(Dump(rows), (Rows{"a|L", "q|L", "c|L", "d|E"}));
    rows.DeleteRowRange(2, 5);
    EXPECT_EQ(Dump(rows), (Rows{"a|L", "q|L"}));
    rows.DeleteRowRange(2, 1);  // out of range
    rows.DeleteRowRange(0, 0);
    EXPECT_EQ(rows.Count(), 2);
}

// ReplaceRows: the text and the row ends it leaves, and one undo record per call.
TEST(ReplaceRows, TypingEnterJoiningAndReplacingTheEnd) {
    TEditorScreenStrings rows;
    Fill(rows, {"abc|L", "def|L", "ghi|E"});
    rows.ReplaceRows(1, 1, "dXef\r\n");  // a typed byte
    EXPECT_EQ(Dump(rows), (Rows{"abc|L", "dXef|L", "ghi|E"}));
    rows.ReplaceRows(1, 1, "dX\r\nef\r\n");  // Enter in the middle
    EXPECT_EQ(Dump(rows), (Rows{"abc|L", "dX|L", "ef|L", "ghi|E"}));
    rows.ReplaceRows(1, 1, "dX");  // the line break removed: the next line joins
    EXPECT_EQ(Dump(rows), (Rows{"abc|L", "dXef|L", "ghi|E"}));
    rows.ReplaceRows(2, 1, "end\r\n");  // the last row gets a line break
    EXPECT_EQ(Dump(rows), (Rows{"abc|L", "dXef|L", "end|L"}));
    rows.ReplaceRows(2, 1, "tail");  // ... and loses it again
    EXPECT_EQ(Dump(rows), (Rows{"abc|L", "dXef|L", "tail|E"}));
    rows.ReplaceRows(3, 0, "more");  // appending after a row without line break joins it
    EXPECT_EQ(Dump(rows), (Rows{"abc|L", "dXef|L", "tailmore|E"}));
    rows.ReplaceRows(0, 0, "top\r\n");
    EXPECT_EQ(Dump(rows), (Rows{"top|L", "abc|L", "dXef|L", "tailmore|E"}));
    rows.ReplaceRows(1, 2, "");  // pure deletion of whole lines
    EXPECT_EQ(Dump(rows), (Rows{"top|L", "tailmore|E"}));
    EXPECT_EQ(rows.UndoObj().UndoCount(), 8);
}

TEST(ReplaceRows, OutOfRangeDoesNothing) {
    TEditorScreenStrings rows;
    Fill(rows, {"abc|L", "def|E"});
    rows.ReplaceRows(-1, 1, "x");
    rows.ReplaceRows(1, 2, "x");
    rows.ReplaceRows(3, 0, "x");
    rows.ReplaceRows(0, 0, "");
    EXPECT_EQ(Dump(rows), (Rows{"abc|L", "def|E"}));
    EXPECT_EQ(rows.UndoObj().UndoCount(), 0);
}

TEST(ReplaceRows, IntoAnEmptyListAndEmptyingIt) {
    TEditorScreenStrings rows;
    rows.ReplaceRows(0, 0, "one\r\ntwo");
    EXPECT_EQ(Dump(rows), (Rows{"one|L", "two|E"}));
    rows.ReplaceRows(0, 2, "");
    EXPECT_EQ(rows.Count(), 0);
    rows.ReplaceRows(0, 0, "x\r\n");
    EXPECT_EQ(Dump(rows), (Rows{"x|L"}));
}

TEST(ReplaceRows, ChangeRecordReachesEditorsThenResets) {
    TEditorScreenStrings rows;
    TFakeEditorHost host;
    rows.AddEditor(&host, host.Options());
    Fill(rows, {"abc|L", "def|L", "ghi|E"});
    rows.ScanAll();
    struct TRecorder : TFakeEditorHost {
        TEditorScreenStrings* rows = nullptr;
        std::vector<TChangeRecord> seen;
        void StringsChanged() override { seen.push_back(rows->ChangeRecord()); }
    } recorder;
    recorder.rows = &rows;
    rows.AddEditor(&recorder, recorder.Options());
    host.changes = 0;

    rows.ReplaceRows(2, 1, "g\r\nh\r\ni");  // p = 2 (first row of its line), 1 row out, 3 in
    ASSERT_EQ(recorder.seen.size(), 1u);
    const TChangeRecord c = recorder.seen[0];
    EXPECT_TRUE(c.Pending);
    EXPECT_EQ(c.FirstRow, 2);
    EXPECT_EQ(c.RemovedCount, 1);
    EXPECT_EQ(c.InsertedCount, 3);
    EXPECT_EQ(host.changes, 1);
    EXPECT_FALSE(rows.ChangeRecord().Pending);  // reset at the end of the update
    EXPECT_EQ(rows.ChangeRecord().InsertedCount, 0);

    rows.ReplaceRows(0, 2, "");
    ASSERT_EQ(recorder.seen.size(), 2u);
    EXPECT_EQ(recorder.seen[1].FirstRow, 0);
    EXPECT_EQ(recorder.seen[1].RemovedCount, 2);
    EXPECT_EQ(recorder.seen[1].InsertedCount, 0);
}

TEST(ScreenStrings, EndOfUpdateClampsRowAndTopRowOfEveryEditor) {
    TEditorScreenStrings rows;
    TFakeEditorHost a, b;
    rows.AddEditor(&a, a.Options());
    rows.AddEditor(&b, b.Options());
    Fill(rows, {"1|L", "2|L", "3|L", "4|L", "5|E"});
    a.row = 4;
    a.topRow = 3;
    b.row = 1;
    b.topRow = 0;
    rows.ReplaceRows(2, 3, "");  // pure deletion; the last row is now "2" with reLineBreak
    EXPECT_EQ(Dump(rows), (Rows{"1|L", "2|L"}));
    EXPECT_EQ(a.row, 2);  // the empty row after the final line break
    EXPECT_EQ(a.topRow, 2);
    EXPECT_EQ(b.row, 1);
    EXPECT_EQ(b.topRow, 0);

    rows.ReplaceRows(1, 1, "two");  // now ends without a line break
    a.row = 5;
    rows.ClampEditors();
    EXPECT_EQ(a.row, 1);
}

TEST(ScreenStrings, ClearResetsEditorsAndUndo) {
    TEditorScreenStrings rows;
    TFakeEditorHost host;
    rows.AddEditor(&host, host.Options());
    rows.ReplaceRows(0, 0, "abc\r\ndef");
    host.row = 1;
    host.col = 3;
    rows.Clear();
    EXPECT_EQ(rows.Count(), 0);
    EXPECT_EQ(host.row, 0);
    EXPECT_EQ(host.col, 0);
    EXPECT_GE(host.selectionCleared, 1);
    EXPECT_FALSE(rows.UndoObj().CanUndo());
}

TEST(ScreenStrings, OwnerAndActiveEditor) {
    TEditorScreenStrings rows;
    TFakeEditorHost a, b;
    EXPECT_EQ(rows.OwnerEditor(), nullptr);
    EXPECT_EQ(rows.ActiveEditor(), nullptr);
    rows.AddEditor(&a, a.Options());
    rows.AddEditor(&b, b.Options());
    rows.AddEditor(&a, a.Options());  // already there
    EXPECT_EQ(rows.Editors().size(), 2u);
    EXPECT_EQ(rows.OwnerEditor(), &a);
    EXPECT_EQ(rows.ActiveEditor(), &a);
    b.focused = true;
    EXPECT_EQ(rows.ActiveEditor(), &b);
    // The owner's options rule; when it leaves, the next editor's take over (never a dangling view).
    b.tabSpaceCount = 4;
    rows.SetEditorOptions(&b, b.Options());
    EXPECT_EQ(rows.ScanOptions().View, &a.view);
    EXPECT_EQ(rows.ColumnRules().TabSpaceCount, 8);
    EXPECT_FALSE(rows.RemoveEditor(&a));
    EXPECT_EQ(rows.OwnerEditor(), &b);
    EXPECT_EQ(rows.ScanOptions().View, &b.view);
    EXPECT_EQ(rows.ScanOptions().ReserveWords, &b.reserveWords);
    EXPECT_EQ(rows.ColumnRules().TabSpaceCount, 4);
    EXPECT_TRUE(rows.RemoveEditor(&b));
    EXPECT_EQ(rows.ScanOptions().View, nullptr);
    EXPECT_EQ(rows.ColumnRules().TabSpaceCount, 8);
}

// A line break at the end of the new text is never lost, also when the rows after the range add no bytes.
TEST(ReplaceRows, TrailingLineBreakSurvivesAnEmptyLastRow) {
    TEditorScreenStrings rows;
    Fill(rows, {"x|L", "|E"});  // an empty last row without line break
    rows.ReplaceRows(0, 1, "y\r\n");
    EXPECT_EQ(Text(rows), "y\r\n");
    EXPECT_EQ(Dump(rows), (Rows{"y|L", "|E"}));  // the text ends its line: the row after stays
    rows.ReplaceRows(0, 1, "z");                 // without a line break it joins the row after
    EXPECT_EQ(Dump(rows), (Rows{"z|E"}));

    TEditorScreenStrings end;
    Fill(end, {"abc|E"});
    end.ReplaceRows(0, 1, "abc\r");  // a lone CR ends a line like CR LF
    EXPECT_EQ(Dump(end), (Rows{"abc|L"}));
}

// Typing at the end of a line above a long one: the long line is neither joined, copied nor re-made, and the
// undo record holds the typed byte.
TEST(ReplaceRows, TypingAboveALongLineLeavesItAlone) {
    TEditorScreenStrings rows;
    TFakeEditorHost host;
    rows.AddEditor(&host, host.Options());
    const std::string big(100000, 'b');
    Fill(rows, {"short|L", big + "|L", "end|E"});
    const char* bytes = rows.RowText(1).data();
    rows.ReplaceRows(0, 1, "shortx\r\n");
    EXPECT_EQ(Dump(rows), (Rows{"shortx|L", big + "|L", "end|E"}));
    EXPECT_EQ(rows.RowText(1).data(), bytes);
    const TUndoData& record = rows.UndoObj().UndoRecord(0);
    EXPECT_EQ(record.RemovedRowShapes.size(), 1u);
    EXPECT_EQ(record.InsertedRows, 1);
    EXPECT_EQ(record.ChangeOffset, 5);
    EXPECT_EQ(record.RemovedText, "");
    EXPECT_EQ(record.InsertedLength, 1);
    rows.Undo();
    EXPECT_EQ(Dump(rows), (Rows{"short|L", big + "|L", "end|E"}));
}

// One record for several edits of one update: the repaint covers both, and the rows after them move by the
// sum of the changes in row count.
TEST(ReplaceRows, ChangesInOneUpdateLeaveOneRecordCoveringThemAll) {
    TEditorScreenStrings rows;
    struct TRecorder : TFakeEditorHost {
        TEditorScreenStrings* rows = nullptr;
        std::vector<TChangeRecord> seen;
        void StringsChanged() override {
            seen.push_back(rows->ChangeRecord());
            TEditorScreen(*this, leftbar).Update(rows->ChangeRecord(), rows->Count());
        }
    } host;
    host.rows = &rows;
    rows.AddEditor(&host, host.Options());
    for (int i = 0; i < 10; ++i) rows.Add("r" + std::to_string(i));
    rows.ScanAll();
    host.seen.clear();
    const auto record = [](const TChangeRecord& c) {
        return std::vector<int>{c.FirstRow, c.RemovedCount, c.InsertedCount, c.ScannedCount};
    };
    host.calls.clear();
    {
        TPointerStringList::Update bundle(rows);
        rows.ReplaceRows(1, 1, "x\r\n");       // row 1 replaced
        rows.ReplaceRows(7, 1, "a\r\nb\r\n");  // row 7 replaced by two rows
    }
    ASSERT_EQ(host.seen.size(), 1u);
    EXPECT_EQ(record(host.seen[0]), (std::vector<int>{1, 7, 8, 8}));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"rows 1,8", "scroll 9,1"}));

    host.calls.clear();
    {
        TPointerStringList::Update bundle(rows);
        rows.ReplaceRows(8, 2, "c\r\n");       // rows "b", "r8" become one row
        rows.ReplaceRows(2, 0, "n\r\nm\r\n");  // then two rows inserted above it
    }
    ASSERT_EQ(host.seen.size(), 2u);
    EXPECT_EQ(record(host.seen[1]), (std::vector<int>{2, 8, 9, 9}));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"rows 2,10", "scroll 11,1"}));
}
