#include <windows.h>

#include "platform/kiv_kernel_semaphore.h"
#include "platform/win32/kiv_wait_result_win32.h"

namespace KivPlatform {

KernelSemaphore::KernelSemaphore(int32_t initialCount, int32_t maximumCount)
    : handle_(CreateSemaphoreW(nullptr, initialCount, maximumCount, nullptr)) {}

KernelSemaphore::~KernelSemaphore() {
    if (handle_) CloseHandle(handle_);
}

WaitResult KernelSemaphore::Wait(uint32_t timeoutMilliseconds) {
    if (!handle_) return WaitResult::Failed;
    return Win32::WaitForObject(handle_, timeoutMilliseconds);
}

bool KernelSemaphore::Release() { return handle_ && ReleaseSemaphore(handle_, 1, nullptr) != FALSE; }

}  // namespace KivPlatform
