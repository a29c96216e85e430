// The colour classes: the bulk setters.
#include <gtest/gtest.h>

#include <string>

#include "editor/support/ChangeCounter.h"
#include "editor/options/EditorColors.h"
#include "editor/options/EditorViewInfo.h"

TEST(EditorColors, BulkSettersSkipSelectAndNotifyOnce) {
    TEditorViewInfo view;
    TChangeCounter changes(view);
    view.Colors().SetAllColor(0x00FF00);
    view.Colors().SetAllStyle(fsItalic);
    EXPECT_EQ(changes.count, 2);
    EXPECT_EQ(view.Colors().Comment().Color(), 0x00FF00u);
    EXPECT_EQ(view.Colors().Symbol().Style(), fsItalic);
    EXPECT_EQ(view.Colors().Select().Color(), clWhite);
    EXPECT_EQ(view.Colors().Select().Style(), 0);
}
