#pragma once
#include <cstdint>

#include "threads/kiv_synchronization_object.h"

// Holds a synchronisation object in the given mode for the lifetime of the guard; with no
// object it does nothing. A failed acquisition raises KivException "Could not acquire
// emulated synchronization object." (code 0).
class KivSynchronizationGuard {
public:
    KivSynchronizationGuard(KivSynchronizationObject* object, uint32_t mode,
                            uint32_t timeout = KivSynchronizationObject::kForever);
    ~KivSynchronizationGuard();
    KivSynchronizationGuard(const KivSynchronizationGuard&) = delete;
    KivSynchronizationGuard& operator=(const KivSynchronizationGuard&) = delete;

private:
    KivSynchronizationObject* object_;
    uint32_t mode_;
};
