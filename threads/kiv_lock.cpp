#include "threads/kiv_lock.h"

int32_t KivLock::Acquire(uint32_t timeout) {
    if (timeout == 0) return section_.TryEnter() ? 0 : 1;
    section_.Enter();
    return 0;
}

void KivLock::Release() { section_.Leave(); }
