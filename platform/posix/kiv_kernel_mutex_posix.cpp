#include <errno.h>
#include <pthread.h>

#include "platform/kiv_kernel_mutex.h"
#include "platform/posix/kiv_posix_deadline.h"

namespace KivPlatform {
namespace {

// Robust, so that a waiter learns when the owner ended while holding it (EOWNERDEAD),
// like a Win32 mutex reports WAIT_ABANDONED; recursive like a Win32 mutex.
pthread_mutex_t* CreateRobustRecursiveMutex() {
    auto* mutex = new pthread_mutex_t;
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
    const int error = pthread_mutex_init(mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
    if (error == 0) return mutex;
    delete mutex;
    return nullptr;
}

int Lock(pthread_mutex_t* mutex, uint32_t timeoutMilliseconds) {
    if (timeoutMilliseconds == kWaitForever) return pthread_mutex_lock(mutex);
    if (timeoutMilliseconds == 0) return pthread_mutex_trylock(mutex);
    const timespec deadline = Posix::DeadlineAfter(CLOCK_REALTIME, timeoutMilliseconds);
    return pthread_mutex_timedlock(mutex, &deadline);
}

}  // namespace

KernelMutex::KernelMutex() : handle_(CreateRobustRecursiveMutex()) {}

KernelMutex::~KernelMutex() {
    if (!handle_) return;
    auto* mutex = static_cast<pthread_mutex_t*>(handle_);
    pthread_mutex_destroy(mutex);
    delete mutex;
}

WaitResult KernelMutex::Wait(uint32_t timeoutMilliseconds) {
    if (!handle_) return WaitResult::Failed;
    auto* mutex = static_cast<pthread_mutex_t*>(handle_);
    switch (Lock(mutex, timeoutMilliseconds)) {
        case 0:
            return WaitResult::Signalled;
        case EOWNERDEAD:
            pthread_mutex_consistent(mutex);
            return WaitResult::Abandoned;
        case EBUSY:
        case ETIMEDOUT:
            return WaitResult::TimedOut;
        default:
            return WaitResult::Failed;
    }
}

bool KernelMutex::Release() {
    return handle_ && pthread_mutex_unlock(static_cast<pthread_mutex_t*>(handle_)) == 0;
}

}  // namespace KivPlatform
