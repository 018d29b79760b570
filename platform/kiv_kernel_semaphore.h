#pragma once
#include <cstdint>

#include "platform/kiv_wait_result.h"

namespace KivPlatform {

// A counting semaphore with timed waits.
class KernelSemaphore {
public:
    static constexpr int32_t kMaximumCount = 0x7FFFFFFF;

    explicit KernelSemaphore(int32_t initialCount = 0, int32_t maximumCount = kMaximumCount);
    ~KernelSemaphore();
    KernelSemaphore(const KernelSemaphore&) = delete;
    KernelSemaphore& operator=(const KernelSemaphore&) = delete;

    bool IsValid() const { return handle_ != nullptr; }
    // Signalled when a count was taken.
    WaitResult Wait(uint32_t timeoutMilliseconds);
    // Adds one; false when that would pass the maximum.
    bool Release();

private:
    void* handle_;
};

}  // namespace KivPlatform
