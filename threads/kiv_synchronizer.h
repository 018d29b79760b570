#pragma once
#include <cstdint>

// Common interface of the lock-like primitives, so that guards and owners need not know
// which kind of lock they hold.
class KivSynchronizer {
public:
    static constexpr uint32_t kForever = 0xFFFFFFFFu;

    // 0 when acquired, non-zero when not (busy or timed out). `timeout` in milliseconds.
    virtual int32_t Acquire(uint32_t timeout = kForever) = 0;
    virtual void Release() = 0;

protected:
    // Synchronisers are owned by their concrete type, never destroyed through this interface.
    ~KivSynchronizer() = default;
};
