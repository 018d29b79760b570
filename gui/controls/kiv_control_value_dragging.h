#pragma once
#include "gui/controls/kiv_control_value.h"

// A value control moved continuously: by dragging (along one axis, Shift for fine
// movement), the wheel and the arrow keys; a double-click returns the value to its default.
// Knobs drag vertically, trackers horizontally.
class KivControlValueDragging : public KivControlValue {
public:
    KivControlValueDragging();

    void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseUp(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseMove(KivPoint point, uint8_t state) override;
    void OnMouseDoubleClick(KivPoint point, KivMouseButton button, uint8_t state) override;
    bool OnMouseWheel(KivPoint point, int32_t delta, uint8_t state) override;
    bool OnKeyDown(uint32_t key, uint8_t state) override;
    void OnFocus(bool gained) override;
    bool CanTakeFocus() override { return IsEnabled(); }

    bool IsDragging() const { return dragging_; }

    // A drag raises OnBeginEdit when the button goes down and OnEndEdit when it comes up, with
    // OnChange after each change between them, so that an owner can keep the whole drag as one
    // edit (one undo step) however many values it passed through.
    KivEvent<KivOnNotifyParams> OnBeginEdit;
    KivEvent<KivOnNotifyParams> OnEndEdit;

protected:
    // The pixels the pointer moved towards a larger value since `from`.
    virtual int32_t TowardsLarger(KivPoint from, KivPoint to) const = 0;
    // A click at `point` may jump the value there first (trackers do).
    virtual void OnPress(KivPoint) {}
    bool HasFocus() const { return focused_; }

private:
    // Wheel notches and keys: a share of the range, at least one step of the value.
    void Nudge(int32_t notches, uint8_t state);

    bool dragging_ = false;
    bool focused_ = false;
    KivPoint last_{};
    double dragPosition_ = 0.0;
};
