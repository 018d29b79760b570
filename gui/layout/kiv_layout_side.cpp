#include "gui/layout/kiv_layout_side.h"

#include "base/kiv_exception.h"
#include "gui/layout/kiv_layout_extent.h"
#include "gui/layout/kiv_layout_size_computer.h"

KivLayoutSide::KivLayoutSide(KivControl* parent, int32_t side)
    : KivLayoutSideBase(parent), side_(static_cast<Side>(CheckedSide(side))) {}

int32_t KivLayoutSide::CheckedSide(int32_t side) {
    if (side < kLeft || side > kBottom) {
        throw KivException(KivString("Invalid side-layout direction."), KivException::kInvalidArgument);
    }
    return side;
}

KivLayoutAxis KivLayoutSide::LineAxis() const {
    return side_ == kTop || side_ == kBottom ? KivLayoutAxis::kHorizontal : KivLayoutAxis::kVertical;
}

KivRect KivLayoutSide::Strip(const KivRect& free, int32_t depth) const {
    KivRect strip = free;
    switch (side_) {
        case kLeft: strip.right = free.left + depth - 1; break;
        case kTop: strip.bottom = free.top + depth - 1; break;
        case kRight: strip.left = free.right - depth + 1; break;
        case kBottom: strip.top = free.bottom - depth + 1; break;
    }
    return strip;
}

void KivLayoutSide::Shrink(KivRect& free, int32_t taken) const {
    switch (side_) {
        case kLeft: free.left += taken; break;
        case kTop: free.top += taken; break;
        case kRight: free.right -= taken; break;
        case kBottom: free.bottom -= taken; break;
    }
}

void KivLayoutSide::Arrange(KivRect& free) {
    const KivLayoutLine line = VisibleLine(LineAxis());
    if (line.controls.empty()) return;
    const int32_t depth = line.Measure(CurrentSizeComputer({free.Width(), free.Height()})).y;
    line.Place(Strip(free, depth));
    Shrink(free, depth + GetSpacing());
}

void KivLayoutSide::ComputeSize(const KivRect&, const SizeComputer& computer, KivLayoutExtent& extent) {
    const KivLayoutLine line = VisibleLine(LineAxis());
    if (line.controls.empty()) return;
    const KivPoint measured = line.Measure(computer);
    const KivPoint size = KivLayoutAxes::MakeSize(LineAxis(), measured.x, measured.y);
    extent.Need(size.x, size.y);
    const int32_t taken = measured.y + GetSpacing();
    if (LineAxis() == KivLayoutAxis::kHorizontal) {
        extent.Take(0, taken);
    } else {
        extent.Take(taken, 0);
    }
}
