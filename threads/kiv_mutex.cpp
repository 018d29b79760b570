#include "threads/kiv_mutex.h"

int32_t KivMutex::Acquire(uint32_t timeout) {
    if (IsEmpty()) return 0;
    const KivPlatform::WaitResult result = mutex_.Wait(timeout);
    return result == KivPlatform::WaitResult::Signalled || result == KivPlatform::WaitResult::Abandoned ? 0 : 1;
}

void KivMutex::Release() {
    if (!IsEmpty()) mutex_.Release();
}
