#pragma once
#include "gui/layout/kiv_layout.h"

// Every control gets the whole free rectangle (less its borders), which the layout uses up;
// one of them is meant to be shown at a time. The layout is as large as its largest control,
// hidden ones included, so that switching never resizes the parent.
class KivLayoutSwitch : public KivLayout {
public:
    using KivLayout::KivLayout;

    void Arrange(KivRect& free) override;
    void ComputeSize(const KivRect& free, const SizeComputer& computer, KivLayoutExtent& extent) override;

    // Shows `control` and hides the other controls of the layout.
    void Show(const KivControl& control);
};
