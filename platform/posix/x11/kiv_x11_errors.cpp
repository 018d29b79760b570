#include "platform/posix/x11/kiv_x11_errors.h"

#include <atomic>

#include <X11/Xlibint.h>

namespace KivPlatform::X11Errors {
namespace {

std::atomic<uint64_t> contained{0};

// Xlib asks each extension hook of the connection before the process-wide handler; a
// non-zero answer settles the error.
int ContainError(Display*, xError*, XExtCodes*, int* result) {
    contained.fetch_add(1);
    *result = 0;
    return 1;
}

// Xlib's default here ends the process. Returning marks the connection dead: later requests
// on it do nothing.
void KeepRunning(Display*, void*) {}

}  // namespace

void Contain(Display* display) {
    if (display == nullptr) return;
    if (XExtCodes* codes = XAddExtension(display)) XESetError(display, codes->extension, &ContainError);
    XSetIOErrorExitHandler(display, &KeepRunning, nullptr);
}

uint64_t Count() { return contained.load(); }

}  // namespace KivPlatform::X11Errors
