#pragma once
#include <cstdint>

namespace KivPlatform {

// Milliseconds of a monotonic clock with an arbitrary origin; wraps around after ~49 days,
// so compare differences (now - then), never absolute values.
uint32_t Milliseconds();

}  // namespace KivPlatform
