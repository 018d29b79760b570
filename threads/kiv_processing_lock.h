#pragma once
#include <atomic>
#include <cstdint>

#include "threads/kiv_synchronizer.h"

// A recursive lock taken without a system call while it is free: the audio thread takes it
// for every block, and a kernel mutex would cost a system call per block on Windows (a round
// trip to the server under Wine). Other threads hold it only to change the processing
// configuration, which hosts do while they do not process. A thread that finds it held
// yields and tries again; on the audio thread that is recorded as a contended acquisition
// (see KivThreadRole), which the tests treat as a fault.
class KivProcessingLock final : public KivSynchronizer {
public:
    explicit KivProcessingLock(const char* name = "KivProcessingLock") noexcept : name_(name) {}
    KivProcessingLock(const KivProcessingLock&) = delete;
    KivProcessingLock& operator=(const KivProcessingLock&) = delete;

    int32_t Acquire(uint32_t timeout = kForever) override;
    void Release() override;
    // Takes the lock only if it is free (or already the caller's); never waits.
    bool TryAcquire() noexcept;

private:
    const char* name_;
    std::atomic<const void*> owner_{nullptr};
    // Written only by the owner.
    int32_t depth_ = 0;
};
