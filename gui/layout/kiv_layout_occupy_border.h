#pragma once
#include <cstdint>

#include "gui/layout/kiv_layout.h"

// Keeps a border free around what the later layouts place: it takes its four widths off the
// free rectangle and adds them to the parent's size. It holds no controls. Attributes:
// "border" (all four), "borderx" (left and right), "bordery" (top and bottom), then
// "borderleft", "bordertop", "borderright", "borderbottom".
class KivLayoutOccupyBorder : public KivLayout {
public:
    using KivLayout::KivLayout;

    void LoadAttributes(const KivXMLItem& item) override;
    // Both raise code 1: the layout holds no controls.
    void AddControl(KivControl& control, int32_t borderX, int32_t borderY) override;
    void Add(KivControl& control) override;
    void Arrange(KivRect& free) override;
    void ComputeSize(const KivRect& free, const SizeComputer& computer, KivLayoutExtent& extent) override;

    void SetBorders(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // The four widths as a rectangle's left, top, right and bottom.
    const KivRect& GetBorders() const { return borders_; }

private:
    KivRect borders_{0, 0, 0, 0};
};
