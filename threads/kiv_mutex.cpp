#include "threads/kiv_mutex.h"

#include "threads/kiv_thread_role.h"

int32_t KivMutex::Acquire(uint32_t timeout) {
    // A kernel mutex may be held by any thread for any time: the audio thread never waits on one.
    KivThreadRole::ExpectNotAudio("KivMutex::Acquire");
    if (IsEmpty()) return 0;
    const KivPlatform::WaitResult result = mutex_.Wait(timeout);
    return result == KivPlatform::WaitResult::Signalled || result == KivPlatform::WaitResult::Abandoned ? 0 : 1;
}

void KivMutex::Release() {
    if (!IsEmpty()) mutex_.Release();
}
