#pragma once
#include "platform/kiv_critical_section.h"
#include "threads/kiv_synchronizer.h"

// A recursive in-process lock for short holds. It cannot wait for a limited time: timeout 0
// is a single try, any other timeout waits until the lock is free.
class KivLock final : public KivSynchronizer {
public:
    KivLock() = default;
    KivLock(const KivLock&) = delete;
    KivLock& operator=(const KivLock&) = delete;

    int32_t Acquire(uint32_t timeout = kForever) override;
    void Release() override;

private:
    KivPlatform::CriticalSection section_;
};
