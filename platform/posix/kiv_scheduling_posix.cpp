#include <errno.h>
#include <pthread.h>
#include <sched.h>
#include <time.h>

#include "platform/kiv_scheduling.h"

namespace KivPlatform {

void YieldThread() { sched_yield(); }

void SleepMilliseconds(uint32_t milliseconds) {
    timespec remaining{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

// A middling real-time priority, as audio servers give their clients' threads.
bool SetAudioThreadScheduling(bool realTime) {
    sched_param parameters{};
    parameters.sched_priority = realTime ? 70 : 0;
    return pthread_setschedparam(pthread_self(), realTime ? SCHED_FIFO : SCHED_OTHER, &parameters) == 0;
}

}  // namespace KivPlatform
