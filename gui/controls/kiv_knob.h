#pragma once
#include "gui/controls/kiv_control_value_dragging.h"

// A rotary control: caption above, a dial sweeping 270 degrees with the value's share lit
// in the accent colour, the value's display text below. Dragging up raises the value.
class KivKnob : public KivControlValueDragging {
public:
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    KivPoint ComputeAutoSize(KivPoint available) override;

    // The dial's angle for a position: 135 degrees (lower left) to 405 (lower right).
    static double AngleOf(double position) { return 135.0 + 270.0 * position; }

protected:
    int32_t TowardsLarger(KivPoint from, KivPoint to) const override { return from.y - to.y; }

private:
    void PaintDial(KivDrawer& drawer, const KivRect& area) const;
};
