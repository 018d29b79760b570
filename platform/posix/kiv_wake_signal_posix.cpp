#include <linux/futex.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include "platform/kiv_wait_result.h"
#include "platform/kiv_wake_signal.h"

namespace KivPlatform {
namespace {

static_assert(sizeof(std::atomic<int32_t>) == sizeof(int32_t) && std::atomic<int32_t>::is_always_lock_free,
              "the futex word is the atomic itself");

int32_t* FutexWord(std::atomic<int32_t>& state) { return reinterpret_cast<int32_t*>(&state); }

}  // namespace

WakeSignal::WakeSignal() = default;
WakeSignal::~WakeSignal() = default;

// The kernel sleeps only while the word still reads kSleeping, so a signal that lands between
// the waiter's compare-exchange and this call is never lost. A relative time-out of
// FUTEX_WAIT runs on the monotonic clock, which the user's clock changes do not move.
void WakeSignal::Sleep(uint32_t milliseconds) noexcept {
    timespec timeout{};
    timeout.tv_sec = static_cast<time_t>(milliseconds / 1000);
    timeout.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
    syscall(SYS_futex, FutexWord(state_), FUTEX_WAIT_PRIVATE, kSleeping,
            milliseconds == kWaitForever ? nullptr : &timeout, nullptr, 0);
}

void WakeSignal::WakeSleeper() noexcept { syscall(SYS_futex, FutexWord(state_), FUTEX_WAKE_PRIVATE, 1, nullptr, nullptr, 0); }

}  // namespace KivPlatform
