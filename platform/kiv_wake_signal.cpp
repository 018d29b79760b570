#include "platform/kiv_wake_signal.h"

#include "platform/kiv_clock.h"
#include "platform/kiv_wait_result.h"

namespace KivPlatform {

void WakeSignal::Signal() noexcept {
    if (state_.exchange(kSignalled) == kSleeping) WakeSleeper();
}

// A wake can end a sleep it was not meant for (a signal taken by a wait that timed out just
// before it), so every return from Sleep looks at the state again and sleeps on for the time
// that is left.
bool WakeSignal::Wait(uint32_t timeoutMilliseconds) noexcept {
    if (TakeSignal()) return true;
    const uint32_t start = Milliseconds();
    for (;;) {
        uint32_t remaining = kWaitForever;
        if (timeoutMilliseconds != kWaitForever) {
            const uint32_t elapsed = Milliseconds() - start;
            if (elapsed >= timeoutMilliseconds) return TakeSignal();
            remaining = timeoutMilliseconds - elapsed;
        }
        int32_t expected = kIdle;
        // Fails only when a signal came in since the last look.
        if (!state_.compare_exchange_strong(expected, kSleeping)) return TakeSignal();
        Sleep(remaining);
        if (TakeSignal()) return true;
    }
}

}  // namespace KivPlatform
