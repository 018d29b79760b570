#include <sys/resource.h>
#include <time.h>

#include "platform/kiv_thread_usage.h"

namespace KivPlatform {

ThreadUsage CurrentThreadUsage() {
    ThreadUsage usage;
    timespec cpu{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu) == 0)
        usage.cpuNanoseconds = static_cast<int64_t>(cpu.tv_sec) * 1000000000 + cpu.tv_nsec;
    rusage counts{};
    if (getrusage(RUSAGE_THREAD, &counts) == 0) {
        usage.involuntarySwitches = counts.ru_nivcsw;
        usage.voluntarySwitches = counts.ru_nvcsw;
        usage.minorFaults = counts.ru_minflt;
    }
    return usage;
}

}  // namespace KivPlatform
