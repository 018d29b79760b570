#include "platform/kiv_library_notification_dispatch.h"

#include <mutex>

namespace KivPlatform {
namespace {

// Plain data only: these are read during the loader's own start-up and tear-down, when
// objects with constructors or destructors may not be alive.
struct NotificationState {
    LibraryNotificationHandlers handlers;
    void* instanceHandle = nullptr;
    bool loaded = false;
    bool attached = false;
};

NotificationState state;
std::mutex stateMutex;  // constant-initialised, so usable before any constructor ran

bool AttachIfReady() noexcept {
    if (!state.loaded || state.attached || !state.handlers.attach) return true;
    state.attached = true;
    return state.handlers.attach(state.instanceHandle);
}

}  // namespace

namespace LibraryNotificationDispatch {

void Register(const LibraryNotificationHandlers& handlers) noexcept {
    std::lock_guard<std::mutex> guard(stateMutex);
    state.handlers = handlers;
    AttachIfReady();
}

bool OnLoaded(void* instanceHandle) noexcept {
    std::lock_guard<std::mutex> guard(stateMutex);
    state.instanceHandle = instanceHandle;
    state.loaded = true;
    return AttachIfReady();
}

bool OnUnloading() noexcept {
    std::lock_guard<std::mutex> guard(stateMutex);
    if (!state.attached || !state.handlers.detach) return true;
    state.attached = false;
    return state.handlers.detach();
}

}  // namespace LibraryNotificationDispatch
}  // namespace KivPlatform
