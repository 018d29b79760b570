#pragma once
#include <cstdint>

#include "base/kiv_object.h"
#include "threads/kiv_lock.h"

// A lock whose rules are written as state operations over a few counters rather than built
// on kernel objects. Waiting is done by yielding the processor, never by a kernel wait, which
// suits the short holds of the audio thread. Subclasses define the rules; every state
// operation runs with the object's own KivLock held.
class KivSynchronizationObject : public KivObject {
public:
    // The mode word: access kind in bit 0, options above.
    static constexpr uint32_t kShared = 0;
    static constexpr uint32_t kExclusive = 1;
    // After a release that frees the object, do not yield to a waiting thread.
    static constexpr uint32_t kNoYieldAfterRelease = 1u << 30;
    static constexpr uint32_t kForever = KivSynchronizer::kForever;

    // True when acquired within `timeout` milliseconds.
    bool Acquire(uint32_t mode, uint32_t timeout = kForever);
    void Release(uint32_t mode);

protected:
    virtual void BeginWait(uint32_t access) = 0;
    virtual bool CanAcquire(uint32_t access) = 0;
    virtual void Acquired(uint32_t access) = 0;
    virtual void EndWait(uint32_t access) = 0;
    // True when the object has become entirely free.
    virtual bool Released(uint32_t access) = 0;

private:
    static uint32_t AccessOf(uint32_t mode) { return mode & kExclusive; }
    bool AcquireWithoutLimit(uint32_t access);
    bool AcquireWithin(uint32_t access, uint32_t timeout);

    KivLock lock_;
};
