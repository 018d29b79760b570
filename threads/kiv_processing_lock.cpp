#include "threads/kiv_processing_lock.h"

#include <chrono>
#include <thread>

#include "threads/kiv_thread_role.h"

namespace {

// Any address unique to the thread identifies it without an operating-system call.
thread_local char threadToken;

constexpr int32_t kSpinsBeforeSleeping = 64;

}  // namespace

bool KivProcessingLock::TryAcquire() noexcept {
    const void* me = &threadToken;
    if (owner_.load(std::memory_order_relaxed) == me) {
        ++depth_;
        return true;
    }
    const void* expected = nullptr;
    if (!owner_.compare_exchange_strong(expected, me, std::memory_order_acquire, std::memory_order_relaxed)) {
        return false;
    }
    depth_ = 1;
    return true;
}

int32_t KivProcessingLock::Acquire(uint32_t timeout) {
    if (TryAcquire()) return 0;
    KivThreadRole::RecordContention(name_);
    const auto start = std::chrono::steady_clock::now();
    for (int32_t attempt = 1;; ++attempt) {
        if (attempt < kSpinsBeforeSleeping) {
            std::this_thread::yield();
        } else {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        if (TryAcquire()) return 0;
        if (timeout != kForever &&
            std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(timeout)) {
            return 1;
        }
    }
}

void KivProcessingLock::Release() {
    if (owner_.load(std::memory_order_relaxed) != &threadToken) return;
    if (--depth_ > 0) return;
    owner_.store(nullptr, std::memory_order_release);
}
