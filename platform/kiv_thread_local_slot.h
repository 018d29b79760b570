#pragma once
#include <cstdint>

namespace KivPlatform {

// A per-thread pointer-sized value (TlsAlloc, pthread_key_create). A new slot reads as null
// on every thread.
using ThreadLocalSlot = uint32_t;

// False when the system has no slot left.
bool AllocateThreadLocalSlot(ThreadLocalSlot* slot);
void FreeThreadLocalSlot(ThreadLocalSlot slot);
void* GetThreadLocalValue(ThreadLocalSlot slot);
bool SetThreadLocalValue(ThreadLocalSlot slot, void* value);

}  // namespace KivPlatform
