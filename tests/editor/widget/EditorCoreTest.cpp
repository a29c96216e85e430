// TEditor core: offsets, the caret rule, caret moves, scrolling, scroll bars and the selection model.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <stdexcept>

#include "EditorTestSupport.h"
#include "editor/options/EditorColor.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/rows/EditorStrings.h"
#include "editor/wrap/EditorWrapOption.h"
#include "gui/SystemColors.h"

namespace {

// Main-window geometry with IPAGothic 12 px: text area origin (39, 16), cells 6 x 13.
constexpr int kLeft = 39;
constexpr int kTop = 16;
constexpr int kCw = 6;
constexpr int kRh = 13;

}  // namespace

TEST(EditorCore, GeometryOfTheMainWindowSettings) {
    auto e = MakeEditor(400, kTop + 10 * kRh);
    EXPECT_EQ(e->CharWidth(), kCw);
    EXPECT_EQ(e->CharHeight(), 13);
    EXPECT_EQ(e->RowHeight(), kRh);
    EXPECT_EQ(e->RulerHeight(), 11);
    EXPECT_EQ(e->TextTop(), kTop);
    EXPECT_EQ(e->LeftbarWidth(), 4 + 4 * kCw + 4 + 2);
    EXPECT_EQ(e->TextLeft(), kLeft);
    EXPECT_EQ(e->font().family(), QStringLiteral("ＭＳ ゴシック"));  // kept; substitution finds the face
    EXPECT_EQ(e->VisibleRows(), 10);
    EXPECT_EQ(e->VisibleCols(), (400 - kLeft - kCw / 2) / kCw);
    EXPECT_EQ(e->UndoListMax(), 64);
    e->SetUndoListMax(10);
    EXPECT_EQ(e->UndoListMax(), 64);
    e->SetUndoListMax(100);
    EXPECT_EQ(e->UndoListMax(), 100);
}

TEST(EditorCore, TextLengthAndSelStartCountLineBreaksAsTwo) {
    auto e = MakeEditor();
    LoadText(*e, "ab\r\ncd");
    EXPECT_EQ(e->LineCount(), 2);
    EXPECT_EQ(e->RowEnd(1), reEndOfText);
    EXPECT_EQ(e->TextLength(), 6);
    e->SetRow(1);
    e->SetCol(1);
    EXPECT_EQ(e->SelStart(), 5);
    // Writing puts the caret at the offset; an offset inside a line break stays at the row's end.
    e->SetSelStart(3);
    EXPECT_EQ(e->Row(), 0);
    EXPECT_EQ(e->Col(), 2);
    e->SetSelStart(4);
    EXPECT_EQ(e->Row(), 1);
    EXPECT_EQ(e->Col(), 0);
    e->SetSelStart(-5);
    EXPECT_EQ(e->Row(), 0);
    EXPECT_EQ(e->Col(), 0);
    // Past the end: the end of a last row without a line break ...
    e->SetSelStart(1000);
    EXPECT_EQ(e->Row(), 1);
    EXPECT_EQ(e->Col(), 2);
    // ... or the empty position below a final line break.
    e->SetText("ab\r\ncd");
    EXPECT_EQ(e->TextLength(), 8);
    e->SetSelStart(1000);
    EXPECT_EQ(e->Row(), 2);
    EXPECT_EQ(e->Col(), 0);
}

TEST(EditorCore, OffsetsWithTwoByteCharactersAndTabs) {
    auto e = MakeEditor();
    e->Caret().SetTabSpaceCount(4);
    e->SetText(Sjis("a\tあb"));
    EXPECT_EQ(e->RowColumnMap(0), "1233451");
    EXPECT_EQ(e->ExpandedRowText(0), "a   " + Sjis("あ") + "b");
    // Columns inside the TAB's fill map to the TAB; b is byte 4 at column 6.
    EXPECT_EQ(e->ColumnToByte(0, 2), 1);
    EXPECT_EQ(e->ColumnToByte(0, 3), 1);
    EXPECT_EQ(e->ColumnToByte(0, 6), 4);
    e->SetSelStart(2);  // the two-byte character
    EXPECT_EQ(e->Col(), 4);
    e->SetSelStart(4);
    EXPECT_EQ(e->Col(), 6);
    EXPECT_EQ(e->SelStart(), 4);
    // A TAB at column 0 with 8 columns has seven fill entries; columns 0-7 are byte 0.
    e->Caret().SetTabSpaceCount(8);
    e->SetText("\tx");
    EXPECT_EQ(e->RowColumnMap(0), "233333331");
    for (int c = 0; c <= 7; ++c) EXPECT_EQ(e->ColumnToByte(0, c), 0) << c;
}

