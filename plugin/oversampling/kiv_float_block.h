#pragma once
#include <cstddef>

// A zero-initialised array of floats taken from the module's memory table. It only ever
// grows, to the next power of two, so that preparing again for the same or a smaller size
// reuses the block and the audio thread never allocates.
class KivFloatBlock {
public:
    KivFloatBlock() = default;
    ~KivFloatBlock();
    KivFloatBlock(const KivFloatBlock&) = delete;
    KivFloatBlock& operator=(const KivFloatBlock&) = delete;

    // Makes at least `count` floats available and sets the first `count` to 0.
    void Resize(size_t count);
    // Sets the first `count` floats to 0 (count must not exceed the size).
    void Clear(size_t count);

    float* Data() { return data_; }
    const float* Data() const { return data_; }
    size_t Capacity() const { return capacity_; }

private:
    float* data_ = nullptr;
    size_t capacity_ = 0;
};
