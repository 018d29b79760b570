#pragma once
#include "gui/core/kiv_control.h"

// The scale beside the output meters: decibel marks placed on the meter scale, so that each
// label sits level with the meter height it names; the axis reaches 6 pixels beyond the
// meters at both ends.
class TandrelDecibelAxis : public KivControl {
public:
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
};
