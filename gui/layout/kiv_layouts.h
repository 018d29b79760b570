#pragma once
#include "gui/drawing/kiv_point.h"
#include "gui/drawing/kiv_rect.h"
#include "gui/layout/kiv_layout.h"

class KivPanel;

// Running all layouts of one panel, in the order they were created.
namespace KivLayouts {

// Places the panel's laid-out children inside its client rectangle (or `free`); answers
// what is left free.
KivRect Arrange(KivPanel& panel);
KivRect Arrange(KivPanel& panel, KivRect free);
// The client size the panel needs for its layouts, measured with `computer`.
KivPoint ComputeSize(KivPanel& panel, const KivLayout::SizeComputer& computer);
KivPoint ComputeCurrentSize(KivPanel& panel);
KivPoint ComputeMinimalSize(KivPanel& panel);

}  // namespace KivLayouts
