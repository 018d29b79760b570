#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/kiv_memory.h"

// A growable array of plain numbers in the module's memory. It only ever grows, to the next
// power of two, so that once the longest block has been seen the audio thread never
// allocates again; Reserve lets preparation take that cost up front.
template <typename T>
class KivDetectorBuffer {
public:
    KivDetectorBuffer() = default;
    ~KivDetectorBuffer() { KivMemory::Free(data_); }
    KivDetectorBuffer(const KivDetectorBuffer&) = delete;
    KivDetectorBuffer& operator=(const KivDetectorBuffer&) = delete;

    // Makes room for `count` values; existing values are kept.
    void Reserve(size_t count) {
        if (count <= capacity_) return;
        const size_t capacity = KivMemory::NextPowerOfTwo(count);
        data_ = static_cast<T*>(KivMemory::Reallocate(data_, capacity * sizeof(T)));
        std::memset(data_ + capacity_, 0, (capacity - capacity_) * sizeof(T));
        capacity_ = capacity;
    }

    // Exchanges the memory of two buffers without copying or allocating.
    void Swap(KivDetectorBuffer& other) noexcept {
        T* data = data_;
        data_ = other.data_;
        other.data_ = data;
        const size_t capacity = capacity_;
        capacity_ = other.capacity_;
        other.capacity_ = capacity;
    }
    T* Data() noexcept { return data_; }
    const T* Data() const noexcept { return data_; }
    size_t Capacity() const noexcept { return capacity_; }
    T& operator[](size_t index) noexcept { return data_[index]; }
    const T& operator[](size_t index) const noexcept { return data_[index]; }

private:
    T* data_ = nullptr;
    size_t capacity_ = 0;
};
