#include <windows.h>

#include "platform/kiv_scheduling.h"

namespace KivPlatform {

void YieldThread() { SwitchToThread(); }

void SleepMilliseconds(uint32_t milliseconds) { Sleep(milliseconds); }

}  // namespace KivPlatform
