#include <windows.h>
#include <mmsystem.h>

#include "platform/kiv_clock.h"

namespace KivPlatform {

uint32_t Milliseconds() { return timeGetTime(); }

}  // namespace KivPlatform
