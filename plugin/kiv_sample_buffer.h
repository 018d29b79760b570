#pragma once
#include <cstdint>

// A block of samples from the module's memory table that only ever grows, to the next power
// of two, so that once a block size has been seen the audio thread allocates nothing more.
class KivSampleBuffer {
public:
    KivSampleBuffer() = default;
    ~KivSampleBuffer();
    KivSampleBuffer(const KivSampleBuffer&) = delete;
    KivSampleBuffer& operator=(const KivSampleBuffer&) = delete;

    // Makes at least `count` samples available. Growing discards the contents and leaves
    // zeros; otherwise the contents stay.
    void Reserve(int32_t count);
    void Clear();

    float* Data() noexcept { return data_; }
    const float* Data() const noexcept { return data_; }
    int32_t Capacity() const noexcept { return capacity_; }

private:
    float* data_ = nullptr;
    int32_t capacity_ = 0;
};
