// The caret options: defaults and the registered cursor slots.
#include <gtest/gtest.h>

#include <string>

#include "editor/options/EditorCaret.h"
#include "editor/options/EditorCursors.h"

TEST(EditorCaret, DefaultsAndCursorSlots) {
    TEditorCaret caret;
    EXPECT_TRUE(caret.AutoCursor());
    EXPECT_TRUE(caret.AutoIndent());
    EXPECT_TRUE(caret.BackSpaceUnIndent());
    EXPECT_TRUE(caret.FreeCaret());
    EXPECT_FALSE(caret.InTab());
    EXPECT_FALSE(caret.KeepCaret());
    EXPECT_TRUE(caret.RowSelect());
    EXPECT_EQ(caret.SelDragMode(), dmAutomatic);
    EXPECT_TRUE(caret.SelMove());
    EXPECT_EQ(caret.Style(), csDefault);
    EXPECT_EQ(caret.TabSpaceCount(), 8);

    const TEditorCursors& cursors = caret.Cursors();
    EXPECT_EQ(cursors.DefaultCursor(), crIBeam);
    EXPECT_EQ(cursors.DragSelCursor(), crDrag);
    EXPECT_EQ(cursors.InSelCursor(), crDefault);
    // Two distinct registered slots, "RightArrow" taken before "DragSelCopy".
    EXPECT_GE(cursors.LeftMarginCursor(), 1);
    EXPECT_LT(cursors.LeftMarginCursor(), cursors.DragSelCopyCursor());
    EXPECT_EQ(TEditorCursors::RegisteredCursorName(cursors.LeftMarginCursor()), "RightArrow");
    EXPECT_EQ(TEditorCursors::RegisteredCursorName(cursors.DragSelCopyCursor()), "DragSelCopy");
    // A name taken before keeps its number; a new one takes the next free number.
    EXPECT_EQ(TEditorCursors::RegisterCursor("RightArrow"), cursors.LeftMarginCursor());
    const TCursor other = TEditorCursors::RegisterCursor("SomethingElse");
    EXPECT_GT(other, cursors.DragSelCopyCursor());
    EXPECT_TRUE(TEditorCursors::RegisteredCursorName(0).empty());
}
