// The caret and selection model without a window: offsets and positions, stream and box selections, the
// edits that replace a selection, and the caret rule.
#include <gtest/gtest.h>

#include "EditTestSupport.h"
#include "editor/support/RowsTestUtil.h"
#include "editor/wrap/EditorWrapOption.h"

using namespace edittest;
using rowtest::kA;
using rowtest::kKan;

// ---- Offsets and positions ---------------------------------------------------------------------------

TEST(EditOffsets, EveryCaretPlaceRoundTripsWithWrapOffAndOn) {
    const std::string text = "ab\t" + kA + "c\r\n\r\n" + rowtest::Repeat(kKan + "x", 15) + "\r\nend";
    for (const int wrap : {0, 20}) {
        SCOPED_TRACE("wrap " + std::to_string(wrap));
        TEditFixture f;
        if (wrap) f.SetWrap(wrap);
        f.SetText(text);
        const std::string ref = f.Text();
        if (wrap) {
            ASSERT_EQ(f.rows.Count(), 6);  // the long line takes three rows
        }
        ASSERT_EQ(f.model.TextLength(), static_cast<std::int64_t>(ref.size()));
        int places = 0;
        for (std::int64_t o = 0; o <= f.model.TextLength(); ++o) {
            if (!CaretPlace(f.rows, o)) continue;
            ++places;
            f.model.SetSelStart(o);
            ASSERT_EQ(f.model.SelStart(), o) << "offset " << o;
            ASSERT_EQ(f.model.PositionToOffset(f.model.Row(), f.model.CaretByte()), o);
            // A wrapped row's end is the next row's start: the caret stands there, never after the row.
            if (f.model.Row() < f.rows.Count() && f.rows.RowEnd(f.model.Row()) == reWrapped) {
                ASSERT_LT(f.model.Col(), f.model.Columns().Width(f.model.Row()));
            }
        }
        // A wrapped row's end and the next row's start are one place; the last is after the final break.
        EXPECT_EQ(places, 6 + 1 + 31 + 4 + 1);
        // Past the end: the empty row after the final line break.
        f.model.SetSelStart(f.model.TextLength() + 100);
        EXPECT_EQ(f.model.SelStart(), f.model.TextLength());
    }
}

// ---- Selections ------------------------------------------------------------------------------------------

TEST(EditSelection, BoxTakesWholeCharactersAndTypingGoesToItsTopRowOnly) {
    TEditFixture f;
    f.SetText("abcdef\r\nab\r\nx" + kA + "\tz\r\nlast");
    f.model.SetBoxSelectMode(true);
    EXPECT_EQ(f.view.modeChanges, 1);
    f.model.SetRowCol(0, 2);
    f.model.BeginSelection();
    f.model.SetRowCol(2, 5);      // row 2: x あ TAB(3..7) z; column 5 is inside the TAB's fill
    EXPECT_EQ(f.model.Col(), 3);  // a click in the fill goes before the TAB
    f.caret.SetInTab(true);
    f.model.SetRowCol(2, 5);
    f.model.ExtendSelection();
    ASSERT_TRUE(f.model.SelAvail());
    EXPECT_EQ(f.model.SelectionColumns(), (TSelectionColumns{0, 2, 2, 5}));
    // The left edge cuts あ (columns 1-2): out. The right edge lies in the TAB's fill: the TAB is in.
    EXPECT_EQ(f.model.BoxRowBytes(2), (TByteSpan{3, 4}));
    EXPECT_EQ(f.model.SelText(), "cde\r\n\r\n\t\r\n");
    EXPECT_EQ(f.model.SelLength(), 3 + 2 + 0 + 2 + 1 + 2);
    EXPECT_TRUE(f.model.PointInSelection(2, 3));
    EXPECT_FALSE(f.model.PointInSelection(2, 2));
    EXPECT_FALSE(f.model.CanDragSelection());

    const std::string before = f.Text();
    f.model.SetSelText("XY");
    EXPECT_EQ(f.Text(), "abXYf\r\nab\r\nx" + kA + "z\r\nlast\r\n");
    EXPECT_EQ(f.model.Row(), 0);
    EXPECT_EQ(f.model.Col(), 4);
    EXPECT_EQ(f.view.caretHidden, 0);
    EXPECT_EQ(f.view.underlineHidden, 0);
    f.Undo();
    EXPECT_EQ(f.Text(), before);
}

// ---- Replacing the selection ------------------------------------------------------------------------------

