#include "plugin/kiv_sample_buffer.h"

#include <cstring>

#include "base/kiv_memory.h"

KivSampleBuffer::~KivSampleBuffer() { KivMemory::Free(data_); }

void KivSampleBuffer::Reserve(int32_t count) {
    if (count <= capacity_) return;
    const auto capacity = static_cast<int32_t>(KivMemory::NextPowerOfTwo(static_cast<size_t>(count)));
    float* grown = static_cast<float*>(KivMemory::Allocate(sizeof(float) * static_cast<size_t>(capacity)));
    KivMemory::Free(data_);
    data_ = grown;
    capacity_ = capacity;
    Clear();
}

void KivSampleBuffer::Clear() {
    if (data_) std::memset(data_, 0, sizeof(float) * static_cast<size_t>(capacity_));
}
