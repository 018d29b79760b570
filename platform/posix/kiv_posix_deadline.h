#pragma once
#include <cstdint>
#include <ctime>

namespace KivPlatform::Posix {

// The absolute time on `clock` that lies `milliseconds` from now, as the timed pthread
// waits expect it.
inline timespec DeadlineAfter(clockid_t clock, uint32_t milliseconds) {
    timespec deadline{};
    clock_gettime(clock, &deadline);
    deadline.tv_sec += milliseconds / 1000;
    deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    return deadline;
}

}  // namespace KivPlatform::Posix
