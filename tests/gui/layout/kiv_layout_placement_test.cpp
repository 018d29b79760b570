// Grid, corner, switch and occupy-border layouts.
#include <gtest/gtest.h>

#include "base/kiv_exception.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/layout/kiv_layout_corner.h"
#include "gui/layout/kiv_layout_grid.h"
#include "gui/layout/kiv_layout_occupy_border.h"
#include "gui/layout/kiv_layout_switch.h"
#include "gui/layout/kiv_layouts.h"
#include "kiv_layout_test_panel.h"

namespace {

// Three columns, row order, spacing 1: a | b b / c d e / c . .
// Columns: 30 (a), 25 (d), 15 (e) + 9 that b misses (50 > 25 + 1 + 15) = 24.
// Rows: 12 (b), 9 (e), 0 + 20 that c misses (30 > 9 + 1 + 0) = 20.
TEST(KivLayoutGrid, SpansFillInReadingOrderAndWidenTheLastTrack) {
    KivLayoutTestPanel panel(200, 100);
    auto& grid = panel.Make<KivLayoutGrid>();
    KivXMLItem gridItem("grid");
    gridItem.SetAttribute("columns", "3");
    gridItem.SetAttribute("layoutspace", "1");
    grid.LoadAttributes(gridItem);
    KivTestControl& a = panel.In(grid, 30, 10);
    KivTestControl& b = panel.Make(50, 12);
    KivXMLItem wide("static");
    wide.SetAttribute("hspan", "2");
    grid.LoadControlAttributes(b, wide);
    grid.Add(b);
    KivTestControl& c = panel.Make(20, 30);
    grid.SetSpan(c, 1, 2);
    grid.Add(c);
    KivTestControl& d = panel.In(grid, 25, 8);
    KivTestControl& e = panel.In(grid, 15, 9);
    const KivPoint size = KivLayouts::ComputeCurrentSize(panel);
    EXPECT_EQ(size.x, 30 + 25 + 24 + 2);
    EXPECT_EQ(size.y, 12 + 9 + 20 + 2);
    EXPECT_TRUE(KivLayouts::Arrange(panel).IsEmpty());
    ExpectRect(a.GetBounds(), 0, 0, 29, 9);
    ExpectRect(b.GetBounds(), 31, 0, 80, 11);
    ExpectRect(c.GetBounds(), 0, 13, 19, 42);
    ExpectRect(d.GetBounds(), 31, 13, 55, 20);
    ExpectRect(e.GetBounds(), 57, 13, 71, 21);
}

TEST(KivLayoutGrid, VerticalFillGoesColumnByColumn) {
    KivLayoutTestPanel panel(100, 100);
    auto& grid = panel.Make<KivLayoutGrid>();
    grid.SetSize(0, 2);
    grid.SetVerticalFill(true);
    KivTestControl& a = panel.In(grid, 10, 10);
    KivTestControl& b = panel.In(grid, 10, 10);
    KivTestControl& c = panel.In(grid, 10, 10);
    KivLayouts::Arrange(panel);
    ExpectRect(a.GetBounds(), 0, 0, 9, 9);
    ExpectRect(b.GetBounds(), 0, 10, 9, 19);
    ExpectRect(c.GetBounds(), 10, 0, 19, 9);
}

TEST(KivLayoutGrid, StretchingColumnTakesTheSpaceLeftAndDefaultSpanCoversRows) {
    KivLayoutTestPanel panel(100, 60);
    auto& grid = panel.Make<KivLayoutGrid>();
    KivXMLItem item("grid");
    item.SetAttribute("columns", "2");
    item.SetAttribute("columnspancount", "2");
    grid.LoadAttributes(item);
    KivTestControl& label = panel.In(grid, 30, 10);
    KivTestControl& field = panel.In(grid, 20, 10);
    grid.SetSpan(label, 1, 1);
    grid.SetSpan(field, 1, 1);
    field.Layout().ratioX = 1;
    KivTestControl& full = panel.In(grid, 15, 10);  // a row of its own
    full.Layout().alignment = KivAlignment::kEnd;
    KivLayouts::Arrange(panel);
    ExpectRect(label.GetBounds(), 0, 0, 29, 9);
    ExpectRect(field.GetBounds(), 30, 0, 99, 9);  // 100 - 30 - 20 = 50 more
    ExpectRect(full.GetBounds(), 85, 10, 99, 19);
}

TEST(KivLayoutCorner, ControlsSitInTheirCornersWithoutUsingSpace) {
    KivLayoutTestPanel panel(200, 300);
    auto& corner = panel.Make<KivLayoutCorner>();
    static const char* const kTargets[] = {"corner0", "corner1", "CORNER2", "corner3"};
    KivControl* controls[4];
    for (int32_t index = 0; index < 4; ++index) {
        KivTestControl& control = panel.Make(20, 10);
        control.Layout().borderX = 3;
        control.Layout().borderY = 2;
        KivXMLItem item("button");
        item.SetAttribute("target", kTargets[index]);
        corner.LoadControlAttributes(control, item);
        controls[index] = &control;
    }
    const KivRect free = KivLayouts::Arrange(panel, KivRect{10, 20, 109, 219});
    ExpectRect(free, 10, 20, 109, 219);
    ExpectRect(controls[0]->GetBounds(), 13, 22, 32, 31);
    ExpectRect(controls[1]->GetBounds(), 87, 22, 106, 31);
    ExpectRect(controls[2]->GetBounds(), 87, 208, 106, 217);
    ExpectRect(controls[3]->GetBounds(), 13, 208, 32, 217);
}

TEST(KivLayoutCorner, TargetMustNameACornerAndAddAloneIsIgnored) {
    KivLayoutTestPanel panel(100, 100);
    auto& corner = panel.Make<KivLayoutCorner>();
    KivTestControl& control = panel.Make(10, 10);
    corner.Add(control);
    EXPECT_EQ(corner.GetControlCount(), 0);
    for (const char* target : {"corner4", ""}) {
        KivXMLItem item("button");
        if (*target != 0) item.SetAttribute("target", target);
        try {
            corner.LoadControlAttributes(control, item);
            FAIL() << "no exception for '" << target << "'";
        } catch (const KivException& e) {
            EXPECT_EQ(e.GetMessage(), KivString("Invalid target for corner layout."));
        }
    }
}

TEST(KivLayoutSwitch, AllControlsShareTheRectangleAndTheLargestSizeCounts) {
    KivLayoutTestPanel panel(100, 80);
    auto& overlay = panel.Make<KivLayoutSwitch>();
    KivTestControl& first = panel.In(overlay, 10, 10);
    KivTestControl& second = panel.In(overlay, 60, 5);
    second.Layout().borderX = 4;
    overlay.Show(first);
    EXPECT_FALSE(second.IsVisible());
    const KivPoint size = KivLayouts::ComputeCurrentSize(panel);
    EXPECT_EQ(size.x, 68);  // the hidden control counts
    EXPECT_EQ(size.y, 10);
    KivLayouts::Arrange(panel);
    ExpectRect(first.GetBounds(), 0, 0, 99, 79);
    ExpectRect(second.GetBounds(), 4, 0, 95, 79);
}

TEST(KivLayoutOccupyBorder, TakesItsBordersAndRefusesControls) {
    KivLayoutTestPanel panel(100, 80);
    auto& border = panel.Make<KivLayoutOccupyBorder>();
    KivXMLItem item("occupyborder");
    item.SetAttribute("border", "2");
    item.SetAttribute("borderleft", "7");
    border.LoadAttributes(item);
    ExpectRect(KivLayouts::Arrange(panel), 7, 2, 97, 77);
    const KivPoint size = KivLayouts::ComputeCurrentSize(panel);
    EXPECT_EQ(size.x, 9);
    EXPECT_EQ(size.y, 4);
    KivTestControl& control = panel.Make(10, 10);
    try {
        border.Add(control);
        FAIL() << "no exception";
    } catch (const KivException& e) {
        EXPECT_EQ(e.GetCode(), KivException::kNotImplemented);
    }
    EXPECT_FALSE(control.Layout().laidOut);
}

}  // namespace
