#pragma once
#include <cstddef>
#include <cstring>

// Copies `source` into a host buffer of `capacity` bytes (terminator included), cutting it
// when it is longer: hosts size their buffers by the interface's length constants, and a
// longer text would overwrite the host's memory.
inline void Vst2CopyText(char* destination, const char* source, size_t capacity) {
    if (!destination || capacity == 0) return;
    const size_t length = source ? std::strlen(source) : 0;
    const size_t copied = length < capacity ? length : capacity - 1;
    if (copied) std::memcpy(destination, source, copied);
    destination[copied] = '\0';
}
