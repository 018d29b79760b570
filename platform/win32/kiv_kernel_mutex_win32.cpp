#include <windows.h>

#include "platform/kiv_kernel_mutex.h"
#include "platform/win32/kiv_wait_result_win32.h"

namespace KivPlatform {

KernelMutex::KernelMutex() : handle_(CreateMutexW(nullptr, FALSE, nullptr)) {}

KernelMutex::~KernelMutex() {
    if (handle_) CloseHandle(handle_);
}

WaitResult KernelMutex::Wait(uint32_t timeoutMilliseconds) {
    if (!handle_) return WaitResult::Failed;
    return Win32::WaitForObject(handle_, timeoutMilliseconds);
}

bool KernelMutex::Release() { return handle_ && ReleaseMutex(handle_) != FALSE; }

}  // namespace KivPlatform
