#pragma once
#include "platform/kiv_kernel_mutex.h"
#include "threads/kiv_synchronizer.h"

// A recursive kernel mutex with timed waits. An owner that ended without releasing it does
// not lock out the others: the next waiter simply gets it. Should the system refuse to create
// the mutex, the object stays empty and every Acquire succeeds at once.
class KivMutex final : public KivSynchronizer {
public:
    KivMutex() = default;
    KivMutex(const KivMutex&) = delete;
    KivMutex& operator=(const KivMutex&) = delete;

    bool IsEmpty() const { return !mutex_.IsValid(); }
    int32_t Acquire(uint32_t timeout = kForever) override;
    void Release() override;

private:
    KivPlatform::KernelMutex mutex_;
};
