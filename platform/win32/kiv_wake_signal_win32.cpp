#include <windows.h>

#include "platform/kiv_wait_result.h"
#include "platform/kiv_wake_signal.h"

namespace KivPlatform {

// An auto-reset event: SetEvent is called only for a waiter that sleeps, so a busy update
// thread costs the signalling thread no system call (under Wine, no server round trip).
WakeSignal::WakeSignal() : event_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

WakeSignal::~WakeSignal() {
    if (event_) CloseHandle(event_);
}

// The event may still be set by a wake whose sleep had already ended; the caller's loop takes
// that as an early return and sleeps again. Without an event the waiter polls every
// millisecond rather than missing signals.
void WakeSignal::Sleep(uint32_t milliseconds) noexcept {
    if (event_)
        WaitForSingleObject(event_, milliseconds);
    else
        ::Sleep(milliseconds == 0 ? 0 : 1);
}

void WakeSignal::WakeSleeper() noexcept {
    if (event_) SetEvent(event_);
}

}  // namespace KivPlatform
