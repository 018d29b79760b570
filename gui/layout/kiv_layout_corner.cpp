#include "gui/layout/kiv_layout_corner.h"

#include <algorithm>

#include "base/kiv_exception.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/core/kiv_control.h"
#include "gui/layout/kiv_layout_extent.h"
#include "gui/layout/kiv_layout_size_computer.h"

namespace {

[[noreturn]] void RaiseInvalidTarget() {
    throw KivException(KivString("Invalid target for corner layout."), KivException::kInvalidArgument);
}

}  // namespace

KivLayoutCorner::Corner KivLayoutCorner::ParseTarget(const KivString& target) {
    static const char* const kNames[] = {"corner0", "corner1", "corner2", "corner3"};
    for (int32_t corner = kTopLeft; corner <= kBottomLeft; ++corner) {
        if (target.EqualsFolded(KivString(kNames[corner]))) return static_cast<Corner>(corner);
    }
    RaiseInvalidTarget();
}

void KivLayoutCorner::LoadControlAttributes(KivControl& control, const KivXMLItem& item) {
    const KivString name("target");
    if (!item.HasAttribute(name)) RaiseInvalidTarget();
    AddAtCorner(control, ParseTarget(item.GetAttribute(name)));
}

void KivLayoutCorner::AddAtCorner(KivControl& control, Corner corner) {
    corners_.Set(control, corner);
    KivLayout::Add(control);
}

void KivLayoutCorner::RemoveControl(KivControl& control) {
    corners_.Erase(control);
    KivLayout::RemoveControl(control);
}

void KivLayoutCorner::Add(KivControl&) {}

void KivLayoutCorner::Arrange(KivRect& free) {
    const CurrentSizeComputer computer({free.Width(), free.Height()});
    for (KivControl* control : VisibleControls()) {
        const KivPoint size = computer.GetContentSize(*control);
        const KivLayoutData& data = control->Layout();
        const Corner corner = corners_.Get(*control, kTopLeft);
        const bool right = corner == kTopRight || corner == kBottomRight;
        const bool bottom = corner == kBottomRight || corner == kBottomLeft;
        const int32_t left = right ? free.right - data.borderX - size.x + 1 : free.left + data.borderX;
        const int32_t top = bottom ? free.bottom - data.borderY - size.y + 1 : free.top + data.borderY;
        control->SetBounds(KivRect{left, top, left + size.x - 1, top + size.y - 1});
    }
}

void KivLayoutCorner::ComputeSize(const KivRect&, const SizeComputer& computer, KivLayoutExtent& extent) {
    KivPoint largest{};
    for (KivControl* control : VisibleControls()) {
        largest.x = std::max(largest.x, computer.GetWidth(*control));
        largest.y = std::max(largest.y, computer.GetHeight(*control));
    }
    extent.Need(largest.x, largest.y);
}
