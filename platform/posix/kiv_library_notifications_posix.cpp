#include <dlfcn.h>
#include <sys/auxv.h>

#include <cstdio>

#include "platform/kiv_library_notification_dispatch.h"
#include "platform/posix/kiv_posix_text.h"

namespace KivPlatform {
namespace {

// The load address of the object holding this code stands in for Windows' instance handle:
// it names the library to dladdr just as an HINSTANCE names it to GetModuleFileName.
void* OwnInstanceHandle() noexcept {
    Dl_info info{};
    return dladdr(reinterpret_cast<const void*>(&OwnInstanceHandle), &info) ? info.dli_fbase : nullptr;
}

__attribute__((constructor)) void LibraryLoaded() { LibraryNotificationDispatch::OnLoaded(OwnInstanceHandle()); }

__attribute__((destructor)) void LibraryUnloading() { LibraryNotificationDispatch::OnUnloading(); }

}  // namespace

// Defined beside the notification source so that linking the registration links the source.
void RegisterLibraryNotifications(const LibraryNotificationHandlers& handlers) noexcept {
    LibraryNotificationDispatch::Register(handlers);
}

// The program headers the kernel mapped lie inside the executable's image.
void* MainExecutableHandle() noexcept {
    Dl_info info{};
    const void* headers = reinterpret_cast<const void*>(getauxval(AT_PHDR));
    return headers && dladdr(headers, &info) ? info.dli_fbase : nullptr;
}

void ShowFatalMessage(const char16_t* text) noexcept {
    try {
        std::fprintf(stderr, "%s\n", Posix::Utf8FromUtf16(text).c_str());
    } catch (...) {
    }
}

}  // namespace KivPlatform
