// The update guard of the option objects.
#include <gtest/gtest.h>

#include <string>

#include "editor/support/ChangeCounter.h"
#include "editor/options/EditorBracketCollection.h"
#include "editor/options/EditorViewInfo.h"

TEST(NotifyPersistent, UpdateGuardReleasesOnException) {
    TEditorViewInfo view;
    TChangeCounter changes(view);
    try {
        TNotifyPersistent::Update update(view);
        view.SetMail(true);
        view.SetUrl(true);
        for (int i = 0; i < 15; ++i) view.Brackets().Add("(", ")");
    } catch (const EEditorListError&) {
    }
    EXPECT_EQ(view.UpdateCount(), 0);
    EXPECT_EQ(changes.count, 1);  // the changes before the failure are reported once
    view.SetCommenter("#");
    EXPECT_EQ(changes.count, 2);
}
