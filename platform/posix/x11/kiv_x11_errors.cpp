#include "platform/posix/x11/kiv_x11_errors.h"

#include <atomic>

#include <X11/Xlibint.h>

namespace KivPlatform::X11Errors {
namespace {

std::atomic<uint64_t> contained{0};

// Xlib turns every error that arrives on a connection into an event through that
// connection's table of converters, one per error code, and drops the error when the
// converter answers False; only then does it call the process-wide handler. This is the one
// per-connection hook that sees them all: extension error hooks (XESetError) are asked only
// for errors that arrive while a reply is awaited, not for those of requests without a reply
// (XDestroyWindow, XMapWindow, drawing) read by XPending or XNextEvent.
Bool DropError(Display*, XErrorEvent*, xError*) {
    contained.fetch_add(1);
    return False;
}

// Xlib's default here ends the process. Returning marks the connection dead: later requests
// on it do nothing.
void KeepRunning(Display*, void*) {}

}  // namespace

void Contain(Display* display) {
    if (display == nullptr) return;
    for (int code = 0; code < 256; ++code) XESetWireToError(display, code, &DropError);
    XSetIOErrorExitHandler(display, &KeepRunning, nullptr);
}

uint64_t Count() { return contained.load(); }

}  // namespace KivPlatform::X11Errors
