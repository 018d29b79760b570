#pragma once
#include "platform/kiv_library_notifications.h"

// Shared by the POSIX and Win32 notification sources: remembers the handlers and whether
// the load notification already came, so that the later of the two runs attach.
namespace KivPlatform::LibraryNotificationDispatch {

void Register(const LibraryNotificationHandlers& handlers) noexcept;
bool OnLoaded(void* instanceHandle) noexcept;
bool OnUnloading() noexcept;

}  // namespace KivPlatform::LibraryNotificationDispatch
