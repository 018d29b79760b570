#include "plugin/editor/kiv_editor_window_system.h"

#include <memory>

#include "gui/core/kiv_window_system_native.h"
#include "gui/core/kiv_windows.h"

namespace {

// Only the GUI thread opens and closes editors, so the count needs no lock.
int32_t users = 0;
std::unique_ptr<KivWindows> owned;

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
    owned = std::make_unique<KivWindows>(system);
    ++users;
    return owned->GetWindowSystem();
}

void KivEditorWindowSystem::Release() {
    if (users > 0) --users;
    if (users == 0) owned.reset();
}
