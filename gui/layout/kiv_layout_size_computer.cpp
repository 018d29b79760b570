#include "gui/layout/kiv_layout_size_computer.h"

#include <algorithm>

#include "gui/core/kiv_control.h"

KivPoint KivLayout::CurrentSizeComputer::GetContentSize(KivControl& control) const {
    const KivLayoutData& data = control.Layout();
    KivPoint size = data.autoSize ? control.ComputeAutoSize(available_) : control.GetSize();
    if (control.IsCollapsed()) {
        if (data.alternativeSize.x > 0) size.x = data.alternativeSize.x;
        if (data.alternativeSize.y > 0) size.y = data.alternativeSize.y;
    }
    return size;
}

int32_t KivLayout::CurrentSizeComputer::GetWidth(KivControl& control) const {
    return GetContentSize(control).x + 2 * control.Layout().borderX;
}

int32_t KivLayout::CurrentSizeComputer::GetHeight(KivControl& control) const {
    return GetContentSize(control).y + 2 * control.Layout().borderY;
}

int32_t KivLayout::MinimalSizeComputer::GetWidth(KivControl& control) const {
    const KivLayoutData& data = control.Layout();
    const bool flexible = data.ratioX != 0 || data.autoSize;
    const int32_t current = flexible ? 0 : CurrentSizeComputer().GetContentSize(control).x;
    return std::max(control.ComputeMinimalSize().x, current) + 2 * data.borderX;
}

int32_t KivLayout::MinimalSizeComputer::GetHeight(KivControl& control) const {
    if (control.IsCollapsed()) return 0;
    const KivLayoutData& data = control.Layout();
    const bool flexible = data.ratioY != 0 || data.autoSize;
    const int32_t current = flexible ? 0 : CurrentSizeComputer().GetContentSize(control).y;
    return std::max(control.ComputeMinimalSize().y, current) + 2 * data.borderY;
}
