// What all option objects share: defaults, clamping, which setters notify, how a change deep inside
// reaches the top object, and one notification per Assign. Tests of one class are in its own file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/support/ChangeCounter.h"
#include "editor/options/EditorBracketCollection.h"
#include "editor/options/EditorCaret.h"
#include "editor/options/EditorColors.h"
#include "editor/options/EditorLeftbar.h"
#include "editor/options/EditorMargin.h"
#include "editor/options/EditorMarks.h"
#include "editor/options/EditorRuler.h"
#include "editor/options/EditorViewInfo.h"

TEST(EditorOptions, DefaultsUseThePlatformColourNumbers) {
    EXPECT_EQ(clWindow, 0x80000005u);
    EXPECT_EQ(clWindowText, 0x80000008u);
    EXPECT_EQ(clBtnFace, 0x8000000Fu);
    EXPECT_EQ(clBtnText, 0x80000012u);
    EXPECT_EQ(clNavy, 0x800000u);

    TEditorColors colors;
    for (int i = 0; i < TEditorColors::ciCount; ++i) {
        const auto& c = colors.Item(static_cast<TEditorColors::Index>(i));
        if (i == TEditorColors::ciSelect) continue;
        EXPECT_EQ(c.BkColor(), clWindow) << i;
        EXPECT_EQ(c.Color(), clWindowText) << i;
        EXPECT_EQ(c.Style(), 0) << i;
    }
    EXPECT_EQ(colors.Select().BkColor(), clNavy);
    EXPECT_EQ(colors.Select().Color(), clWhite);

    TEditorMarks marks;
    EXPECT_EQ(marks.EofMark().Color(), clGray);
    EXPECT_FALSE(marks.Underline().Visible());

    TEditorRuler ruler;
    EXPECT_EQ(ruler.BkColor(), clBtnFace);
    EXPECT_EQ(ruler.Color(), clBtnText);
    EXPECT_EQ(ruler.MarkColor(), clBtnText);
    EXPECT_EQ(ruler.GaugeRange(), 10);
    EXPECT_TRUE(ruler.Edge());
    EXPECT_FALSE(ruler.Visible());

    TEditorLeftbar bar;
    EXPECT_EQ(bar.BkColor(), clBtnFace);
    EXPECT_EQ(bar.Color(), clWindowText);
    EXPECT_EQ(bar.Column(), 4);
    EXPECT_EQ(bar.LeftMargin(), 8);
    EXPECT_EQ(bar.RightMargin(), 4);
    EXPECT_TRUE(bar.ShowNumber());
    EXPECT_EQ(bar.ShowNumberMode(), nmRow);
    EXPECT_FALSE(bar.Visible());
    EXPECT_FALSE(bar.ZeroLead());

    TEditorMargin margin;
    EXPECT_EQ(margin.Character(), 0);
    EXPECT_EQ(margin.Left(), 19);
    EXPECT_EQ(margin.Line(), 0);
    EXPECT_EQ(margin.Top(), 2);
    EXPECT_EQ(margin.UnderlineSpace(), 0);

    TEditorViewInfo view;
    EXPECT_EQ(view.Brackets().Count(), 0);
    EXPECT_FALSE(view.Mail());
    EXPECT_FALSE(view.Url());
    EXPECT_FALSE(view.ControlCode());
    EXPECT_TRUE(view.Quotation().empty());
}

TEST(EditorOptions, SettersClampSilently) {
    TEditorCaret caret;
    const std::vector<std::pair<int, int>> tabs = {{7, 6}, {1, 2}, {12, 8}, {2, 2}, {3, 2}, {5, 4}, {-9, 2}};
    for (auto [in, out] : tabs) {
        caret.SetTabSpaceCount(in);
        EXPECT_EQ(caret.TabSpaceCount(), out) << in;
    }

    TEditorRuler ruler;
    for (auto [in, out] : std::vector<std::pair<int, int>>{{9, 8}, {20, 10}, {7, 8}, {10, 10}, {8, 8}}) {
        ruler.SetGaugeRange(in);
        EXPECT_EQ(ruler.GaugeRange(), out) << in;
    }

    TEditorLeftbar bar;
    bar.SetColumn(0);
    EXPECT_EQ(bar.Column(), 1);
    bar.SetColumn(9);
    EXPECT_EQ(bar.Column(), 8);

    TEditorMargin margin;
    margin.SetLeft(500);
    EXPECT_EQ(margin.Left(), 100);
    margin.SetTop(-1);
    EXPECT_EQ(margin.Top(), 0);
    margin.SetCharacter(101);
    EXPECT_EQ(margin.Character(), 100);
    margin.SetLine(50);
    EXPECT_EQ(margin.Line(), 50);
}

