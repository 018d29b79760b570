#pragma once
#include <windows.h>

#include "platform/kiv_wait_result.h"

namespace KivPlatform::Win32 {

inline WaitResult WaitForObject(HANDLE object, uint32_t timeoutMilliseconds) {
    switch (WaitForSingleObject(object, timeoutMilliseconds)) {
        case WAIT_OBJECT_0:
            return WaitResult::Signalled;
        case WAIT_ABANDONED:
            return WaitResult::Abandoned;
        case WAIT_TIMEOUT:
            return WaitResult::TimedOut;
        default:
            return WaitResult::Failed;
    }
}

}  // namespace KivPlatform::Win32
