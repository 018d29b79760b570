#pragma once
// Counts the allocations of the thread that turned `counting` on (the one that plays the audio
// thread): the framework's through the module memory table (install CountingAllocate /
// CountingReallocate in it), anything else through the global operator new, which this header
// replaces. Work the plug-in hands to its own threads is not the audio thread's and is not
// counted. Include it in the one source file of a test program.
#include <atomic>
#include <cstdlib>
#include <new>

#include "base/kiv_memory.h"

namespace KivAllocationCounting {

inline thread_local bool counting = false;
inline std::atomic<int> allocations{0};

inline void* CountingAllocate(size_t size) {
    if (counting) ++allocations;
    return KivMemory::RuntimeTable().Allocate(size);
}

inline void* CountingReallocate(void* block, size_t size) {
    if (counting) ++allocations;
    return KivMemory::RuntimeTable().Reallocate(block, size);
}

// Routes the framework's module memory table through the counters for as long as it lives.
class CountingMemoryTable {
public:
    CountingMemoryTable() : saved_(KivMemory::Table()) {
        KivMemory::Table().Allocate = &CountingAllocate;
        KivMemory::Table().Reallocate = &CountingReallocate;
    }
    ~CountingMemoryTable() { KivMemory::Table() = saved_; }
    CountingMemoryTable(const CountingMemoryTable&) = delete;
    CountingMemoryTable& operator=(const CountingMemoryTable&) = delete;

private:
    KivMemoryFunctions saved_;
};

}  // namespace KivAllocationCounting

// The replacements pair malloc with free; GCC sees operator new inlined next to free and cannot
// tell that they are one pair.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(size_t size) {
    if (KivAllocationCounting::counting) ++KivAllocationCounting::allocations;
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
// The non-throwing forms too (std::stable_sort's temporary buffer takes one): otherwise the
// runtime's own would allocate what the replaced delete frees.
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    if (KivAllocationCounting::counting) ++KivAllocationCounting::allocations;
    return std::malloc(size ? size : 1);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
