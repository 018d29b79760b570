#include <windows.h>

#include "platform/kiv_scheduling.h"

namespace KivPlatform {

void YieldThread() { SwitchToThread(); }

void SleepMilliseconds(uint32_t milliseconds) { Sleep(milliseconds); }

bool SetAudioThreadScheduling(bool realTime) {
    return ::SetThreadPriority(GetCurrentThread(), realTime ? THREAD_PRIORITY_TIME_CRITICAL : THREAD_PRIORITY_NORMAL) != 0;
}

}  // namespace KivPlatform
