#include "threads/kiv_synchronizer_guard.h"

#include "base/kiv_exception.h"

KivSynchronizerGuard::KivSynchronizerGuard(KivSynchronizer& synchronizer, uint32_t timeout)
    : synchronizer_(synchronizer) {
    if (synchronizer_.Acquire(timeout) != 0) throw KivException("Could not acquire mutex.", KivException::kFailure);
}