TEST(EditorCore, OffsetsOverWrappedRowsAddNothingForTheWrap) {
    auto e = MakeEditor();
    e->WrapOption().SetWrapByte(20);
    e->SetWordWrap(true);
    const std::string line(30, 'x');
    e->SetText(line + "\r\nyz");
    ASSERT_EQ(e->LineCount(), 3);
    EXPECT_EQ(e->RowEnd(0), reWrapped);
    EXPECT_EQ(e->TextLength(), 30 + 2 + 2 + 2);
    e->SetSelStart(25);
    EXPECT_EQ(e->Row(), 1);
    EXPECT_EQ(e->Col(), 5);
    e->SetSelLength(9);  // 5 bytes, the line break, "yz"
    EXPECT_EQ(e->SelLength(), 9);
    EXPECT_EQ(e->SelText(), "xxxxx\r\nyz");
    // Stream text across a wrap joins the rows directly.
    e->SetSelStart(15);
    e->SetSelLength(10);
    EXPECT_EQ(e->SelText(), std::string(10, 'x'));
    EXPECT_EQ(e->SelFirstRow(), 0);
    EXPECT_EQ(e->SelLastRow(), 1);
}

TEST(EditorCore, SelTextWriteReplacesAndUndoRestores) {
    auto e = MakeEditor();
    e->SetText("hello world\r\nsecond");
    int changes = 0;
    e->OnChange = [&](TEditor*) { ++changes; };
    e->SetModified(false);
    e->SetSelStart(6);
    e->SetSelLength(5);
    EXPECT_EQ(e->SelText(), "world");
    e->SetSelText(Sjis("世界"));
    EXPECT_EQ(e->Text(), Sjis("hello 世界\r\nsecond\r\n"));
    EXPECT_FALSE(e->SelAvail());
    EXPECT_EQ(e->SelStart(), 10);  // after the inserted text
    EXPECT_TRUE(e->Modified());
    EXPECT_EQ(changes, 1);
    // An empty string deletes a selection spanning rows.
    e->SetSelStart(3);
    e->SetSelLength(10);
    e->SetSelText("");
    EXPECT_EQ(e->Text(), "helecond\r\n");
    EXPECT_TRUE(e->CanUndo());
    e->Undo();
    EXPECT_EQ(e->Text(), Sjis("hello 世界\r\nsecond\r\n"));
    e->Undo();
    EXPECT_EQ(e->Text(), "hello world\r\nsecond\r\n");
    EXPECT_TRUE(e->CanRedo());
    e->Redo();
    EXPECT_EQ(e->Text(), Sjis("hello 世界\r\nsecond\r\n"));
    // Read-only ignores the write.
    e->SetReadOnly(true);
    e->SetSelStart(0);
    e->SetSelText("zzz");
    EXPECT_EQ(e->Text(), Sjis("hello 世界\r\nsecond\r\n"));
}

TEST(EditorCore, SelectAllThenDeleteEmptiesTheText) {
    auto e = MakeEditor();
    e->SetText("one\r\ntwo\r\n");
    e->SelectAll();
    EXPECT_EQ(e->SelLength(), e->TextLength());
    EXPECT_EQ(e->SelText(), "one\r\ntwo\r\n");
    e->DeleteSelection();
    EXPECT_EQ(e->TextLength(), 0);
    EXPECT_EQ(e->Row(), 0);
    EXPECT_EQ(e->Col(), 0);
}

// ---- The caret rule
// -------------------------------------------------------------------------------------------

