#include "gui/layout/kiv_layouts.h"

#include "gui/core/kiv_panel.h"
#include "gui/layout/kiv_layout_extent.h"
#include "gui/layout/kiv_layout_size_computer.h"

namespace {

KivLayout* LayoutAt(const KivPanel& panel, int32_t index) {
    return dynamic_cast<KivLayout*>(panel.GetLayoutObject(index));
}

}  // namespace

KivRect KivLayouts::Arrange(KivPanel& panel) { return Arrange(panel, panel.GetClientRect()); }

KivRect KivLayouts::Arrange(KivPanel& panel, KivRect free) {
    for (int32_t index = 0; index < panel.GetLayoutCount(); ++index) {
        if (KivLayout* layout = LayoutAt(panel, index)) layout->Arrange(free);
    }
    return free;
}

KivPoint KivLayouts::ComputeSize(KivPanel& panel, const KivLayout::SizeComputer& computer) {
    const KivRect free = panel.GetClientRect();
    KivLayoutExtent extent;
    for (int32_t index = 0; index < panel.GetLayoutCount(); ++index) {
        if (KivLayout* layout = LayoutAt(panel, index)) layout->ComputeSize(free, computer, extent);
    }
    return extent.Total();
}

KivPoint KivLayouts::ComputeCurrentSize(KivPanel& panel) {
    const KivRect client = panel.GetClientRect();
    return ComputeSize(panel, KivLayout::CurrentSizeComputer({client.Width(), client.Height()}));
}

KivPoint KivLayouts::ComputeMinimalSize(KivPanel& panel) { return ComputeSize(panel, KivLayout::MinimalSizeComputer()); }
