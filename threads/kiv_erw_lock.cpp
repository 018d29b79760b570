#include "threads/kiv_erw_lock.h"

#include <cstdint>

#include "base/kiv_exception.h"

namespace {
uint32_t PackedHolds(void* slotValue) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(slotValue)); }
}  // namespace

KivERWLock::KivERWLock() {
    if (!KivPlatform::AllocateThreadLocalSlot(&ownHolds_))
        throw KivException("Could not create thread local storage.", KivException::kFailure);
}

KivERWLock::~KivERWLock() { KivPlatform::FreeThreadLocalSlot(ownHolds_); }

int32_t KivERWLock::OwnReads() const {
    return static_cast<int32_t>(PackedHolds(KivPlatform::GetThreadLocalValue(ownHolds_)) & 0xFFFFu);
}

int32_t KivERWLock::OwnWrites() const {
    return static_cast<int32_t>(PackedHolds(KivPlatform::GetThreadLocalValue(ownHolds_)) >> 16);
}

void KivERWLock::SetOwnHolds(int32_t reads, int32_t writes) {
    const uint32_t packed = (static_cast<uint32_t>(writes) << 16) | (static_cast<uint32_t>(reads) & 0xFFFFu);
    KivPlatform::SetThreadLocalValue(ownHolds_, reinterpret_cast<void*>(static_cast<uintptr_t>(packed)));
}

void KivERWLock::BeginWait(uint32_t access) {
    if (access != kExclusive) return;
    waitingWriters_ += 1;
    readHoldsOfWaitingWriters_ += OwnReads();
}

void KivERWLock::EndWait(uint32_t access) {
    if (access != kExclusive) return;
    waitingWriters_ -= 1;
    readHoldsOfWaitingWriters_ -= OwnReads();
}

bool KivERWLock::CanAcquire(uint32_t access) {
    if (OwnWrites() > 0) return true;
    if (access == kExclusive) return writeHolds_ < 1 && readHolds_ == readHoldsOfWaitingWriters_;
    return OwnReads() > 0 || (writeHolds_ == 0 && waitingWriters_ == 0);
}

void KivERWLock::Acquired(uint32_t access) {
    if (access == kExclusive) {
        writeHolds_ += 1;
        SetOwnHolds(OwnReads(), OwnWrites() + 1);
    } else {
        readHolds_ += 1;
        SetOwnHolds(OwnReads() + 1, OwnWrites());
    }
}

bool KivERWLock::Released(uint32_t access) {
    if (access == kExclusive) {
        writeHolds_ -= 1;
        SetOwnHolds(OwnReads(), OwnWrites() - 1);
    } else {
        readHolds_ -= 1;
        SetOwnHolds(OwnReads() - 1, OwnWrites());
    }
    return readHolds_ == 0 && writeHolds_ == 0;
}
