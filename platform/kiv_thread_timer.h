#pragma once
#include <cstdint>

namespace KivPlatform {

// A periodic call on the thread that creates the timer, made by that thread's own message loop
// whenever it runs (Windows: a thread timer, dispatched by any loop the host or a dialog runs).
// Where a thread has no loop a plug-in could rely on (POSIX: a host's run loop reaches a
// plug-in only with its editor), there is no such timer and Create gives null.
using ThreadTimer = void*;
using ThreadTimerCallback = void (*)(void* context);

ThreadTimer CreateThreadTimer(uint32_t intervalMilliseconds, ThreadTimerCallback callback, void* context);
// On the creating thread. The callback is not called after this returns.
void DestroyThreadTimer(ThreadTimer timer);

}  // namespace KivPlatform
