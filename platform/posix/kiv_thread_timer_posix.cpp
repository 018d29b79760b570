#include "platform/kiv_thread_timer.h"

namespace KivPlatform {

ThreadTimer CreateThreadTimer(uint32_t, ThreadTimerCallback, void*) { return nullptr; }

void DestroyThreadTimer(ThreadTimer) {}

}  // namespace KivPlatform