TEST(EditorCaretRule, KeepCaretRemembersTheGoalColumn) {
    auto e = MakeEditor();  // FreeCaret off, KeepCaret on
    e->SetText(std::string(25, 'a') + "\r\nbbbbb\r\n" + std::string(30, 'c'));
    e->SetRow(0);
    e->SetCol(20);
    e->SetRow(1);
    EXPECT_EQ(e->Col(), 5);
    EXPECT_EQ(e->GoalCol(), 20);
    e->SetRow(2);
    EXPECT_EQ(e->Col(), 20);
    // A horizontal move forgets the goal.
    e->SetCol(19);
    EXPECT_EQ(e->GoalCol(), -1);
    // Without KeepCaret nothing is remembered.
    e->Caret().SetKeepCaret(false);
    e->SetRow(0);
    e->SetCol(20);
    e->SetRow(1);
    e->SetRow(2);
    EXPECT_EQ(e->Col(), 5);
}

TEST(EditorCaretRule, NeverInsideATwoByteCharacter) {
    auto e = MakeEditor();
    e->SetText(Sjis("aあい\r\nbbbbbbb"));
    e->SetCol(0);
    e->SetCol(2);  // moving right onto the trail half of あ lands after it
    EXPECT_EQ(e->Col(), 3);
    e->SetCol(5);
    e->SetCol(4);  // moving left onto the trail half of い lands before it
    EXPECT_EQ(e->Col(), 3);
    e->SetRow(1);
    e->SetCol(4);
    e->SetRow(0);  // vertically onto a trail half: before the character
    EXPECT_EQ(e->Col(), 3);
    e->SetRow(1);
    e->SetCol(2);
    e->SetRow(0);
    EXPECT_EQ(e->Col(), 1);
}

TEST(EditorCaretRule, NeverInsideATabWithoutInTab) {
    auto e = MakeEditor();
    e->SetText("a\tb");  // a, TAB on column 1 with fill to column 7, b on column 8
    e->SetCol(0);
    e->SetCol(3);  // rightwards: past the fill
    EXPECT_EQ(e->Col(), 8);
    e->SetCol(5);  // leftwards: onto the TAB itself
    EXPECT_EQ(e->Col(), 1);
    e->SetRowCol(0, 0);
    e->SetRowCol(0, 4);  // a click in the fill puts the caret before the TAB
    EXPECT_EQ(e->Col(), 1);
    e->Caret().SetInTab(true);
    e->SetCol(4);
    EXPECT_EQ(e->Col(), 4);
}

TEST(EditorCaretRule, FreeCaretAndTheColumnLimit) {
    auto e = MakeEditor();
    e->SetText("abc");
    e->SetCol(10);  // without a free caret: the row's end
    EXPECT_EQ(e->Col(), 3);
    e->Caret().SetFreeCaret(true);
    e->SetCol(10);
    EXPECT_EQ(e->Col(), 10);
    e->SetCol(5000);
    EXPECT_EQ(e->Col(), TEditor::kMaxCols);
    e->SetTopCol(5000);
    EXPECT_EQ(e->TopCol(), TEditor::kMaxCols - e->VisibleCols() / 2);
}

TEST(EditorCaretRule, WrappedRowsKeepTheCaretBeforeTheirEnd) {
    auto e = MakeEditor();
    e->Caret().SetFreeCaret(true);
    e->WrapOption().SetWrapByte(20);
    e->SetWordWrap(true);
    e->SetText(std::string(25, 'x'));
    ASSERT_EQ(e->RowEnd(0), reWrapped);
    e->SetCol(19);  // the last column of the wrapped row
    EXPECT_EQ(e->Col(), 19);
    e->SetCol(20);  // after it is the start of the next row
    EXPECT_EQ(e->Col(), 19);
    // On the line's last row a free caret stops before the wrap width.
    e->SetRow(1);
    e->SetCol(40);
    EXPECT_EQ(e->Col(), 19);
}

TEST(EditorCaretRule, TypingAtAWrappingRowEndPutsTheCaretOnTheNextRow) {
    auto e = MakeEditor();
    e->WrapOption().SetWrapByte(20);
    e->SetWordWrap(true);
    e->SetText(std::string(19, 'x'));
    e->SetCol(19);
    e->InsertText("y");  // the line now fills 20 columns and wraps
    ASSERT_GE(e->LineCount(), 2);
    EXPECT_EQ(e->Row(), 1);
    EXPECT_EQ(e->Col(), 0);
    e->InsertText("z");
    EXPECT_EQ(e->Row(), 1);
    EXPECT_EQ(e->Col(), 1);
    EXPECT_EQ(e->Lines().Get(0), std::string(19, 'x') + "yz");
}

