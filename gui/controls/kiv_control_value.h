#pragma once
#include <memory>

#include "gui/core/kiv_event.h"
#include "gui/loader/kiv_loaded_value_control.h"

// Base of controls that show and edit one value (knobs, trackers, meters, fields). The
// control owns the value bound to it; without one it shows an empty, resting state. Every
// change the user makes goes through the value (range, steps and display are the value's)
// and raises OnChange. It grows out of the loader's plain value control, so code that knows
// only that (the loader and its tests) finds the value in the same place.
class KivControlValue : public KivLoadedValueControl {
public:
    KivControlValue();

    void BindValue(std::unique_ptr<KivValue> value) override;
    // The value's position in 0..1; 0 without a value.
    double GetPosition() const;
    // The value's display text; empty without a value.
    KivString GetValueText() const;
    // The value was changed from outside (automation, presets): shows it again.
    void Refresh() { Invalidate(); }

    KivEvent<KivOnNotifyParams> OnChange;

protected:
    // Moves the value; raises OnChange and repaints when it changed.
    void SetPosition(double position);
    void StepValue(int32_t count);
    void ResetValue();
    // Called after the user changed the value.
    void NoteUserChange();
};
