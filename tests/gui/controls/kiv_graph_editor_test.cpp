// The graph editor driven through a window on the offscreen window system: adding, moving,
// bending and deleting points with the mouse and the keys, the limits every move obeys, and
// the begin / change / end notifications an owner turns into automation.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "base/xml/kiv_xml_item.h"
#include "envelope/kiv_envelope_computer.h"
#include "gui/controls/kiv_graph_editor.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_window_picture.h"
#include "gui/core/kiv_window.h"
#include "gui/core/kiv_windows.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "gui/style/kiv_house_style.h"

namespace {

constexpr auto kLeft = KivMouseButton::kLeft;
constexpr KivPoint kOrigin{10, 10};  // the editor's place in the window

struct Notifications : KivEventTarget {
    void Begin(KivOnNotifyParams&) {
        ++begins;
        EXPECT_EQ(begins, ends + 1) << "a gesture began inside another";
    }
    void Change(KivOnNotifyParams&) {
        ++changes;
        EXPECT_EQ(begins, ends + 1) << "a change outside a gesture";
    }
    void End(KivOnNotifyParams&) { ++ends; }
    int begins = 0;
    int changes = 0;
    int ends = 0;
};

class GraphEditor : public ::testing::Test {
protected:
    void SetUp() override {
        system = new KivWindowSystemOffscreen();
        windows = std::make_unique<KivWindows>(system);
        window = new KivWindow();
        window->SetBounds(KivRect{0, 0, 339, 279});
        editor = new KivGraphEditor();
        editor->SetBounds(KivRect{kOrigin.x, kOrigin.y, kOrigin.x + 319, kOrigin.y + 259});
        window->AddChild(editor);
        // The transfer shape's starting point: a line between two locked ends.
        envelope.ResetToLine(0.0, 1.0);
        editor->SetEnvelope(&envelope);
        editor->OnBeginEdit.AddHandler(&seen, &Notifications::Begin);
        editor->OnChange.AddHandler(&seen, &Notifications::Change);
        editor->OnEndEdit.AddHandler(&seen, &Notifications::End);
        window->Show();
        system->ProcessPendingEvents();
    }
    void TearDown() override {
        delete window;
        windows.reset();
    }

    // The window pixel showing (x, y): the range's ends lie on the centres of the plot's
    // edge pixels.
    KivPoint At(double x, double y) const {
        const KivRect plot = editor->GetPlotRect();
        return KivPoint{kOrigin.x + plot.left + static_cast<int32_t>(std::lround(x * (plot.Width() - 1))),
                        kOrigin.y + plot.bottom - static_cast<int32_t>(std::lround(y * (plot.Height() - 1)))};
    }
    double XOf(KivPoint p) const {
        const KivRect plot = editor->GetPlotRect();
        return (p.x - kOrigin.x - plot.left) / double(plot.Width() - 1);
    }
    double YOf(KivPoint p) const {
        const KivRect plot = editor->GetPlotRect();
        return (plot.bottom - (p.y - kOrigin.y)) / double(plot.Height() - 1);
    }
    double XStep() const { return 1.0 / (editor->GetPlotRect().Width() - 1); }
    double YStep() const { return 1.0 / (editor->GetPlotRect().Height() - 1); }

    void Press(KivPoint p, KivMouseButton button = kLeft) {
        system->InjectMouseMove(*window, p);
        system->InjectMouseDown(*window, p, button);
        system->ProcessPendingEvents();
    }
    void MoveTo(KivPoint p) {
        system->InjectMouseMove(*window, p);
        system->ProcessPendingEvents();
    }
    void Release(KivPoint p, KivMouseButton button = kLeft) {
        system->InjectMouseUp(*window, p, button);
        system->ProcessPendingEvents();
    }
    void Drag(KivPoint from, KivPoint to) {
        Press(from);
        MoveTo(to);
        Release(to);
    }
    void Key(uint32_t key) {
        system->InjectKeyDown(*window, key);
        system->InjectKeyUp(*window, key);
        system->ProcessPendingEvents();
    }
    // Everything a gesture could change, point by point.
    std::vector<double> Snapshot() const {
        std::vector<double> fields;
        for (int32_t i = 0; i < envelope.GetPointCount(); ++i) {
            const KivEnvelopePoint& p = envelope.GetPoint(i);
            fields.insert(fields.end(), {p.x, p.y, p.curvature, double(p.flags)});
        }
        return fields;
    }

