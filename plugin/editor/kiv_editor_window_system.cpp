#include "plugin/editor/kiv_editor_window_system.h"

#include "gui/core/kiv_window_system_native.h"
#include "gui/core/kiv_windows.h"

namespace {

// Only the GUI thread opens and closes editors, so the count needs no lock. A plain pointer:
// a host that exits with an editor still open must not have it torn down by a static
// destructor, after the system has ended the window system's threads wherever they were.
int32_t users = 0;
KivWindows* owned = nullptr;

}  // namespace

KivWindowSystem& KivEditorWindowSystem::Acquire() {
    if (KivWindowSystem* running = KivWindows::System()) {
        ++users;
        return *running;
    }
#if defined(_WIN32)
    auto* system = new KivWindowSystemMSWindows();
#else
    auto* system = new KivWindowSystemX11();
#endif
    owned = new KivWindows(system);
    ++users;
    return owned->GetWindowSystem();
}

void KivEditorWindowSystem::Release() {
    if (users > 0) --users;
    if (users == 0) {
        delete owned;
        owned = nullptr;
    }
}
