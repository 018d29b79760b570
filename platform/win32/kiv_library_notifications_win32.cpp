#include <windows.h>

#include "platform/kiv_library_notification_dispatch.h"

namespace KivPlatform {

// Defined beside DllMain so that linking the registration links the notification source.
void RegisterLibraryNotifications(const LibraryNotificationHandlers& handlers) noexcept {
    LibraryNotificationDispatch::Register(handlers);
}

void* MainExecutableHandle() noexcept { return GetModuleHandleW(nullptr); }

void ShowFatalMessage(const char16_t* text) noexcept {
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text), L"", MB_OK | MB_ICONWARNING);
}

}  // namespace KivPlatform

// The loader calls this for the DLL the code is linked into; a program never gets it.
// At process exit (`reserved` set) the system has already ended every other thread wherever
// it was, possibly inside a lock of ours: nothing is torn down then, the process's end frees
// it all.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH: return KivPlatform::LibraryNotificationDispatch::OnLoaded(instance) ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
        if (reserved != nullptr) return TRUE;
        return KivPlatform::LibraryNotificationDispatch::OnUnloading() ? TRUE : FALSE;
    default: return TRUE;
    }
}
