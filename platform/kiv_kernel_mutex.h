#pragma once
#include <cstdint>

#include "platform/kiv_wait_result.h"

namespace KivPlatform {

// A recursive mutex with timed waits. When its owner ends without releasing it, the next
// waiter gets it with WaitResult::Abandoned.
class KernelMutex {
public:
    // Unowned. IsValid() tells whether the system created it.
    KernelMutex();
    ~KernelMutex();
    KernelMutex(const KernelMutex&) = delete;
    KernelMutex& operator=(const KernelMutex&) = delete;

    bool IsValid() const { return handle_ != nullptr; }
    WaitResult Wait(uint32_t timeoutMilliseconds);
    // False when the calling thread does not own it.
    bool Release();

private:
    void* handle_;
};

}  // namespace KivPlatform
