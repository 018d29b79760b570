#include "gui/core/kiv_window_placement.h"

#include <algorithm>

#include "gui/core/kiv_window.h"
#include "gui/core/kiv_windows.h"

void KivCentreWindowOver(KivWindow& window, const KivWindow* parent) {
    // A child window's bounds are in its host window's coordinates: the native window's
    // bounds are on the screen.
    if (parent != nullptr) window.SetScale(parent->GetScale().factor);
    KivRect area = window.GetBounds();
    KivWindowSystem* system = KivWindows::System();
    if (parent != nullptr && parent->HasNativeWindow() && system != nullptr) {
        area = system->GetWindowBounds(*parent);
    } else if (parent != nullptr) {
        area = parent->GetBounds();
    } else if (system != nullptr) {
        area = system->GetWorkArea(KivPoint{});
    }
    // The position is in native pixels, the size in the window's own (logical) ones.
    const KivPoint size = window.GetSize();
    const KivPoint device = window.GetScale().ToDeviceSize(size);
    const int32_t left = area.left + (area.Width() - device.x) / 2;
    const int32_t top = std::max(area.top, area.top + (area.Height() - device.y) / 2);
    window.SetBounds(KivRect{left, top, left + size.x - 1, top + size.y - 1});
}
