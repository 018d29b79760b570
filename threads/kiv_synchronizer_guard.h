#pragma once
#include <cstdint>

#include "threads/kiv_synchronizer.h"

// Holds a synchroniser for the lifetime of the guard. A failed acquisition raises
// KivException "Could not acquire mutex." (code 0), so code after the guard always runs
// with the lock held.
class KivSynchronizerGuard {
public:
    explicit KivSynchronizerGuard(KivSynchronizer& synchronizer, uint32_t timeout = KivSynchronizer::kForever);
    ~KivSynchronizerGuard() { synchronizer_.Release(); }
    KivSynchronizerGuard(const KivSynchronizerGuard&) = delete;
    KivSynchronizerGuard& operator=(const KivSynchronizerGuard&) = delete;

private:
    KivSynchronizer& synchronizer_;
};