TEST(EditorCaretRule, RowIsClampedToTheText) {
    auto e = MakeEditor();
    e->SetText("a\r\nb");  // the last row has a line break: row 2 is the empty row after it
    e->SetRow(99);
    EXPECT_EQ(e->Row(), 2);
    LoadText(*e, "a\r\nb");  // last line without a break
    ASSERT_EQ(e->RowEnd(1), reEndOfText);
    e->SetRow(99);
    EXPECT_EQ(e->Row(), 1);
}

// ---- Coordinates and scrolling
// ---------------------------------------------------------------------------------

TEST(EditorScroll, ScrollRangesFollowTheRowCount) {
    auto e = MakeEditor(400, kTop + 10 * kRh);
    e->SetText("1\r\n2\r\n3");
    ASSERT_EQ(e->LineCount(), 3);
    ASSERT_EQ(e->VisibleRows(), 10);
    const TScrollInfo v = e->VertScrollInfo();
    EXPECT_EQ(v.max, 11);
    EXPECT_EQ(v.page, 10);
    EXPECT_EQ(e->MaxTopRow(), 11);
    // The Qt bar's last position is the last row at the top.
    EXPECT_EQ(e->verticalScrollBar()->maximum(), 2);
    EXPECT_EQ(e->verticalScrollBar()->pageStep(), 10);
    const TScrollInfo h = e->HorzScrollInfo();
    EXPECT_EQ(h.max, e->VisibleCols() / 2 + 1000);
    EXPECT_EQ(h.page, e->VisibleCols());
}

TEST(EditorScroll, BottomRequestStopsAtTheRowCount) {
    auto e = MakeEditor(400, kTop + 10 * kRh);
    std::string text;
    for (int i = 0; i < 30; ++i) text += "line\r\n";
    e->SetText(text);
    e->VScroll(sbBottom);
    EXPECT_EQ(e->TopRow(), e->LineCount());
    e->VScroll(sbTop);
    EXPECT_EQ(e->TopRow(), 0);
    e->VScroll(sbPageDown);
    EXPECT_EQ(e->TopRow(), 10);
    e->VScroll(sbLineUp);
    EXPECT_EQ(e->TopRow(), 9);
    e->VScroll(sbThumbTrack, 20);
    EXPECT_EQ(e->TopRow(), 20);
    EXPECT_EQ(e->verticalScrollBar()->value(), 20);
    // The Qt bar drives the same requests.
    e->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(e->TopRow(), 21);
    e->verticalScrollBar()->setValue(5);
    EXPECT_EQ(e->TopRow(), 5);
}

TEST(EditorScroll, WheelScrollsThreeRowsAndLockScrollMovesTheCaret) {
    auto e = MakeEditor(400, kTop + 10 * kRh);
    std::string text;
    for (int i = 0; i < 30; ++i) text += "line\r\n";
    e->SetText(text);
    e->SetRow(4);
    e->WheelScroll(-120);
    EXPECT_EQ(e->TopRow(), 3);
    EXPECT_EQ(e->Row(), 4);
    e->WheelScroll(-1);  // whatever the delta's size
    EXPECT_EQ(e->TopRow(), 6);
    e->WheelScroll(120);
    EXPECT_EQ(e->TopRow(), 3);
    e->Caret().SetLockScroll(true);
    e->WheelScroll(-120);
    EXPECT_EQ(e->TopRow(), 6);
    EXPECT_EQ(e->Row(), 7);
}

TEST(EditorScroll, PointToRowColSnapsAndKeepsTopRowJustAboveTheText) {
    auto e = MakeEditor();
    std::string text;
    for (int i = 0; i < 30; ++i) text += "line\r\n";
    e->SetText(text);
    e->SetTopRow(5);
    EXPECT_EQ(e->PointToRowCol(kLeft + 10, kTop - 3, true).row, 5);
    EXPECT_EQ(e->PointToRowCol(kLeft + 10, kTop + 3, true).row, 5);
    EXPECT_EQ(e->PointToRowCol(kLeft + 10, kTop + kRh, true).row, 6);
    // Snapping: right of a cell's middle gives the next column.
    EXPECT_EQ(e->PointToRowCol(kLeft + 2 * kCw + 3, kTop, true).col, 2);
    EXPECT_EQ(e->PointToRowCol(kLeft + 2 * kCw + 4, kTop, true).col, 3);
    EXPECT_EQ(e->PointToRowCol(kLeft + 2 * kCw + 5, kTop, false).col, 2);
    EXPECT_EQ(e->PointToRowCol(0, kTop, false).col, 0);
    e->SetTopCol(7);
    EXPECT_EQ(e->PointToRowCol(kLeft, kTop, false).col, 7);
}

