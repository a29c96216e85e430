// The wrap option: defaults, clamping, change notification and character-set membership.
#include <gtest/gtest.h>

#include "editor/support/RowsTestUtil.h"
#include "editor/wrap/EditorWrapOption.h"

using namespace rowtest;

TEST(WrapOption, DefaultsClampingAndNotification) {
    TEditorWrapOption option;
    EXPECT_EQ(option.WrapByte(), 80);
    EXPECT_FALSE(option.FollowRetMark() || option.FollowPunctuation() || option.Leading() ||
                 option.WordBreak());
    EXPECT_TRUE(TEditorWrapOption::IsMember(kKuten, option.FollowStr()));
    EXPECT_TRUE(TEditorWrapOption::IsMember("\xDF", option.FollowStr()));
    EXPECT_TRUE(TEditorWrapOption::IsMember(kKakko, option.LeadStr()));
    EXPECT_TRUE(TEditorWrapOption::IsMember(",", option.PunctuationStr()));
    int notified = 0;
    option.SetOnChange([&](TNotifyPersistent*) { ++notified; });
    option.SetWrapByte(10);
    EXPECT_EQ(option.WrapByte(), 20);
    option.SetWrapByte(300);
    EXPECT_EQ(option.WrapByte(), 250);
    option.SetWrapByte(250);  // unchanged: no notification
    option.SetLeading(false);
    EXPECT_EQ(notified, 2);
    TEditorWrapOption other;
    other.SetWordBreak(true);
    other.SetLeadStr("(");
    option.Assign(other);
    EXPECT_EQ(notified, 3);
    EXPECT_TRUE(option.WordBreak());
    EXPECT_EQ(option.WrapByte(), 80);
    EXPECT_EQ(option.LeadStr(), "(");
}

TEST(WrapOption, MembershipIsByWholeCharacter) {
    // "A" (0x41) is the trail byte of 、 (0x81 0x41) but not a character of the set.
    EXPECT_FALSE(TEditorWrapOption::IsMember("A", kTouten));
    EXPECT_TRUE(TEditorWrapOption::IsMember(kTouten, "x" + kTouten));
    EXPECT_FALSE(TEditorWrapOption::IsMember("", kTouten));
}