    KivWindowSystemOffscreen* system = nullptr;
    std::unique_ptr<KivWindows> windows;
    KivWindow* window = nullptr;
    KivGraphEditor* editor = nullptr;
    KivEnvelope envelope;
    Notifications seen;
};

TEST_F(GraphEditor, ClickAddsAPointThatFollowsTheDragAndEachGestureIsReportedOnce) {
    const KivPoint press = At(0.5, 0.25);
    Press(press);
    ASSERT_EQ(envelope.GetPointCount(), 3);
    EXPECT_NEAR(envelope.GetPoint(1).x, XOf(press), 1e-12);
    EXPECT_NEAR(envelope.GetPoint(1).y, YOf(press), 1e-12);
    EXPECT_EQ(editor->GetSelectedIndex(), 1);
    EXPECT_EQ(seen.begins, 1);
    EXPECT_EQ(seen.ends, 0);  // the gesture is still going on

    const KivPoint to{press.x - 30, press.y - 40};
    MoveTo(KivPoint{press.x - 10, press.y - 10});
    MoveTo(to);
    EXPECT_NEAR(envelope.GetPoint(1).x, XOf(to), 1e-12);
    EXPECT_NEAR(envelope.GetPoint(1).y, YOf(to), 1e-12);
    Release(to);
    EXPECT_EQ(seen.begins, 1);
    EXPECT_EQ(seen.changes, 3);  // added, moved, moved
    EXPECT_EQ(seen.ends, 1);

    // A press on the point without moving is a gesture without a change.
    Press(to);
    Release(to);
    EXPECT_EQ(seen.begins, 2);
    EXPECT_EQ(seen.changes, 3);
    EXPECT_EQ(seen.ends, 2);
    EXPECT_EQ(envelope.GetPointCount(), 3);
}

TEST_F(GraphEditor, MovesStayBetweenTheNeighboursInsideTheRangeAndShiftIsTenTimesFiner) {
    Drag(At(0.4, 0.4), At(0.4, 0.4));  // adds a point at 0.4
    Drag(At(0.7, 0.5), At(0.7, 0.5));  // and one at 0.7
    ASSERT_EQ(envelope.GetPointCount(), 4);
    const double right = envelope.GetPoint(2).x;
    // Far beyond the right neighbour and above the top: held at both.
    Drag(At(0.4, 0.4), KivPoint{At(1.0, 1.0).x + 80, At(1.0, 1.0).y - 80});
    EXPECT_DOUBLE_EQ(envelope.GetPoint(1).x, right);
    EXPECT_DOUBLE_EQ(envelope.GetPoint(1).y, 1.0);
    // The order never changed under the hand.
    EXPECT_LE(envelope.GetPoint(1).x, envelope.GetPoint(2).x);

    // Back into free space; then 20 pixels with Shift move the point as far as 2 pixels.
    Drag(At(right, 1.0), At(0.3, 0.3));
    const double x = envelope.GetPoint(1).x;
    const double y = envelope.GetPoint(1).y;
    const KivPoint from = At(x, y);
    Press(from);
    system->SetInputState(KivInputState::kShift);
    MoveTo(KivPoint{from.x + 20, from.y - 20});
    system->SetInputState(0);
    Release(KivPoint{from.x + 20, from.y - 20});
    EXPECT_NEAR(envelope.GetPoint(1).x, x + 2 * XStep(), 1e-12);
    EXPECT_NEAR(envelope.GetPoint(1).y, y + 2 * YStep(), 1e-12);
    EXPECT_EQ(seen.begins, seen.ends);
}

TEST_F(GraphEditor, LockedPointsMoveOnlyUpAndDownAndCannotBeDeleted) {
    Drag(At(1.0, 1.0), At(0.5, 0.8));
    EXPECT_DOUBLE_EQ(envelope.GetPoint(1).x, 1.0);
    EXPECT_NEAR(envelope.GetPoint(1).y, YOf(At(0.5, 0.8)), 1e-12);
    const KivPoint end = At(1.0, envelope.GetPoint(1).y);
    Press(end, KivMouseButton::kRight);
    Release(end, KivMouseButton::kRight);
    system->InjectMouseDown(*window, end, kLeft, true);
    system->ProcessPendingEvents();
    Release(end);
    Key(KivKeyCode::kDelete);
    EXPECT_EQ(envelope.GetPointCount(), 2);
    EXPECT_TRUE(envelope.GetPoint(0).IsLocked() && envelope.GetPoint(1).IsLocked());
}

TEST_F(GraphEditor, DoubleClickRightClickAndDeleteRemoveFreePointsArrowsNudge) {
    for (double x : {0.2, 0.4, 0.6}) Drag(At(x, 0.5), At(x, 0.5));
    ASSERT_EQ(envelope.GetPointCount(), 5);
    const KivPoint second = At(envelope.GetPoint(2).x, envelope.GetPoint(2).y);
    system->InjectMouseDown(*window, second, kLeft, true);
    system->ProcessPendingEvents();
    Release(second);
    EXPECT_EQ(envelope.GetPointCount(), 4);
    const KivPoint first = At(envelope.GetPoint(1).x, envelope.GetPoint(1).y);
    Press(first, KivMouseButton::kRight);
    Release(first, KivMouseButton::kRight);
    ASSERT_EQ(envelope.GetPointCount(), 3);

    // Select the remaining free point; arrows move it by a hundredth, with Shift a thousandth.
    const KivPoint last = At(envelope.GetPoint(1).x, envelope.GetPoint(1).y);
    Drag(last, last);
    const double x = envelope.GetPoint(1).x;
    const double y = envelope.GetPoint(1).y;
    Key(KivKeyCode::kRight);
    Key(KivKeyCode::kUp);
    system->SetInputState(KivInputState::kShift);
    Key(KivKeyCode::kUp);
    system->SetInputState(0);
    EXPECT_NEAR(envelope.GetPoint(1).x, x + 0.01, 1e-12);
    EXPECT_NEAR(envelope.GetPoint(1).y, y + 0.011, 1e-12);
    Key(KivKeyCode::kDelete);
    EXPECT_EQ(envelope.GetPointCount(), 2);
    EXPECT_EQ(editor->GetSelectedIndex(), -1);
    EXPECT_EQ(seen.begins, seen.ends);
}

TEST_F(GraphEditor, TheCurvatureHandleBendsTheSegmentTowardsThePointer) {
    // One rising segment from (0, 0) to (1, 1) of the default type: its middle lies at
    // y = 0.5 - 7k/16 for curvature k.
    ASSERT_TRUE(editor->HasCurvatureHandle(0));
    const KivPointF handle = editor->CurvatureHandlePosition(0);
    const KivPoint grab{kOrigin.x + static_cast<int32_t>(std::lround(handle.x)), kOrigin.y + static_cast<int32_t>(std::lround(handle.y))};
    Press(grab);
    MoveTo(KivPoint{grab.x, grab.y - 35});  // 35 of the 100 pixels that bend it fully
    Release(KivPoint{grab.x, grab.y - 35});
    EXPECT_NEAR(envelope.GetPoint(0).curvature, -0.35, 1e-12);
    EXPECT_EQ(envelope.GetPointCount(), 2);  // grabbing the handle adds no point
    KivEnvelopeComputer computer;
    computer.Compile(envelope);
    EXPECT_NEAR(computer.Value(0.5), 0.5 + 7.0 * 0.35 / 16.0, 1e-9);
    // Above the line now: the handle followed the pointer upwards.
    EXPECT_LT(editor->CurvatureHandlePosition(0).y, handle.y);

    // Pulled far down: the curvature stops at its limit.
    const KivPointF moved = editor->CurvatureHandlePosition(0);
    const KivPoint again{kOrigin.x + static_cast<int32_t>(std::lround(moved.x)), kOrigin.y + static_cast<int32_t>(std::lround(moved.y))};
    Drag(again, KivPoint{again.x, again.y + 400});
    EXPECT_DOUBLE_EQ(envelope.GetPoint(0).curvature, 1.0);
    EXPECT_EQ(seen.begins, 2);
    EXPECT_EQ(seen.ends, 2);
}

TEST_F(GraphEditor, SnappingPutsAddedAndMovedPointsOnTheGrid) {
    editor->SetSnapToGrid(true, true);
    EXPECT_EQ(envelope.GetSnapToGridX(), 1);
    Press(At(0.537, 0.262));
    // Twenty grid steps per axis: 0.537 is nearest to 0.55, 0.262 to 0.25.
    EXPECT_NEAR(envelope.GetPoint(1).x, 0.55, 1e-12);
    EXPECT_NEAR(envelope.GetPoint(1).y, 0.25, 1e-12);
    MoveTo(At(0.31, 0.78));
    Release(At(0.31, 0.78));
    EXPECT_NEAR(envelope.GetPoint(1).x, 0.30, 1e-12);
    EXPECT_NEAR(envelope.GetPoint(1).y, 0.80, 1e-12);
    // Arrow keys move by one grid step.
    Key(KivKeyCode::kRight);
    EXPECT_NEAR(envelope.GetPoint(1).x, 0.35, 1e-12);
}

TEST_F(GraphEditor, WhenNotEditableNothingChangesAndNothingIsReported) {
    Drag(At(0.5, 0.5), At(0.5, 0.5));
    editor->SetEditable(false);
    const std::vector<double> before = Snapshot();
    Drag(At(0.3, 0.7), At(0.35, 0.8));              // free ground
    Drag(At(0.5, 0.5), At(0.2, 0.9));               // the free point
    Drag(At(1.0, 1.0), At(1.0, 0.2));               // a locked end
    const KivPointF handle = editor->CurvatureHandlePosition(0);
    const KivPoint grab{kOrigin.x + static_cast<int32_t>(std::lround(handle.x)), kOrigin.y + static_cast<int32_t>(std::lround(handle.y))};
    Drag(grab, KivPoint{grab.x, grab.y - 50});
    Press(At(0.5, 0.5), KivMouseButton::kRight);
    system->InjectMouseDown(*window, At(0.5, 0.5), kLeft, true);
    system->ProcessPendingEvents();
    Key(KivKeyCode::kDelete);
    Key(KivKeyCode::kUp);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(seen.begins, 1);  // only the gesture before the lock
    EXPECT_EQ(seen.ends, 1);
}

// Counts the repaint requests the editor makes.
struct CountingEditor : KivGraphEditor {
    void Invalidate(const KivRect* rect = nullptr) override {
        ++requests;
        KivGraphEditor::Invalidate(rect);
    }
    int requests = 0;
};

TEST(GraphEditorRepaint, OnlyWhatChangesTheLookAsksForARepaint) {
    CountingEditor editor;
    editor.SetBounds(KivRect{0, 0, 299, 239});
    KivEnvelope envelope;
    envelope.ResetToLine(0.0, 1.0);
    editor.SetEnvelope(&envelope);
    const KivRect plot = editor.GetPlotRect();
    const KivPoint ground{plot.left + 20, plot.top + 20};
    const KivPoint end{plot.right, plot.top};  // the point at (1, 1)
    editor.requests = 0;
    editor.OnMouseMove(ground, 0);
    editor.OnMouseMove(KivPoint{ground.x + 5, ground.y + 3}, 0);
    editor.OnKeyDown(KivKeyCode::kUp, 0);  // nothing selected
    EXPECT_EQ(editor.requests, 0);
    editor.OnMouseMove(end, 0);  // the point lights up
    editor.OnMouseMove(KivPoint{end.x - 1, end.y + 1}, 0);
    EXPECT_EQ(editor.requests, 1);
    editor.OnMouseMove(ground, 0);  // and goes dark again
    EXPECT_EQ(editor.requests, 2);
}

TEST(GraphEditorPicture, TheCurveIsDrawnWhereTheEnvelopeRuns) {
    KivXMLItem root(KivString("window"));
    root.SetAttribute(KivString("sizex"), KivString("300"));
    root.SetAttribute(KivString("sizey"), KivString("240"));
    KivXMLItem& item = root.AddSubItem(KivString("grapheditor"));
    item.SetAttribute(KivString("sizex"), KivString("300"));
    item.SetAttribute(KivString("sizey"), KivString("240"));
    item.SetAttribute(KivString("points"), KivString("0,0.2 1,0.6"));
    const KivBitmap picture = KivWindowPicture::Render(root);
    KivGraphEditor probe;  // the same geometry, to find the plot
    probe.SetBounds(KivRect{0, 0, 299, 239});
    const KivRect plot = probe.GetPlotRect();
    const KivColor accent = KivHouseStyle::DefaultColor(KivStyleColor::kHighlight);
    // Straight from 0.2 to 0.6: at a column a quarter of the way along, the curve's full
    // colour lies within a pixel of 0.2 + 0.4 u, and the area below it is tinted.
    const int32_t x = plot.left + (plot.Width() - 1) / 4;
    const double u = (x - plot.left) / double(plot.Width() - 1);
    const double expected = plot.bottom - (0.2 + 0.4 * u) * (plot.Height() - 1);
    int32_t lit = 0;
    for (int32_t y = plot.top; y <= plot.bottom; ++y) {
        if (picture.At(x, y) != accent) continue;
        ++lit;
        EXPECT_NEAR(y, expected, 1.5);
    }
    EXPECT_GE(lit, 1);
    const int32_t centre = static_cast<int32_t>(std::lround(expected));
    EXPECT_NE(picture.At(x, centre + 8), picture.At(x, centre - 8));
}

}  // namespace
