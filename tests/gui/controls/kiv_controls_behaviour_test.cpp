// The standard controls' behaviour: value gestures of knobs and trackers, buttons, check
// boxes, edit fields and combo boxes, driven through the operations the window calls.
#include <gtest/gtest.h>

#include <memory>

#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_check_box.h"
#include "gui/controls/kiv_combo_edit.h"
#include "gui/controls/kiv_edit.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_knob.h"
#include "gui/controls/kiv_tracker.h"
#include "gui/loader/kiv_owned_value.h"
#include "parameters/values/kiv_value_enum.h"

namespace {

using Double = KivValueNumber<double, double, 0, 0>;
using Int = KivValueNumber<int, int, 1, 0>;
constexpr auto kLeft = KivMouseButton::kLeft;

// A bound value from 0 to `maximum` (default 0) at `start`.
template <typename T = Double>
T* Bind(KivControlValue& control, double start, double maximum = 100.0) {
    auto value = std::make_unique<KivOwnedValue<T>>();
    value->SetRange(0, maximum);
    value->Set01(start / maximum);
    T* raw = value.get();
    control.BindValue(std::move(value));
    return raw;
}

struct Counter : KivEventTarget {
    void Count(KivOnNotifyParams&) { ++changes; }
    void Click(KivOnClickParams&) { ++clicks; }
    int changes = 0;
    int clicks = 0;
};

TEST(KivKnobTest, DragUpRaisesShiftRefinesDoubleClickResetsWheelSteps) {
    KivKnob knob;
    knob.SetBounds(KivRect{0, 0, 63, 87});
    Double* value = Bind(knob, 20.0);
    Counter counter;
    knob.OnChange.AddHandler(&counter, &Counter::Count);

    knob.OnMouseDown(KivPoint{30, 40}, kLeft, 0);
    knob.OnMouseMove(KivPoint{30, 20}, 0);  // 20 px of 200: a tenth of the range
    EXPECT_NEAR(value->Get01(), 0.30, 1e-9);
    knob.OnMouseMove(KivPoint{30, 0}, KivInputState::kShift);  // ten times finer
    EXPECT_NEAR(value->Get01(), 0.31, 1e-9);
    knob.OnMouseMove(KivPoint{30, -1000}, 0);  // clamped at the top
    EXPECT_DOUBLE_EQ(value->Get01(), 1.0);
    knob.OnMouseUp(KivPoint{30, -1000}, kLeft, 0);
    knob.OnMouseMove(KivPoint{30, 80}, 0);  // released: no longer follows
    EXPECT_DOUBLE_EQ(value->Get01(), 1.0);
    EXPECT_EQ(counter.changes, 3);

    knob.OnMouseDoubleClick(KivPoint{30, 40}, kLeft, 0);
    EXPECT_DOUBLE_EQ(value->Get01(), 0.0);
    EXPECT_TRUE(knob.OnMouseWheel(KivPoint{}, 240, 0));
    EXPECT_NEAR(value->Get01(), 0.04, 1e-9);
    EXPECT_TRUE(knob.OnKeyDown(KivKeyCode::kEnd, 0));
    EXPECT_DOUBLE_EQ(value->Get01(), 1.0);
    EXPECT_EQ(knob.GetValueText(), value->GetDisplayText());
}

TEST(KivKnobTest, WholeNumberValuesMoveAtLeastOneStepAndUnboundKnobsStayCalm) {
    KivKnob knob;
    Int* value = Bind<Int>(knob, 3.0, 10.0);
    knob.OnMouseWheel(KivPoint{}, 120, 0);  // 2 % of 0..10 is no whole step
    EXPECT_EQ(value->GetValue(), 4);

    KivKnob unbound;
    EXPECT_FALSE(unbound.OnMouseWheel(KivPoint{}, 120, 0));
    unbound.OnMouseDown(KivPoint{}, kLeft, 0);
    unbound.OnMouseMove(KivPoint{0, -50}, 0);
    unbound.OnMouseDoubleClick(KivPoint{}, kLeft, 0);
    EXPECT_EQ(unbound.GetPosition(), 0.0);
    EXPECT_DOUBLE_EQ(KivKnob::AngleOf(0.5), 270.0);  // straight up at the middle
}

TEST(KivTrackerTest, PressOnTheTrackJumpsAndDragFollowsThePointer) {
    KivTracker tracker;
    tracker.SetBounds(KivRect{0, 0, 209, 35});
    Double* value = Bind(tracker, 0.0);
    const int32_t span = tracker.TrackRight() - tracker.TrackLeft();
    tracker.OnMouseDown(KivPoint{tracker.TrackLeft() + span / 2, 30}, kLeft, 0);
    EXPECT_NEAR(value->Get01(), 0.5, 0.01);
    tracker.OnMouseMove(KivPoint{tracker.TrackLeft() + span / 2 + span / 4, 30}, 0);
    EXPECT_NEAR(value->Get01(), 0.75, 0.01);
}

TEST(KivButtonTest, ClickCountsOnlyWhenReleasedOverTheButtonAndTogglesStay) {
    KivButton button;
    button.SetBounds(KivRect{0, 0, 79, 23});
    Counter counter;
    button.OnClick.AddHandler(&counter, &Counter::Click);
    button.OnMouseDown(KivPoint{10, 10}, kLeft, 0);
    button.OnMouseUp(KivPoint{200, 10}, kLeft, 0);  // dragged off: no click
    EXPECT_EQ(counter.clicks, 0);
    button.OnMouseDown(KivPoint{10, 10}, kLeft, 0);
    button.OnMouseUp(KivPoint{12, 12}, kLeft, 0);
    EXPECT_EQ(counter.clicks, 1);
    EXPECT_FALSE(button.IsChecked());

    button.SetToggle(true);
    EXPECT_TRUE(button.OnKeyDown(KivKeyCode::kSpace, 0));
    EXPECT_TRUE(button.IsChecked());
    button.OnKeyDown(KivKeyCode::kEnter, 0);
    EXPECT_FALSE(button.IsChecked());
    EXPECT_EQ(counter.clicks, 3);
    button.SetEnabled(false);
    button.OnMouseDown(KivPoint{10, 10}, kLeft, 0);
    button.OnMouseUp(KivPoint{10, 10}, kLeft, 0);
    EXPECT_EQ(counter.clicks, 3);
}

TEST(KivCheckBoxTest, ClickAndSpaceToggleOtherKeysPassOn) {
    KivCheckBox box;
    Counter counter;
    box.OnClick.AddHandler(&counter, &Counter::Click);
    box.OnMouseDown(KivPoint{2, 2}, kLeft, 0);
    EXPECT_TRUE(box.IsChecked());
    EXPECT_TRUE(box.OnKeyDown(KivKeyCode::kSpace, 0));
    EXPECT_FALSE(box.IsChecked());
    EXPECT_FALSE(box.OnKeyDown(KivKeyCode::kEnter, 0));
    EXPECT_EQ(counter.clicks, 2);
}

TEST(KivEditTest, TypingEnterCommitsThroughTheValueEscapeRestores) {
    KivEdit edit;
    edit.SetBounds(KivRect{0, 0, 119, 23});
    Double* value = Bind(edit, 20.0);
    const KivString before = edit.GetShownText();
    edit.OnFocus(true);
    EXPECT_EQ(edit.GetCaret(), before.Length());
    for (int i = 0; i < before.Length(); ++i) edit.OnKeyDown(KivKeyCode::kBackspace, 0);
    for (char c : std::string("42")) edit.OnCharacter(static_cast<char32_t>(c));
    EXPECT_EQ(edit.GetShownText(), KivString("42"));
    EXPECT_TRUE(edit.OnKeyDown(KivKeyCode::kEnter, 0));
    EXPECT_FALSE(edit.IsEditing());
    EXPECT_NEAR(value->GetValue(), 42.0, 1e-9);
    EXPECT_EQ(edit.GetShownText(), value->GetDisplayText());

    edit.OnKeyDown(KivKeyCode::kHome, 0);
    edit.OnCharacter(U'9');
    EXPECT_TRUE(edit.IsEditing());
    EXPECT_TRUE(edit.OnKeyDown(KivKeyCode::kEscape, 0));
    EXPECT_EQ(edit.GetShownText(), value->GetDisplayText());
    EXPECT_FALSE(edit.OnKeyDown(KivKeyCode::kEscape, 0));  // nothing to cancel: the window may close
    EXPECT_NEAR(value->GetValue(), 42.0, 1e-9);
}

TEST(KivEditTest, WithoutValueEditsItsContentAndCaretStaysInside) {
    KivEdit edit;
    edit.OnCharacter(U'a');
    edit.OnCharacter(U'c');
    edit.OnKeyDown(KivKeyCode::kLeft, 0);
    edit.OnCharacter(U'b');
    edit.OnKeyDown(KivKeyCode::kRight, 0);
    edit.OnKeyDown(KivKeyCode::kRight, 0);
    EXPECT_EQ(edit.GetCaret(), 3);
    edit.OnKeyDown(KivKeyCode::kDelete, 0);
    EXPECT_FALSE(edit.OnCharacter(U'\n'));
    edit.Commit();
    EXPECT_EQ(edit.GetContent(), KivString("abc"));
}

TEST(KivComboEditTest, ItemsFromTheDescriptionOrTheValueWheelAndKeysStep) {
    KivComboEdit combo;
    combo.SetItems({KivString("Manual"), KivString("Automatic"), KivString("Linear")}, 1);
    Counter counter;
    combo.OnChange.AddHandler(&counter, &Counter::Count);
    EXPECT_EQ(combo.GetItem(combo.GetSelected()), KivString("Automatic"));
    combo.OnMouseWheel(KivPoint{}, -120, 0);
    EXPECT_EQ(combo.GetSelected(), 2);
    combo.OnKeyDown(KivKeyCode::kDown, 0);  // already the last
    EXPECT_EQ(combo.GetSelected(), 2);
    combo.OnKeyDown(KivKeyCode::kUp, 0);
    EXPECT_EQ(combo.GetSelected(), 1);
    EXPECT_EQ(counter.changes, 2);
    combo.Open();  // outside a window nothing opens
    EXPECT_FALSE(combo.IsOpen());

    Int* value = Bind<Int>(combo, 0.0, 4.0);
    EXPECT_EQ(combo.GetItemCount(), 5);
    combo.Select(3);
    EXPECT_EQ(value->GetValue(), 3);
    EXPECT_EQ(combo.GetItem(3), value->GetStepText(3));
}

}  // namespace
