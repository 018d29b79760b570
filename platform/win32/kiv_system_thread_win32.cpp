#include <windows.h>

#include "platform/kiv_system_thread.h"
#include "platform/win32/kiv_wait_result_win32.h"

namespace KivPlatform {
namespace {

// CreateThread wants a DWORD WINAPI function; the platform interface a plain one. The record
// also carries the thread's reference to the module holding this code.
struct StartRecord {
    ThreadEntry entry;
    void* argument;
    HMODULE module;
};

// A reference to the module (DLL or program) this code lives in, taken through an address
// inside it. Null when the system refuses.
HMODULE ReferenceOwnModule() {
    HMODULE module = nullptr;
    const auto flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS;
    if (!GetModuleHandleExW(flags, reinterpret_cast<LPCWSTR>(&ReferenceOwnModule), &module)) return nullptr;
    return module;
}

// The thread holds its module reference until its very last instruction: the host may free
// the library while a thread still runs (a leaked instance, a host that skips the close),
// and a thread returning into unmapped code takes the host down. FreeLibraryAndExitThread
// drops the reference from system code, which never returns here.
DWORD WINAPI RunThread(LPVOID parameter) {
    const StartRecord start = *static_cast<StartRecord*>(parameter);
    delete static_cast<StartRecord*>(parameter);
    const uint32_t exitCode = start.entry(start.argument);
    if (start.module) FreeLibraryAndExitThread(start.module, exitCode);
    return exitCode;
}

HANDLE Native(SystemThread thread) { return static_cast<HANDLE>(thread); }

}  // namespace

// The reference is taken here, by the creating thread, which runs inside the module: taken by
// the new thread when it starts, it would leave a window in which a suspended thread's
// library could be freed under it. A thread that is never resumed keeps the library loaded.
SystemThread CreateSuspendedThread(ThreadEntry entry, void* argument) {
    auto* start = new StartRecord{entry, argument, ReferenceOwnModule()};
    HANDLE thread = CreateThread(nullptr, 0, RunThread, start, CREATE_SUSPENDED, nullptr);
    if (!thread) {
        if (start->module) FreeLibrary(start->module);
        delete start;
    }
    return thread;
}

bool ResumeThread(SystemThread thread) { return ::ResumeThread(Native(thread)) != static_cast<DWORD>(-1); }

bool SetThreadPriority(SystemThread thread, int32_t priority) {
    return ::SetThreadPriority(Native(thread), priority) != FALSE;
}

int32_t GetThreadPriority(SystemThread thread) { return ::GetThreadPriority(Native(thread)); }

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

// ExitProcess ends every other thread before the libraries' destructors run: nothing of
// ours can run into them.

}  // namespace KivPlatform
