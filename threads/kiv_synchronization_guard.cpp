#include "threads/kiv_synchronization_guard.h"

#include "base/kiv_exception.h"

KivSynchronizationGuard::KivSynchronizationGuard(KivSynchronizationObject* object, uint32_t mode, uint32_t timeout)
    : object_(object), mode_(mode) {
    if (object_ && !object_->Acquire(mode_, timeout))
        throw KivException("Could not acquire emulated synchronization object.", KivException::kFailure);
}

KivSynchronizationGuard::~KivSynchronizationGuard() {
    if (object_) object_->Release(mode_);
}
