#include "threads/kiv_synchronization_object.h"

#include "platform/kiv_clock.h"
#include "platform/kiv_scheduling.h"
#include "threads/kiv_synchronizer_guard.h"

bool KivSynchronizationObject::Acquire(uint32_t mode, uint32_t timeout) {
    const uint32_t access = AccessOf(mode);
    {
        KivSynchronizerGuard guard(lock_);
        BeginWait(access);
    }
    return timeout == kForever ? AcquireWithoutLimit(access) : AcquireWithin(access, timeout);
}

bool KivSynchronizationObject::AcquireWithoutLimit(uint32_t access) {
    lock_.Acquire();
    while (!CanAcquire(access)) {
        lock_.Release();
        KivPlatform::YieldThread();
        lock_.Acquire();
    }
    Acquired(access);
    EndWait(access);
    lock_.Release();
    return true;
}

bool KivSynchronizationObject::AcquireWithin(uint32_t access, uint32_t timeout) {
    const uint32_t start = KivPlatform::Milliseconds();
    for (;;) {
        {
            KivSynchronizerGuard guard(lock_);
            if (CanAcquire(access)) {
                EndWait(access);
                Acquired(access);
                return true;
            }
        }
        if (KivPlatform::Milliseconds() - start >= timeout) break;
        KivPlatform::YieldThread();
    }
    KivSynchronizerGuard guard(lock_);
    EndWait(access);
    return false;
}

void KivSynchronizationObject::Release(uint32_t mode) {
    bool becameFree = false;
    {
        KivSynchronizerGuard guard(lock_);
        becameFree = Released(AccessOf(mode));
    }
    // Give a thread that spins for the object a chance to take it now.
    if (becameFree && (mode & kNoYieldAfterRelease) == 0) KivPlatform::YieldThread();
}
