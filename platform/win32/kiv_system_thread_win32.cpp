#include <windows.h>

#include "platform/kiv_system_thread.h"
#include "platform/win32/kiv_wait_result_win32.h"

namespace KivPlatform {
namespace {

// CreateThread wants a DWORD WINAPI function; the platform interface a plain one.
struct StartRecord {
    ThreadEntry entry;
    void* argument;
};

DWORD WINAPI RunThread(LPVOID parameter) {
    const StartRecord start = *static_cast<StartRecord*>(parameter);
    delete static_cast<StartRecord*>(parameter);
    return start.entry(start.argument);
}

HANDLE Native(SystemThread thread) { return static_cast<HANDLE>(thread); }

}  // namespace

// A thread terminated before it first ran never frees its start record; that only happens
// during library unload.
SystemThread CreateSuspendedThread(ThreadEntry entry, void* argument) {
    auto* start = new StartRecord{entry, argument};
    HANDLE thread = CreateThread(nullptr, 0, RunThread, start, CREATE_SUSPENDED, nullptr);
    if (!thread) delete start;
    return thread;
}

bool ResumeThread(SystemThread thread) { return ::ResumeThread(Native(thread)) != static_cast<DWORD>(-1); }

bool SetThreadPriority(SystemThread thread, int32_t priority) {
    return ::SetThreadPriority(Native(thread), priority) != FALSE;
}

int32_t GetThreadPriority(SystemThread thread) { return ::GetThreadPriority(Native(thread)); }

// Termination is asynchronous: the thread may still run (say, return from a wait into this
// library's code) after the call. The library is about to be unmapped, so wait until it is
// gone; a terminated thread runs no DllMain, so the loader lock does not stand in the way.
void TerminateThread(SystemThread thread, uint32_t exitCode) {
    constexpr DWORD kTerminationWaitMilliseconds = 2000;
    if (::TerminateThread(Native(thread), exitCode)) WaitForSingleObject(Native(thread), kTerminationWaitMilliseconds);
}

WaitResult WaitForThread(SystemThread thread, uint32_t timeoutMilliseconds) {
    return Win32::WaitForObject(Native(thread), timeoutMilliseconds);
}

uint32_t GetThreadExitCode(SystemThread thread) {
    DWORD exitCode = 0;
    GetExitCodeThread(Native(thread), &exitCode);
    return exitCode;
}

void CloseThread(SystemThread thread) { CloseHandle(Native(thread)); }

uint32_t CurrentThreadId() { return GetCurrentThreadId(); }

}  // namespace KivPlatform
