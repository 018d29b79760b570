// Side and client layouts: the line distribution, strip depths, spacing, hidden and
// collapsed controls, size computation over a sequence of layouts.
#include <gtest/gtest.h>

#include "base/kiv_exception.h"
#include "gui/layout/kiv_layout_client.h"
#include "gui/layout/kiv_layout_occupy_border.h"
#include "gui/layout/kiv_layout_side.h"
#include "gui/layout/kiv_layout_size_computer.h"
#include "gui/layout/kiv_layouts.h"
#include "kiv_layout_test_panel.h"

namespace {

TEST(KivLayoutLine, EqualRatiosShareEveryPixelAndAlignAcross) {
    KivLayoutTestPanel panel(100, 50);
    auto& line = panel.Make<KivLayoutHorizontal>();
    KivTestControl& a = panel.In(line, 10, 10);
    KivTestControl& b = panel.In(line, 10, 10);
    KivTestControl& c = panel.In(line, 10, 10);
    for (KivControl* control : {&a, &b, &c}) control->Layout().ratioX = 1;
    b.Layout().alignment = KivAlignment::kCenter;
    c.Layout().alignment = KivAlignment::kEnd;
    const KivRect left = KivLayouts::Arrange(panel);
    // 100 / 3 = 33, then 67 / 2 = 33, the last takes 34.
    ExpectRect(a.GetBounds(), 0, 0, 32, 9);
    ExpectRect(b.GetBounds(), 33, 20, 65, 29);  // (50 - 10) / 2 = 20
    ExpectRect(c.GetBounds(), 66, 40, 99, 49);
    EXPECT_TRUE(left.IsEmpty());
}

TEST(KivLayoutLine, FixedControlsBordersSpacingAndUnequalRatios) {
    KivLayoutTestPanel panel(200, 30);
    KivLayout::SetStyleControlSpacing(2);
    auto& line = panel.Make<KivLayoutHorizontal>();
    line.SetSpace(3);  // spacing 2 + 3 = 5
    KivTestControl& fixed = panel.Make(40, 10);
    line.AddControl(fixed, 2, 0);
    KivTestControl& wide = panel.In(line, 1, 10);
    KivTestControl& narrow = panel.In(line, 1, 10);
    KivTestControl& last = panel.In(line, 20, 10);
    wide.Layout().ratioX = 2;
    wide.Layout().ratioY = 1;
    narrow.Layout().ratioX = 1;
    KivLayouts::Arrange(panel);
    // Left over: 200 - 3 × 5 - 44 - 20 = 121; 2 × 121 / 3 = 80, the rest 41.
    ExpectRect(fixed.GetBounds(), 2, 0, 41, 9);
    ExpectRect(wide.GetBounds(), 49, 0, 128, 29);  // a vertical ratio fills the height
    ExpectRect(narrow.GetBounds(), 134, 0, 174, 9);
    ExpectRect(last.GetBounds(), 180, 0, 199, 9);
    KivLayout::SetStyleControlSpacing(0);
}

TEST(KivLayoutLine, SelfSizingControlAsksForTheSpaceLeftAndGapsComeFirst) {
    KivLayoutTestPanel panel(50, 200);
    auto& column = panel.Make<KivLayoutVertical>();
    KivTestControl& first = panel.In(column, 10, 30);
    KivTestControl& automatic = panel.In(column, 1, 1);
    automatic.Layout().autoSize = true;
    automatic.automatic = KivPoint{12, 500};  // taller than the 200 - 30 - 5 left
    column.SetGapBefore(automatic, 5);
    KivLayouts::Arrange(panel);
    ExpectRect(first.GetBounds(), 0, 0, 9, 29);
    ExpectRect(automatic.GetBounds(), 0, 35, 49, 199);  // fills its cell both ways
}

TEST(KivLayoutSide, StripDepthIsTheDeepestVisibleControl) {
    KivLayoutTestPanel panel(300, 200);
    KivLayout::SetStyleControlSpacing(4);
    auto& bottom = panel.Make<KivLayoutBottom>();
    KivTestControl& tall = panel.In(bottom, 30, 20);
    KivTestControl& shorter = panel.In(bottom, 40, 15);
    KivTestControl& hidden = panel.In(bottom, 25, 50);
    hidden.SetVisible(false);
    const KivRect left = KivLayouts::Arrange(panel);
    ExpectRect(tall.GetBounds(), 0, 180, 29, 199);
    ExpectRect(shorter.GetBounds(), 34, 180, 73, 194);
    ExpectRect(hidden.GetBounds(), 0, 0, 24, 49);
    ExpectRect(left, 0, 0, 299, 175);  // 20 high plus the spacing 4
    KivLayout::SetStyleControlSpacing(0);
}

TEST(KivLayoutSide, EachSideTakesItsOwnEdge) {
    KivLayoutTestPanel panel(100, 80);
    auto& left = panel.Make<KivLayoutLeft>();
    auto& right = panel.Make<KivLayoutRight>();
    auto& top = panel.Make<KivLayoutTop>();
    KivTestControl& l = panel.In(left, 10, 20);
    KivTestControl& r = panel.In(right, 15, 20);
    KivTestControl& t = panel.In(top, 30, 5);
    const KivRect free = KivLayouts::Arrange(panel);
    ExpectRect(l.GetBounds(), 0, 0, 9, 19);
    ExpectRect(r.GetBounds(), 85, 0, 99, 19);
    ExpectRect(t.GetBounds(), 10, 0, 39, 4);
    ExpectRect(free, 10, 5, 84, 79);
}

TEST(KivLayoutSide, WithoutVisibleControlsTakesNothingAndInvalidSideRaises) {
    KivLayoutTestPanel panel(100, 80);
    auto& top = panel.Make<KivLayoutTop>();
    EXPECT_FALSE(top.TakesSpace());
    panel.In(top, 10, 20).SetVisible(false);
    EXPECT_FALSE(top.TakesSpace());
    ExpectRect(KivLayouts::Arrange(panel), 0, 0, 99, 79);
    try {
        KivLayoutSide side(nullptr, 4);
        FAIL() << "no exception";
    } catch (const KivException& e) {
        EXPECT_EQ(e.GetMessage(), KivString("Invalid side-layout direction."));
    }
}

TEST(KivLayoutSide, CollapsedControlUsesItsAlternativeHeightAndHasNoMinimalHeight) {
    KivLayoutTestPanel panel(100, 100);
    auto& top = panel.Make<KivLayoutTop>();
    KivTestControl& control = panel.In(top, 50, 40);
    control.Layout().alternativeSize = KivPoint{0, 12};
    control.SetCollapsed(true);
    const KivRect free = KivLayouts::Arrange(panel);
    ExpectRect(control.GetBounds(), 0, 0, 49, 11);  // the width was not replaced
    EXPECT_EQ(free.top, 12);
    const KivLayout::MinimalSizeComputer minimal;
    EXPECT_EQ(minimal.GetHeight(control), 0);
    EXPECT_EQ(minimal.GetWidth(control), 50);
}

TEST(KivLayoutSizeComputers, BordersStretchingAndMinimalContent) {
    KivLayoutTestPanel panel(100, 100);
    KivTestControl& control = panel.Make(30, 20);
    control.Layout().borderX = 2;
    control.Layout().borderY = 3;
    control.minimal = KivPoint{10, 25};
    const KivLayout::CurrentSizeComputer current;
    const KivLayout::MinimalSizeComputer minimal;
    EXPECT_EQ(current.GetWidth(control), 34);
    EXPECT_EQ(current.GetHeight(control), 26);
    EXPECT_EQ(minimal.GetWidth(control), 34);   // current 30 beats minimal 10
    EXPECT_EQ(minimal.GetHeight(control), 31);  // minimal 25 beats current 20
    control.Layout().ratioX = 1;
    EXPECT_EQ(minimal.GetWidth(control), 14);  // stretching: only the minimal content counts
}

// Occupied border 5, a top strip, a left strip and a client line; needed sizes worked out
// layout by layout, then the panel arranged at exactly that size.
TEST(KivLayouts, SizeOfASequenceOfLayoutsFitsItsArrangement) {
    KivLayoutTestPanel panel(104, 72);
    KivLayout::SetStyleControlSpacing(2);
    panel.Make<KivLayoutOccupyBorder>().SetBorders(5, 5, 5, 5);
    KivTestControl& top = panel.In(panel.Make<KivLayoutTop>(), 60, 10);
    KivTestControl& left = panel.In(panel.Make<KivLayoutLeft>(), 20, 30);
    auto& client = panel.Make<KivLayoutHorizontal>();
    KivTestControl& a = panel.In(client, 40, 25);
    KivTestControl& b = panel.In(client, 30, 50);
    // Border: used 10 × 10. Top: needs 10 + 60, 10 + 10; takes 12 in height. Left: needs
    // 10 + 20, 22 + 30; takes 22 in width. Client: needs 32 + 72, 22 + 50.
    const KivPoint size = KivLayouts::ComputeCurrentSize(panel);
    EXPECT_EQ(size.x, 104);
    EXPECT_EQ(size.y, 72);
    KivLayouts::Arrange(panel);
    ExpectRect(top.GetBounds(), 5, 5, 64, 14);
    ExpectRect(left.GetBounds(), 5, 17, 24, 46);
    ExpectRect(a.GetBounds(), 27, 17, 66, 41);
    ExpectRect(b.GetBounds(), 69, 17, 98, 66);
    // Minimal: a stretching client control no longer counts its width.
    b.Layout().ratioX = 1;
    EXPECT_EQ(KivLayouts::ComputeMinimalSize(panel).x, 32 + 40 + 2 + 0);
    KivLayout::SetStyleControlSpacing(0);
}

TEST(KivLayout, ControlJoinsOneLayoutAtATime) {
    KivLayoutTestPanel panel(100, 100);
    auto& first = panel.Make<KivLayoutTop>();
    auto& second = panel.Make<KivLayoutBottom>();
    first.SetDefaultBorders(4, -1);
    KivTestControl& control = panel.In(first, 10, 10);
    EXPECT_EQ(control.Layout().borderX, 4);
    EXPECT_EQ(control.Layout().layout, &first);
    second.Add(control);
    EXPECT_FALSE(first.Holds(control));
    EXPECT_EQ(control.Layout().layout, &second);
    second.Remove(control);
    EXPECT_FALSE(control.Layout().laidOut);
    EXPECT_EQ(control.Layout().layout, nullptr);
}

// A control destroyed, or moved to another panel, leaves its layout: arranging afterwards
// places only what is still there (a dangling control would be written to freed memory).
TEST(KivLayout, ForgetsControlsThatAreDestroyedOrLeaveThePanel) {
    KivLayoutTestPanel panel(100, 100);
    auto& top = panel.Make<KivLayoutTop>();
    KivTestControl* doomed = &panel.In(top, 10, 30);
    KivTestControl& moved = panel.In(top, 10, 20);
    KivTestControl& kept = panel.In(top, 10, 12);
    delete doomed;
    KivLayoutTestPanel other(50, 50);
    other.AddChild(&moved);
    ASSERT_EQ(top.GetControlCount(), 1);
    EXPECT_EQ(&top.GetControl(0), &kept);
    EXPECT_EQ(moved.Layout().layout, nullptr);
    EXPECT_FALSE(moved.Layout().laidOut);
    const KivRect free = KivLayouts::Arrange(panel);
    EXPECT_EQ(free.top, 12);  // only the kept control's strip was taken
    panel.RemoveChild(&kept);
    EXPECT_EQ(top.GetControlCount(), 0);
    other.AddChild(&kept);
}

}  // namespace
