#pragma once
#include "plugin/editor/kiv_parameter_value.h"

// A value control of the toolkit whose user actions reach the host as gestures: pressing the
// mouse opens one on the bound parameter, releasing it ends it; a wheel notch, a key or a
// double-click is a gesture of its own.
template <typename Base>
class KivParameterGesture : public Base {
public:
    void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state) override {
        if (button == KivMouseButton::kLeft && Value()) Value()->BeginGesture();
        Base::OnMouseDown(point, button, state);
    }
    void OnMouseUp(KivPoint point, KivMouseButton button, uint8_t state) override {
        Base::OnMouseUp(point, button, state);
        if (button == KivMouseButton::kLeft && Value()) Value()->EndGesture();
    }

    // The value the control shows, when it is a parameter.
    KivParameterValue* Value() const { return dynamic_cast<KivParameterValue*>(Base::GetValue()); }
};
