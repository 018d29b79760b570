#pragma once
#include "platform/kiv_kernel_semaphore.h"
#include "threads/kiv_synchronizer.h"

// A counting semaphore: Acquire takes one count, Release adds one.
class KivSemaphore final : public KivSynchronizer {
public:
    static constexpr int32_t kMaximumCount = KivPlatform::KernelSemaphore::kMaximumCount;

    explicit KivSemaphore(int32_t initialCount = 0, int32_t maximumCount = kMaximumCount)
        : semaphore_(initialCount, maximumCount) {}
    KivSemaphore(const KivSemaphore&) = delete;
    KivSemaphore& operator=(const KivSemaphore&) = delete;

    int32_t Acquire(uint32_t timeout = kForever) override;
    void Release() override;

private:
    KivPlatform::KernelSemaphore semaphore_;
};
