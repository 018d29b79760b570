#pragma once
#include <cstdint>
#include <vector>

#include "gui/drawing/kiv_rect.h"
#include "gui/layout/kiv_layout_axis.h"

// A row or column of controls, as side and client layouts place them. `gaps` holds the extra
// space before each control (same length as `controls`); neighbours are `spacing` apart.
struct KivLayoutLine {
    std::vector<KivControl*> controls;
    std::vector<int32_t> gaps;
    KivLayoutAxis axis = KivLayoutAxis::kHorizontal;
    int32_t spacing = 0;

    // Distributes the controls along `band`: controls without a ratio keep their size (or
    // the size the style gives them in the space left), the space left over is shared by the
    // ratios with no pixel lost, and across the band each control sits in its cell.
    void Place(const KivRect& band) const;
    // The length the line needs (sizes, gaps and spacings) and its largest control across.
    KivPoint Measure(const KivLayout::SizeComputer& computer) const;  // x: along, y: across

private:
    std::vector<int32_t> CellLengths(const KivRect& band) const;
    int32_t FixedLength(KivControl& control, const KivRect& band, int32_t spaceLeft) const;
    int32_t GapsAndSpacings() const;
};
