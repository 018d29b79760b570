#pragma once
#include <atomic>

// A record's value is written by whichever thread changes the parameter (the host's threads,
// the audio thread inside a block) and read by others (preparation, settings documents,
// displays). Each access is one relaxed atomic operation on the plain field, so a reader sees
// the old or the new value, never a torn one, and the record keeps its layout.
template <typename T>
T KivLoadRecordValue(const T& field) noexcept {
    return std::atomic_ref<T>(const_cast<T&>(field)).load(std::memory_order_relaxed);
}

template <typename T>
void KivStoreRecordValue(T& field, T value) noexcept {
    std::atomic_ref<T>(field).store(value, std::memory_order_relaxed);
}