// A selection that starts on the empty row after the final line break selects nothing there: typing
// over it appends, deleting it changes nothing.
TEST(EditReplace, ASelectionOnTheRowAfterTheFinalBreakKeepsTheLastLine) {
    {
        TEditFixture f;
        f.SetText("a\r\nhello\r\n");
        f.model.SetSelStart(f.model.TextLength());
        f.model.SetSelLength(3);
        f.model.SetSelText("X");
        EXPECT_EQ(f.Text(), "a\r\nhello\r\nX");
        EXPECT_EQ(f.model.SelStart(), 11);
    }
    {
        TEditFixture f;  // Shift+Up, Shift+Down back to the end, then typing
        f.SetText("a\r\nhello\r\n");
        f.model.SetRow(2);
        f.model.BeginSelection();
        f.model.SetRow(1);
        f.model.ExtendSelection();
        f.model.SetRow(2);
        f.model.ExtendSelection();
        ASSERT_TRUE(f.model.SelAvail());
        EXPECT_EQ(f.model.SelText(), "");
        f.model.InsertText("X");
        EXPECT_EQ(f.Text(), "a\r\nhello\r\nX");
        EXPECT_EQ(f.model.Row(), 2);
        EXPECT_EQ(f.model.Col(), 1);
    }
    {
        TEditFixture f;
        f.SetText("a\r\nhello\r\n");
        f.model.SetSelStart(f.model.TextLength());
        f.model.SetSelLength(3);
        f.model.DeleteSelection();
        EXPECT_EQ(f.Text(), "a\r\nhello\r\n");
        EXPECT_FALSE(f.model.SelAvail());
        EXPECT_EQ(f.view.underlineHidden, 0);
    }
}

TEST(EditReplace, TheCaretEndsAfterTheInsertedTextWhateverItsLineBreaks) {
    TEditFixture f;
    f.SetText("ab\r\ncd");
    f.model.SetRowCol(0, 1);
    f.model.InsertText("1\n2\r3\r\n4");  // stored as three line breaks of two characters each
    EXPECT_EQ(f.Text(), "a1\r\n2\r\n3\r\n4b\r\ncd\r\n");
    EXPECT_EQ(f.model.Row(), 3);
    EXPECT_EQ(f.model.Col(), 1);
    f.model.SetSelStart(0);
    f.model.SetSelLength(2);
    f.model.SetSelText("\n");
    EXPECT_EQ(f.Text(), "\r\n\r\n2\r\n3\r\n4b\r\ncd\r\n");
    EXPECT_EQ(f.model.SelStart(), 2);
    // A free caret right of the row's end types after spaces up to it.
    f.caret.SetFreeCaret(true);
    f.model.SetRowCol(5, 4);
    f.model.InsertText("!");
    EXPECT_EQ(f.rows.RowText(5), "cd  !");
    EXPECT_EQ(f.model.Col(), 5);
}

// ---- The caret rule
// ----------------------------------------------------------------------------------------

TEST(EditCaretRule, GoalColumnWhileTheMouseButtonIsHeld) {
    TEditFixture f;  // KeepCaret on, FreeCaret off
    f.SetText(std::string(20, 'a') + "\r\nbbbbb\r\n" + std::string(30, 'c'));
    f.model.SetRowCol(0, 12);
    f.model.SetRow(1);
    f.model.SetRow(2);
    EXPECT_EQ(f.model.Col(), 12);
    // Dragging over a short row remembers where the pointer left the text, not the column it asked for.
    f.view.leftButton = true;
    f.model.SetCol(12);
    f.model.SetRow(1);
    f.model.SetRow(2);
    EXPECT_EQ(f.model.Col(), 5);
}

TEST(EditCaretRule, ClampedIntoShrunkRowsOnlyAtCharacterStarts) {
    TEditFixture f;
    f.SetText("abc\r\n" + kA + kA + "\r\nxyz");
    f.model.SetRowCol(2, 3);
    // The rows change without the caret moves: a bulk update of the lines.
    f.rows.DeleteRowRange(2, 1);
    f.rows.SetRowEnd(1, reEndOfText);
    f.model.ClampCaret();
    EXPECT_EQ(f.model.Row(), 1);
    EXPECT_EQ(f.model.Col(), 2);  // column 3 is the second half of the second あ
    f.model.SetCol(3);            // rightwards onto a second half: after the character
    EXPECT_EQ(f.model.Col(), 4);
    f.model.SetCol(3);  // leftwards: before it
    EXPECT_EQ(f.model.Col(), 2);
}
