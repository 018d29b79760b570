#pragma once
#include "gui/loader/kiv_loaded_value_control.h"

// The ground of an editor the toolkit does not draw in detail yet (colour, vector and
// signal editors): a sunken field with the caption in its middle. It keeps a bound value,
// so that descriptions written for the full editor load unchanged.
class KivPlainField : public KivLoadedValueControl {
public:
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    KivPoint ComputeAutoSize(KivPoint available) override;
};
