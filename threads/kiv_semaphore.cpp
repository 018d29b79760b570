#include "threads/kiv_semaphore.h"

int32_t KivSemaphore::Acquire(uint32_t timeout) {
    return semaphore_.Wait(timeout) == KivPlatform::WaitResult::Signalled ? 0 : 1;
}

void KivSemaphore::Release() { semaphore_.Release(); }
