// The bracket pairs: at most fourteen, which changes notify, Assign and Delete.
#include <gtest/gtest.h>

#include <string>

#include "editor/support/ChangeCounter.h"
#include "editor/options/EditorBracketCollection.h"
#include "editor/options/EditorViewInfo.h"

TEST(EditorBracketCollection, HoldsAtMostFourteenPairs) {
    TEditorViewInfo view;
    TChangeCounter changes(view);
    TEditorBracketCollection& brackets = view.Brackets();
    for (int i = 0; i < 14; ++i) brackets.Add("<" + std::to_string(i), ">");
    EXPECT_EQ(changes.count, 14);  // each Add notifies

    try {
        brackets.Add();
        FAIL() << "a fifteenth pair was added";
    } catch (const EEditorListError& e) {
        EXPECT_STREQ(e.what(), "TEditorBracketCollection\r\nYou can not add item over 14");
    }
    EXPECT_EQ(brackets.Count(), 14);
    EXPECT_EQ(brackets[13].LeftBracket(), "<13");

    // Changing an item notifies nobody.
    changes.count = 0;
    brackets[0].SetLeftBracket("[");
    brackets[0].ItemColor().SetColor(0x1);
    EXPECT_EQ(changes.count, 0);

    // Assigning a full collection works and notifies once; deleting and clearing notify.
    TEditorBracketCollection copy;
    TChangeCounter copyChanges(copy);
    copy.Add("x", "y");
    copyChanges.count = 0;
    copy.Assign(brackets);
    EXPECT_EQ(copyChanges.count, 1);
    ASSERT_EQ(copy.Count(), 14);
    EXPECT_EQ(copy[0].LeftBracket(), "[");
    EXPECT_EQ(copy[0].ItemColor().Color(), 0x1u);
    EXPECT_THROW(copy[14], EEditorListError);
    EXPECT_THROW(copy.Items(-1), EEditorListError);
    copy.Delete(20);  // out of range: nothing
    EXPECT_EQ(copyChanges.count, 1);
    copy.Delete(0);
    EXPECT_EQ(copy.Count(), 13);
    EXPECT_EQ(copy[0].LeftBracket(), "<1");
    copy.Clear();
    EXPECT_EQ(copy.Count(), 0);
    EXPECT_EQ(copyChanges.count, 3);

    changes.count = 0;
    brackets.SetAllBkColor(0x42);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(brackets[5].ItemColor().BkColor(), 0x42u);
}
