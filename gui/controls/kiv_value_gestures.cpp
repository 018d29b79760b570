#include "gui/controls/kiv_value_gestures.h"

#include "gui/core/kiv_control.h"

namespace {
bool Fine(uint8_t state) { return (state & KivInputState::kShift) != 0; }
}  // namespace

double KivValueGestures::DragShare(int32_t pixels, uint8_t state) {
    return pixels / kDragPixels / (Fine(state) ? kFineFactor : 1.0);
}

double KivValueGestures::NotchShare(uint8_t state) { return kNotchShare / (Fine(state) ? kFineFactor : 1.0); }
