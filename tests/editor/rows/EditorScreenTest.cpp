// TEditorScreen: which rows and left-bar numbers a change repaints, and how far the rows below scroll.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/rows/EditorScreen.h"
#include "editor/rows/EditorScreenStrings.h"
#include "editor/support/FakeEditorHost.h"

using Rows = std::vector<std::string>;

TEST(EditorScreen, RepaintArithmetic) {
    TFakeEditorHost host;
    host.visibleRows = 10;
    TEditorScreen screen(host, host.leftbar);

    screen.Update(TChangeRecord{3, 1, 1, 0, false}, 50);  // nothing pending
    EXPECT_TRUE(host.calls.empty());

    screen.Update(TChangeRecord{3, 1, 1, 2, true}, 50);  // same row count: rows 3..4 (c = 5)
    EXPECT_EQ(host.calls, (Rows{"rows 3,4"}));

    host.calls.clear();
    screen.Update(TChangeRecord{3, 1, 3, 1, true}, 50);  // two rows more: scroll from c = 6 by 2
    EXPECT_EQ(host.calls, (Rows{"rows 3,5", "scroll 6,2"}));

    host.calls.clear();
    screen.Update(TChangeRecord{8, 2, 1, 0, true}, 9);  // c = 9 is past the last row 8
    EXPECT_EQ(host.calls, (Rows{"rows 8,8", "scroll 9,-1", "rows 9,9"}));

    host.calls.clear();
    screen.Update(TChangeRecord{0, 0, 11, 0, true}, 50);  // more than a screen: everything
    EXPECT_EQ(host.calls, (Rows{"all"}));
}

TEST(EditorScreen, LeftBarNumbers) {
    TFakeEditorHost host;
    host.visibleRows = 10;
    host.leftbar.SetVisible(true);
    host.leftbar.SetShowNumber(true);
    TEditorScreen screen(host, host.leftbar);

    host.leftbar.SetShowNumberMode(nmLine);
    screen.Update(TChangeRecord{3, 1, 1, 0, true}, 50);
    EXPECT_EQ(host.calls, (Rows{"rows 3,3", "bar 4,13"}));

    host.leftbar.SetShowNumberMode(nmRow);
    host.calls.clear();
    screen.Update(TChangeRecord{3, 1, 2, 0, true}, 50);  // last row not visible: no numbers
    EXPECT_EQ(host.calls, (Rows{"rows 3,4", "scroll 5,1"}));
    host.calls.clear();
    host.topRow = 45;
    screen.Update(TChangeRecord{46, 1, 2, 0, true}, 50);
    EXPECT_EQ(host.calls, (Rows{"rows 46,47", "scroll 48,1", "bar 48,56"}));
}
