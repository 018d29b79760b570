#pragma once
#include <cstddef>

// The module's table of memory functions. Every framework allocation goes through it, so
// that a parent module of the same framework can hand its own allocator to a library it
// loads, and so that tests can count what the audio thread allocates.
struct KivMemoryFunctions {
    void* (*Allocate)(size_t size);                 // throws "Out of memory." on failure
    void (*Free)(void* block);                      // null is ignored
    void* (*Reallocate)(void* block, size_t size);  // size 0 frees and yields null; null block allocates
    void (*Spare1)();
    void (*Spare2)();
};

namespace KivMemory {

// The table in force for this module. Replacing its entries redirects all later allocations;
// blocks must be freed by the table that allocated them.
KivMemoryFunctions& Table();
// The plain C runtime table this module starts with.
const KivMemoryFunctions& RuntimeTable();

void* Allocate(size_t size);
void Free(void* block);
void* Reallocate(void* block, size_t size);

// Smallest power of two >= size (size 0 gives 0); growable buffers use it so that
// repeated growth costs amortised constant time.
size_t NextPowerOfTwo(size_t size);

}  // namespace KivMemory
