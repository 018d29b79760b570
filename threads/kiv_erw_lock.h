#pragma once
#include <cstdint>

#include "platform/kiv_thread_local_slot.h"
#include "threads/kiv_synchronization_object.h"

// A re-entrant reader/writer lock. Any number of readers, or one writer; the writer may take
// it again for reading or writing, a reader may take it again for reading and may upgrade to
// writing once every other read hold belongs to a thread that itself waits to write. A new
// reader gives way to a waiting writer, so a stream of readers cannot starve writers.
//
// Each thread's own holds live in a thread-local slot: read count in the low 16 bits, write
// count in the high 16 bits.
class KivERWLock : public KivSynchronizationObject {
public:
    // Raises "Could not create thread local storage." when the system has no slot left.
    KivERWLock();
    ~KivERWLock() override;
    KivERWLock(const KivERWLock&) = delete;
    KivERWLock& operator=(const KivERWLock&) = delete;

protected:
    void BeginWait(uint32_t access) override;
    bool CanAcquire(uint32_t access) override;
    void Acquired(uint32_t access) override;
    void EndWait(uint32_t access) override;
    bool Released(uint32_t access) override;

private:
    int32_t OwnReads() const;
    int32_t OwnWrites() const;
    void SetOwnHolds(int32_t reads, int32_t writes);

    int32_t readHolds_ = 0;
    int32_t writeHolds_ = 0;
    int32_t waitingWriters_ = 0;
    int32_t readHoldsOfWaitingWriters_ = 0;
    KivPlatform::ThreadLocalSlot ownHolds_ = 0;
};
