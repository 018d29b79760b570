#include "platform/kiv_library_static.h"

#include <atomic>
#include <cstdlib>

#if !defined(_WIN32)
// The C++ run-time's exit registration and this library's own handle for it (each shared
// object has its own, hidden).
extern "C" int __cxa_atexit(void (*function)(void*), void* argument, void* library);
extern "C" void* __dso_handle __attribute__((visibility("hidden")));
#endif

namespace KivPlatform {
namespace {

// Plain atomics, constant-initialised: they exist before the first static is made and need
// no destructor of their own.
std::atomic<LibraryStaticRecord*> newest{nullptr};
std::atomic<void (*)()> endHook{nullptr};
std::atomic<bool> registered{false};

// atexit from a library registers for that library: the entry runs at exit() in reverse order
// of registration among the static destructors, or when the library is unloaded, where no
// thread of it can still be running (each holds a reference to it).
void AtLibraryEnd() {
    if (void (*hook)() = endHook.load()) hook();
    LibraryStaticRecord* record = newest.exchange(nullptr);
    while (record != nullptr) {
        LibraryStaticRecord* older = record->older;
        record->destroy(record->object);
        record = older;
    }
}

void RegisterOnce() noexcept {
    if (registered.exchange(true)) return;
#if defined(_WIN32)
    std::atexit(&AtLibraryEnd);
#else
    // What atexit from a library does, said directly: a run-time that intercepts atexit
    // (ThreadSanitizer's does) registers the entry for the process instead of the library, so
    // that an unload would not run it and the process's exit would call into the unloaded code.
    __cxa_atexit([](void*) { AtLibraryEnd(); }, nullptr, __dso_handle);
#endif
}

}  // namespace

void KeepUntilLibraryEnd(LibraryStaticRecord& record) noexcept {
    record.older = newest.load();
    while (!newest.compare_exchange_weak(record.older, &record)) {
    }
    RegisterOnce();
}

void SetLibraryEndHook(void (*hook)()) noexcept {
    endHook.store(hook);
    RegisterOnce();
}

}  // namespace KivPlatform
