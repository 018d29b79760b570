#pragma once
#include <cstdint>

namespace KivPlatform {

// Timeout value meaning "wait without limit".
inline constexpr uint32_t kWaitForever = 0xFFFFFFFFu;

// Outcome of waiting on a kernel object. An abandoned mutex (its owner ended while holding
// it) still hands ownership to the waiter, so callers usually treat it like Signalled.
enum class WaitResult { Signalled, Abandoned, TimedOut, Failed };

}  // namespace KivPlatform
