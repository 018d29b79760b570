#pragma once
#include "gui/core/kiv_control_content.h"

// The place of an envelope editor ("grapheditor") in the product's windows: a framed plot
// area with a grid, greyed while it accepts no edits. It keeps the editor's size and help in
// the layout until the envelope editor control takes it over.
class TandrelShapeArea : public KivControlContent {
public:
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
};
