#pragma once
#include <cstdint>

#include "platform/kiv_wait_result.h"

namespace KivPlatform {

// An operating-system thread. The handle is opaque: a kernel HANDLE on Windows, a small
// record shared with the running thread on POSIX.
using SystemThread = void*;
using ThreadEntry = uint32_t (*)(void* argument);

// Win32 thread priorities; POSIX records them only (see SetThreadPriority).
inline constexpr int32_t kPriorityIdle = -15;
inline constexpr int32_t kPriorityTimeCritical = 15;

// Creates a thread that runs `entry(argument)` only after ResumeThread. Null on failure.
// The thread holds a reference to the library (or program) this code belongs to from its
// creation to its very end, so that a host that frees the library while a thread still runs
// only delays the unload. There is deliberately no way to end a thread without its
// cooperation: a thread killed inside a lock or an allocation leaves them taken for good.
SystemThread CreateSuspendedThread(ThreadEntry entry, void* argument);
bool ResumeThread(SystemThread thread);
// On POSIX the value is only recorded: normal users may not raise their scheduling priority,
// and a real-time policy on a runaway thread can freeze the whole desktop.
bool SetThreadPriority(SystemThread thread, int32_t priority);
int32_t GetThreadPriority(SystemThread thread);
WaitResult WaitForThread(SystemThread thread, uint32_t timeoutMilliseconds);
// The value the entry returned; valid once ended.
uint32_t GetThreadExitCode(SystemThread thread);
// Releases the handle; a thread still running goes on without it.
void CloseThread(SystemThread thread);
uint32_t CurrentThreadId();

// Whether a library's threads can still be running while the process ends: on POSIX,
// exit() runs the static destructors with every other thread still going; Windows ends a
// process's other threads before any library's destructors run.
#if defined(_WIN32)
inline constexpr bool kThreadsRunDuringProcessExit = false;
#else
inline constexpr bool kThreadsRunDuringProcessExit = true;
#endif

}  // namespace KivPlatform
