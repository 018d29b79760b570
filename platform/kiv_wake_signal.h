#pragma once
#include <atomic>
#include <cstdint>

namespace KivPlatform {

// Wakes one waiting thread from any thread, the audio thread included: Signal() takes no lock
// and makes a system call only when the waiter is asleep (Linux: a futex wake; Windows:
// SetEvent on an auto-reset event). Signals before a wait are kept, and several of them
// wake the waiter once, as a worker that looks at all its work on each pass wants.
//
// One thread waits at a time; any number of threads signal.
class WakeSignal {
public:
    WakeSignal();
    ~WakeSignal();
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;

    void Signal() noexcept;
    // True when signalled (the signal is taken), false when the time-out passed first.
    // kWaitForever waits without limit; 0 only takes a signal that is already there.
    bool Wait(uint32_t timeoutMilliseconds) noexcept;

private:
    static constexpr int32_t kIdle = 0;
    static constexpr int32_t kSignalled = 1;
    static constexpr int32_t kSleeping = -1;

    bool TakeSignal() noexcept { return state_.exchange(kIdle) == kSignalled; }
    // Sleeps while the state is still kSleeping, until woken or for at most `milliseconds`
    // (kWaitForever: no limit); may also return early for no reason.
    void Sleep(uint32_t milliseconds) noexcept;
    void WakeSleeper() noexcept;

    std::atomic<int32_t> state_{kIdle};
    void* event_ = nullptr;  // Windows only
};

}  // namespace KivPlatform
