#include "gui/layout/kiv_layout_line.h"

#include <algorithm>

#include "gui/layout/kiv_layout_cell.h"

using namespace KivLayoutAxes;

int32_t KivLayoutLine::GapsAndSpacings() const {
    int32_t total = controls.empty() ? 0 : spacing * static_cast<int32_t>(controls.size() - 1);
    for (int32_t gap : gaps) total += gap;
    return total;
}

int32_t KivLayoutLine::FixedLength(KivControl& control, const KivRect& band, int32_t spaceLeft) const {
    if (!control.Layout().autoSize) return KivLayoutAxes::Measure(KivLayout::CurrentSizeComputer(), control, axis);
    const int32_t border = Border(control, axis);
    const KivPoint available = MakeSize(axis, std::max(0, spaceLeft - 2 * border), Length(band, Other(axis)));
    return Of(control.ComputeAutoSize(available), axis) + 2 * border;
}

std::vector<int32_t> KivLayoutLine::CellLengths(const KivRect& band) const {
    std::vector<int32_t> lengths(controls.size(), 0);
    int32_t spaceLeft = Length(band, axis) - GapsAndSpacings();
    int64_t ratioSum = 0;
    for (size_t index = 0; index < controls.size(); ++index) {
        KivControl& control = *controls[index];
        if (Ratio(control, axis) != 0) {
            ratioSum += Ratio(control, axis);
            continue;
        }
        lengths[index] = FixedLength(control, band, spaceLeft);
        spaceLeft -= lengths[index];
    }
    // Each share is taken off what is left, so rounding loses no pixel: the last takes the rest.
    int64_t shared = std::max(0, spaceLeft);
    for (size_t index = 0; index < controls.size() && ratioSum != 0; ++index) {
        const int32_t ratio = Ratio(*controls[index], axis);
        if (ratio == 0) continue;
        const int64_t share = ratio * shared / ratioSum;
        lengths[index] = static_cast<int32_t>(share);
        shared -= share;
        ratioSum -= ratio;
    }
    return lengths;
}

void KivLayoutLine::Place(const KivRect& band) const {
    const std::vector<int32_t> lengths = CellLengths(band);
    const int32_t acrossStart = Start(band, Other(axis));
    const int32_t acrossLength = Length(band, Other(axis));
    int32_t position = Start(band, axis);
    for (size_t index = 0; index < controls.size(); ++index) {
        position += gaps[index];
        const KivRect cell = MakeRect(axis, position, lengths[index], acrossStart, acrossLength);
        KivControl& control = *controls[index];
        KivLayoutPlaceInCell(control, cell, KivLayout::CurrentSizeComputer({cell.Width(), cell.Height()}).GetContentSize(control));
        position += lengths[index] + spacing;
    }
}

KivPoint KivLayoutLine::Measure(const KivLayout::SizeComputer& computer) const {
    KivPoint size{GapsAndSpacings(), 0};
    for (KivControl* control : controls) {
        size.x += KivLayoutAxes::Measure(computer, *control, axis);
        size.y = std::max(size.y, KivLayoutAxes::Measure(computer, *control, Other(axis)));
    }
    return size;
}
