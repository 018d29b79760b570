#include <windows.h>

#include "platform/kiv_thread_usage.h"

namespace KivPlatform {

// Windows keeps no per-thread count of switches or faults that a thread can read cheaply.
ThreadUsage CurrentThreadUsage() {
    ThreadUsage usage;
    FILETIME created, exited, kernel, user;
    if (GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) {
        const auto hundreds = [](const FILETIME& time) {
            return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
        };
        usage.cpuNanoseconds = (hundreds(kernel) + hundreds(user)) * 100;
    }
    return usage;
}

}  // namespace KivPlatform
