#pragma once
#include <memory>

#include "parameters/values/kiv_value.h"

// A control that shows and edits one value (knobs, trackers and the like). A value element
// standing directly inside such a control's element is built by the GUI loader and handed
// over here; the control owns it from then on.
class KivValueHolder {
public:
    virtual ~KivValueHolder() = default;
    virtual void BindValue(std::unique_ptr<KivValue> value) = 0;
};
