#include <windows.h>

#include "platform/kiv_thread_local_slot.h"

namespace KivPlatform {

bool AllocateThreadLocalSlot(ThreadLocalSlot* slot) {
    const DWORD index = TlsAlloc();
    if (index == TLS_OUT_OF_INDEXES) return false;
    *slot = index;
    return true;
}

void FreeThreadLocalSlot(ThreadLocalSlot slot) { TlsFree(slot); }

void* GetThreadLocalValue(ThreadLocalSlot slot) { return TlsGetValue(slot); }

bool SetThreadLocalValue(ThreadLocalSlot slot, void* value) { return TlsSetValue(slot, value) != FALSE; }

}  // namespace KivPlatform