TEST(EditorOptions, DirectSettingsDoNotNotifyAndNotifyingOnesOnlyOnChange) {
    TEditorCaret caret;
    TChangeCounter changes(caret);
    caret.SetAutoIndent(false);
    caret.SetFreeCaret(false);
    caret.SetKeepCaret(true);
    caret.SetSelDragMode(dmManual);
    caret.Cursors().SetDefaultCursor(crDefault);  // Cursors is not bound to the caret
    caret.SetCursors(TEditorCursors());
    EXPECT_EQ(changes.count, 0);

    caret.SetStyle(csBrief);
    EXPECT_EQ(changes.count, 1);
    caret.SetStyle(csBrief);
    EXPECT_EQ(changes.count, 1);
    caret.SetTabSpaceCount(9);  // clamps to 8, the value it has
    EXPECT_EQ(changes.count, 1);
    caret.SetTabSpaceCount(4);
    EXPECT_EQ(changes.count, 2);

    TEditorMargin margin;
    TChangeCounter marginChanges(margin);
    margin.SetUnderlineSpace(1);  // set by the control from within its own change handler
    EXPECT_EQ(marginChanges.count, 0);
    margin.SetLeft(200);
    margin.SetLeft(150);  // both clamp to 100
    EXPECT_EQ(marginChanges.count, 1);
}

TEST(EditorOptions, AChangeDeepInsideReachesTheTopObjectOnce) {
    TEditorViewInfo view;
    TChangeCounter changes(view);

    view.Colors().Select().SetBkColor(clWhite);
    ASSERT_EQ(changes.count, 1);
    EXPECT_EQ(changes.senders[0], &view);  // the owner reports itself as the changed object

    view.SetMail(true);
    view.SetMail(true);
    view.SetUrl(true);
    view.SetCommenter("//");
    view.SetCommenter("//");
    view.SetHexPrefix("0x");
    view.SetControlCode(true);
    EXPECT_EQ(changes.count, 6);

    TEditorMarks marks;
    TChangeCounter markChanges(marks);
    marks.Underline().SetVisible(true);
    marks.RetMark().SetColor(clGray);  // unchanged
    EXPECT_EQ(markChanges.count, 1);
}

TEST(EditorOptions, AssignCopiesEverythingWithOneNotification) {
    TEditorViewInfo view;
    TChangeCounter changes(view);

    TEditorColors colors;
    colors.SetAllBkColor(0x123456);
    colors.Url().SetStyle(fsUnderline | fsBold);
    view.SetColors(colors);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(view.Colors().Ank().BkColor(), 0x123456u);
    EXPECT_EQ(view.Colors().Url().Style(), fsUnderline | fsBold);

    TEditorViewInfo source;
    source.Brackets().Add("(", ")").ItemColor().SetColor(0xFF);
    source.Brackets().Add("\x81\x75", "\x81\x76");  // 「 」
    source.SetQuotation("'");
    source.SetMail(true);
    source.SetCommenter(";");
    changes.count = 0;
    view.Assign(source);
    EXPECT_EQ(changes.count, 1);
    ASSERT_EQ(view.Brackets().Count(), 2);
    EXPECT_EQ(view.Brackets()[0].LeftBracket(), "(");
    EXPECT_EQ(view.Brackets()[0].ItemColor().Color(), 0xFFu);
    EXPECT_EQ(view.Brackets()[1].RightBracket(), "\x81\x76");
    EXPECT_EQ(view.Quotation(), "'");
    EXPECT_TRUE(view.Mail());
    EXPECT_EQ(view.Commenter(), ";");
    EXPECT_EQ(view.Colors().Ank().BkColor(), clWindow);  // colours come from the source too

    // Classes without sub-objects notify once even when nothing differs.
    TEditorColor color;
    TChangeCounter colorChanges(color);
    color.Assign(TEditorColor());
    EXPECT_EQ(colorChanges.count, 1);

    TEditorCaret caret;
    TChangeCounter caretChanges(caret);
    TEditorCaret caretSource;
    caretSource.SetTabSpaceCount(4);
    caretSource.SetAutoIndent(false);
    caretSource.Cursors().SetInSelCursor(crDrag);
    caret.Assign(caretSource);
    EXPECT_EQ(caretChanges.count, 1);
    EXPECT_EQ(caret.TabSpaceCount(), 4);
    EXPECT_FALSE(caret.AutoIndent());
    EXPECT_EQ(caret.Cursors().InSelCursor(), crDrag);

    TEditorMargin margin;
    TEditorMargin marginSource;
    marginSource.SetUnderlineSpace(1);
    marginSource.SetLeft(7);
    margin.Assign(marginSource);
    EXPECT_EQ(margin.UnderlineSpace(), 1);
    EXPECT_EQ(margin.Left(), 7);

    TEditorLeftbar bar;
    TChangeCounter barChanges(bar);
    TEditorLeftbar barSource;
    barSource.SetShowNumberMode(nmLine);
    barSource.SetZeroLead(true);
    barSource.SetLeftMargin(4);
    bar.Assign(barSource);
    EXPECT_EQ(barChanges.count, 1);
    EXPECT_EQ(bar.ShowNumberMode(), nmLine);
    EXPECT_TRUE(bar.ZeroLead());
    EXPECT_EQ(bar.LeftMargin(), 4);
}
