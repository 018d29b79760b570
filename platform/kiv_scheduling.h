#pragma once
#include <cstdint>

namespace KivPlatform {

// Gives the rest of the time slice to another ready thread.
void YieldThread();
void SleepMilliseconds(uint32_t milliseconds);
// Runs the calling thread in the scheduling class hosts give their audio threads (a real-time
// FIFO policy on POSIX, time-critical priority on Windows), or back in the ordinary one.
// False where the system does not permit it. Tools that imitate a host use it; the plug-in
// never changes a host thread's scheduling.
bool SetAudioThreadScheduling(bool realTime);

}  // namespace KivPlatform
