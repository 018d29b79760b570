#pragma once
#include <cstdint>

namespace KivPlatform {

// Gives the rest of the time slice to another ready thread.
void YieldThread();
void SleepMilliseconds(uint32_t milliseconds);

}  // namespace KivPlatform
