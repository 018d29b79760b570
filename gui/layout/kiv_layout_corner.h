#pragma once
#include <cstdint>

#include "base/kiv_string.h"
#include "gui/layout/kiv_layout.h"
#include "gui/layout/kiv_layout_control_data.h"

// Controls pinned to a corner of the free rectangle, keeping their size and their borders
// from the two edges; the free rectangle stays as it is. Corners are numbered clockwise from
// the top left: "corner0" top left, "corner1" top right, "corner2" bottom right, "corner3"
// bottom left. A control joins through its "target" attribute or AddAtCorner; Add alone
// ignores it, since it names no corner.
class KivLayoutCorner : public KivLayout {
public:
    enum Corner : int32_t { kTopLeft = 0, kTopRight = 1, kBottomRight = 2, kBottomLeft = 3 };

    using KivLayout::KivLayout;

    // Reads "target" and adds the control there; raises "Invalid target for corner layout."
    // when the attribute is missing or names no corner.
    void LoadControlAttributes(KivControl& control, const KivXMLItem& item) override;
    void RemoveControl(KivControl& control) override;
    void Add(KivControl& control) override;
    void Arrange(KivRect& free) override;
    void ComputeSize(const KivRect& free, const SizeComputer& computer, KivLayoutExtent& extent) override;

    // Adds `control` with the default borders at `corner`.
    void AddAtCorner(KivControl& control, Corner corner);
    static Corner ParseTarget(const KivString& target);

private:
    KivLayoutControlData<Corner> corners_;
};