TEST(EditorScroll, CaretIntoViewWhenFocused) {
    auto e = MakeEditor(400, kTop + 10 * kRh);
    e->activateWindow();
    e->setFocus();
    Flush();
    if (!e->hasFocus()) GTEST_SKIP() << "no focus on this platform";
    std::string text;
    for (int i = 0; i < 50; ++i) text += std::string(200, 'w') + "\r\n";
    e->SetText(text);
    e->SetRow(30);
    EXPECT_EQ(e->TopRow(), 30 - 10 + 1);
    e->SetRow(2);
    EXPECT_EQ(e->TopRow(), 2);
    const int vc = e->VisibleCols();
    e->SetCol(vc + 5);  // past the right edge: at least a quarter page
    EXPECT_EQ(e->TopCol(), std::max(vc + 5 - vc + 1, vc / 4));
    EXPECT_TRUE(e->CaretShown());
    const QRect ime = e->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(ime.size(), QSize(kCw, 13));
    EXPECT_EQ(e->CaretRect().size(), QSize(2, 13));  // csDefault: 2 pixels wide, CharHeight high
    // Nested hiding: shown again only when the last hide is matched, also when an exception passes.
    e->HideCaretNested();
    e->HideCaretNested();
    EXPECT_FALSE(e->CaretShown());
    e->ShowCaretNested();
    EXPECT_FALSE(e->CaretShown());
    e->ShowCaretNested();
    EXPECT_TRUE(e->CaretShown());
    try {
        TEditor::CaretHider hide(*e);
        TEditor::UnderlineHider underline(*e);
        throw std::runtime_error("drawing failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(e->CaretHideCount(), 0);
    EXPECT_EQ(e->UnderlineHideCount(), 0);
    EXPECT_TRUE(e->CaretShown());
    // A brief caret is a bar under the cell, two columns wide on a two-byte character.
    e->SetText(Sjis("あいう"));
    e->Caret().SetStyle(csBrief);
    e->SetCol(2);
    EXPECT_EQ(e->CaretRect(), QRect(kLeft + 2 * kCw, kTop + 13 - 2, 2 * kCw, 2));
    // Losing the focus removes the caret; it never blinks while hidden.
    e->clearFocus();
    EXPECT_FALSE(e->CaretShown());
}

// ---- Selection model
// ----------------------------------------------------------------------------------------

TEST(EditorSelection, AnchorCaretAndRanges) {
    auto e = MakeEditor();
    e->SetText("abcdef\r\nghijkl\r\nmnopqr");
    e->SetRowCol(1, 4);
    e->BeginSelection();
    EXPECT_EQ(e->SelectionState(), TSelectionState::Anchored);
    EXPECT_FALSE(e->SelAvail());
    e->SetRowCol(0, 2);  // caret above the anchor
    e->ExtendSelection();
    EXPECT_TRUE(e->SelAvail());
    EXPECT_EQ(e->SelFirstRow(), 0);
    EXPECT_EQ(e->SelLastRow(), 1);
    EXPECT_EQ(e->SelFirstByte(), 2);
    EXPECT_EQ(e->SelLastByte(), 3);
    EXPECT_EQ(e->SelectionColumns(), (TSelectionColumns{0, 1, 2, 4}));
    EXPECT_EQ(e->SelText(), "cdef\r\nghij");
    EXPECT_EQ(e->SelLength(), 10);
    EXPECT_TRUE(e->PointInSelection(0, 2));
    EXPECT_FALSE(e->PointInSelection(0, 1));
    EXPECT_TRUE(e->PointInSelection(1, 3));
    EXPECT_FALSE(e->PointInSelection(1, 4));
    EXPECT_FALSE(e->PointInSelection(2, 0));
    EXPECT_TRUE(e->CanDragSelection());
    e->CancelSelection();
    EXPECT_FALSE(e->SelAvail());
    EXPECT_FALSE(e->PointInSelection(0, 3));
    EXPECT_FALSE(e->CanDragSelection());
}

TEST(EditorSelection, BoxModeTakesWholeCharacters) {
    auto e = MakeEditor();
    e->SetText(Sjis("abcdef\r\nab\r\nxあいz"));
    e->SetBoxSelectMode(true);
    e->SetRowCol(0, 2);
    e->BeginSelection();
    e->SetRowCol(1, 2);  // box rows 0-1; the anchor column is kept in box mode
    e->SetRowCol(2, 2);  // column 2 is the trail of あ: the caret stands before it
    e->ExtendSelection();
    ASSERT_TRUE(e->SelAvail());
    EXPECT_EQ(e->Col(), 1);
    // Widen the box to columns 2..4 by hand through the anchor row.
    e->SetRowCol(2, 5);
    e->UpdateSelection();
    EXPECT_EQ(e->SelectionColumns(), (TSelectionColumns{0, 2, 2, 5}));
    // Row 2: the left edge cuts あ (columns 1-2): it stays out; the right edge holds い's first half: in.
    EXPECT_EQ(e->SelText(), "cde\r\n\r\n" + Sjis("い") + "\r\n");
    EXPECT_EQ(e->SelLength(), 3 + 2 + 0 + 2 + 2 + 2);
    EXPECT_TRUE(e->PointInSelection(2, 3));
    EXPECT_FALSE(e->PointInSelection(2, 2));
    EXPECT_FALSE(e->CanDragSelection());  // box selections are not dragged
    int modeChanges = 0;
    e->OnSelectionModeChange = [&](TEditor*) { ++modeChanges; };
    e->SetBoxSelectMode(false);
    EXPECT_EQ(modeChanges, 1);
    EXPECT_EQ(e->SelText(), "cdef\r\nab\r\nx" + Sjis("あい"));
}

TEST(EditorSelection, SelectionChangeEvents) {
    auto e = MakeEditor();
    e->SetText("abcdef");
    std::vector<bool> events;
    e->OnSelectionChange = [&](TEditor*, bool selected) { events.push_back(selected); };
    e->SetSelStart(1);
    e->SetSelLength(3);
    e->SetSelLength(0);
    EXPECT_EQ(events, (std::vector<bool>{true, false}));
    EXPECT_EQ(e->Col(), 1);
}

TEST(EditorCore, ANewTextKeepsTheScrollUntilTheOwnerScrollsToTheTop) {
    // The main window sets the text and then scrolls to row 0 itself.
    auto e = MakeEditor(400, kTop + 10 * kRh);
    std::string text;
    for (int i = 0; i < 50; ++i) text += std::string(100, 'q') + "\r\n";
    e->SetText(text);
    e->SetTopRow(30);
    e->SetText("short\r\nlines\r\n");
    EXPECT_EQ(e->Row(), 0);
    EXPECT_EQ(e->Col(), 0);
    EXPECT_LE(e->TopRow(), e->LineCount());  // clamped to the new rows
    e->SetTopRow(0);
    EXPECT_EQ(e->TopRow(), 0);
    EXPECT_SCREEN_UP_TO_DATE(*e, "newtext");
}

TEST(EditorCore, ReservedWordsAreSortedWithoutCaseAndColoured) {
    auto e = MakeEditor();
    e->SetReserveWordList({"while", "Begin", "end", "BEGIN", "do"});
    EXPECT_EQ(e->ReserveWordList(), (TReserveWordList{"Begin", "do", "end", "while"}));
    e->View().Colors().Reserve().SetColor(RgbColor(255, 0, 0));
    e->SetText("begin x end");
    const QImage image = Render(*e);
    const auto red = [&](int c1, int c2) {
        return CountIf(image, QRect(39 + c1 * kCw, kTop, (c2 - c1) * kCw, 13), Reddish);
    };
    EXPECT_GT(red(0, 5), 5);
    EXPECT_EQ(red(5, 8), 0);
    EXPECT_GT(red(8, 11), 5);
}
