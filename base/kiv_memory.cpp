#include "base/kiv_memory.h"

#include <cstdlib>

#include "base/kiv_exception.h"

namespace {

void* RuntimeAllocate(size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block) throw KivException("Out of memory.");
    return block;
}

void RuntimeFree(void* block) { std::free(block); }

void* RuntimeReallocate(void* block, size_t size) {
    if (size == 0) {
        std::free(block);
        return nullptr;
    }
    void* grown = std::realloc(block, size);
    if (!grown) throw KivException("Out of memory.");
    return grown;
}

void Nothing() {}

constexpr KivMemoryFunctions kRuntimeTable{RuntimeAllocate, RuntimeFree, RuntimeReallocate, Nothing, Nothing};
KivMemoryFunctions gTable = kRuntimeTable;

}  // namespace

namespace KivMemory {

KivMemoryFunctions& Table() { return gTable; }
const KivMemoryFunctions& RuntimeTable() { return kRuntimeTable; }

void* Allocate(size_t size) { return gTable.Allocate(size); }
void Free(void* block) {
    if (block) gTable.Free(block);
}
void* Reallocate(void* block, size_t size) { return gTable.Reallocate(block, size); }

size_t NextPowerOfTwo(size_t size) {
    if (size == 0) return 0;
    size_t power = 1;
    while (power < size) power <<= 1;
    return power;
}

}  // namespace KivMemory
