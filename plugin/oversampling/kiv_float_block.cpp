#include "plugin/oversampling/kiv_float_block.h"

#include <cstring>

#include "base/kiv_memory.h"

KivFloatBlock::~KivFloatBlock() { KivMemory::Free(data_); }

void KivFloatBlock::Resize(size_t count) {
    if (count > capacity_) {
        const size_t capacity = KivMemory::NextPowerOfTwo(count);
        float* data = static_cast<float*>(KivMemory::Allocate(capacity * sizeof(float)));
        KivMemory::Free(data_);
        data_ = data;
        capacity_ = capacity;
    }
    Clear(count);
}

void KivFloatBlock::Clear(size_t count) {
    if (count > 0) std::memset(data_, 0, count * sizeof(float));
}
