#include "gui/layout/kiv_layout_switch.h"

#include <algorithm>

#include "gui/core/kiv_control.h"
#include "gui/layout/kiv_layout_extent.h"
#include "gui/layout/kiv_layout_size_computer.h"
#include "gui/layout/kiv_layout_used_up.h"

void KivLayoutSwitch::Arrange(KivRect& free) {
    // Hidden controls are placed as well: showing one later needs no new arrangement.
    for (int32_t index = 0; index < GetControlCount(); ++index) {
        KivControl& control = GetControl(index);
        const KivLayoutData& data = control.Layout();
        control.SetBounds(KivRect{free.left + data.borderX, free.top + data.borderY, free.right - data.borderX,
                                  free.bottom - data.borderY});
    }
    KivLayoutUseUp(free);
}

void KivLayoutSwitch::ComputeSize(const KivRect&, const SizeComputer& computer, KivLayoutExtent& extent) {
    KivPoint largest{};
    for (int32_t index = 0; index < GetControlCount(); ++index) {
        largest.x = std::max(largest.x, computer.GetWidth(GetControl(index)));
        largest.y = std::max(largest.y, computer.GetHeight(GetControl(index)));
    }
    extent.Need(largest.x, largest.y);
}

void KivLayoutSwitch::Show(const KivControl& shown) {
    for (int32_t index = 0; index < GetControlCount(); ++index) {
        KivControl& control = GetControl(index);
        control.SetVisible(&control == &shown);
    }
}
