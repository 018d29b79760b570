#pragma once

namespace KivPlatform {

// The operating system's load and unload notifications of the library this code is linked
// into (for a program: its start and end). The library layer registers what to do; the
// platform only forwards. Registration may come before or after the load notification:
// whichever comes second runs the attach handler, so the order of static initialisation
// does not matter.
struct LibraryNotificationHandlers {
    // Gets the library's own instance handle; false refuses the load.
    bool (*attach)(void* instanceHandle) = nullptr;
    bool (*detach)() = nullptr;
};

void RegisterLibraryNotifications(const LibraryNotificationHandlers& handlers) noexcept;

// The handle of the process's main executable.
void* MainExecutableHandle() noexcept;

// Tells the user about a failure the library cannot recover from: a message box without
// caption and with the warning icon on Windows, standard error elsewhere.
void ShowFatalMessage(const char16_t* text) noexcept;

}  // namespace KivPlatform
