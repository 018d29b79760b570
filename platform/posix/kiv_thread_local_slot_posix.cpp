#include <pthread.h>

#include "platform/kiv_thread_local_slot.h"

namespace KivPlatform {

static_assert(sizeof(pthread_key_t) <= sizeof(ThreadLocalSlot));

bool AllocateThreadLocalSlot(ThreadLocalSlot* slot) {
    pthread_key_t key;
    if (pthread_key_create(&key, nullptr) != 0) return false;
    *slot = static_cast<ThreadLocalSlot>(key);
    return true;
}

void FreeThreadLocalSlot(ThreadLocalSlot slot) { pthread_key_delete(static_cast<pthread_key_t>(slot)); }

void* GetThreadLocalValue(ThreadLocalSlot slot) { return pthread_getspecific(static_cast<pthread_key_t>(slot)); }

bool SetThreadLocalValue(ThreadLocalSlot slot, void* value) {
    return pthread_setspecific(static_cast<pthread_key_t>(slot), value) == 0;
}

}  // namespace KivPlatform
