#include "gui/controls/kiv_control_value_dragging.h"

#include <algorithm>

#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_value_gestures.h"
#include "gui/core/kiv_window.h"

KivControlValueDragging::KivControlValueDragging() : OnBeginEdit(this), OnEndEdit(this) {}

void KivControlValueDragging::OnMouseDown(KivPoint point, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !IsEnabled()) return;
    if (KivWindow* window = GetWindow()) {
        window->SetFocus(this);
        window->SetCapture(this);
    }
    OnPress(point);
    dragging_ = true;
    last_ = point;
    // The drag keeps its own position so that values with coarse steps still follow slow
    // movements.
    dragPosition_ = GetPosition();
    OnBeginEdit.Raise(KivOnNotifyParams{this});
}

void KivControlValueDragging::OnMouseUp(KivPoint, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !dragging_) return;
    dragging_ = false;
    if (KivWindow* window = GetWindow()) window->SetCapture(nullptr);
    OnEndEdit.Raise(KivOnNotifyParams{this});
}

void KivControlValueDragging::OnMouseMove(KivPoint point, uint8_t state) {
    if (!dragging_) return;
    dragPosition_ += KivValueGestures::DragShare(TowardsLarger(last_, point), state);
    dragPosition_ = std::clamp(dragPosition_, 0.0, 1.0);
    last_ = point;
    SetPosition(dragPosition_);
}

void KivControlValueDragging::OnMouseDoubleClick(KivPoint, KivMouseButton button, uint8_t) {
    if (button == KivMouseButton::kLeft && IsEnabled()) ResetValue();
}

bool KivControlValueDragging::OnMouseWheel(KivPoint, int32_t delta, uint8_t state) {
    if (!IsEnabled() || GetValue() == nullptr) return false;
    const int32_t notches = delta / 120 != 0 ? delta / 120 : (delta > 0 ? 1 : -1);
    Nudge(notches, state);
    return true;
}

bool KivControlValueDragging::OnKeyDown(uint32_t key, uint8_t state) {
    switch (key) {
        case KivKeyCode::kUp:
        case KivKeyCode::kRight: Nudge(1, state); return true;
        case KivKeyCode::kDown:
        case KivKeyCode::kLeft: Nudge(-1, state); return true;
        case KivKeyCode::kPageUp: Nudge(5, state); return true;
        case KivKeyCode::kPageDown: Nudge(-5, state); return true;
        case KivKeyCode::kHome: SetPosition(0.0); return true;
        case KivKeyCode::kEnd: SetPosition(1.0); return true;
        default: return false;
    }
}

void KivControlValueDragging::OnFocus(bool gained) {
    focused_ = gained;
    Invalidate();
}

void KivControlValueDragging::Nudge(int32_t notches, uint8_t state) {
    const KivValue* value = GetValue();
    if (value == nullptr) return;
    const double before = value->Get01();
    SetPosition(before + notches * KivValueGestures::NotchShare(state));
    // Values with coarse steps (whole numbers, lists) swallow a small share: step them.
    if (value->Get01() == before) StepValue(notches);
}
