#include <errno.h>
#include <pthread.h>

#include "platform/kiv_kernel_semaphore.h"
#include "platform/posix/kiv_posix_deadline.h"

namespace KivPlatform {
namespace {

// A counter under a mutex rather than sem_t: sem_t has no maximum count and times out
// against the wall clock, which jumps when the user sets the time.
struct SemaphoreState {
    pthread_mutex_t mutex;
    pthread_cond_t available;
    int32_t count;
    int32_t maximum;
};

SemaphoreState* CreateState(int32_t initialCount, int32_t maximumCount) {
    if (maximumCount <= 0 || initialCount < 0 || initialCount > maximumCount) return nullptr;
    auto* state = new SemaphoreState{};
    pthread_mutex_init(&state->mutex, nullptr);
    pthread_condattr_t attributes;
    pthread_condattr_init(&attributes);
    pthread_condattr_setclock(&attributes, CLOCK_MONOTONIC);
    pthread_cond_init(&state->available, &attributes);
    pthread_condattr_destroy(&attributes);
    state->count = initialCount;
    state->maximum = maximumCount;
    return state;
}

// Waits with state->mutex held until a count is there; false on time-out.
bool WaitForCount(SemaphoreState* state, uint32_t timeoutMilliseconds) {
    if (timeoutMilliseconds == kWaitForever) {
        while (state->count == 0) pthread_cond_wait(&state->available, &state->mutex);
        return true;
    }
    const timespec deadline = Posix::DeadlineAfter(CLOCK_MONOTONIC, timeoutMilliseconds);
    while (state->count == 0) {
        if (timeoutMilliseconds == 0) return false;
        if (pthread_cond_timedwait(&state->available, &state->mutex, &deadline) == ETIMEDOUT)
            return state->count > 0;
    }
    return true;
}

}  // namespace

KernelSemaphore::KernelSemaphore(int32_t initialCount, int32_t maximumCount)
    : handle_(CreateState(initialCount, maximumCount)) {}

KernelSemaphore::~KernelSemaphore() {
    if (!handle_) return;
    auto* state = static_cast<SemaphoreState*>(handle_);
    pthread_cond_destroy(&state->available);
    pthread_mutex_destroy(&state->mutex);
    delete state;
}

WaitResult KernelSemaphore::Wait(uint32_t timeoutMilliseconds) {
    if (!handle_) return WaitResult::Failed;
    auto* state = static_cast<SemaphoreState*>(handle_);
    pthread_mutex_lock(&state->mutex);
    const bool taken = WaitForCount(state, timeoutMilliseconds);
    if (taken) --state->count;
    pthread_mutex_unlock(&state->mutex);
    return taken ? WaitResult::Signalled : WaitResult::TimedOut;
}

bool KernelSemaphore::Release() {
    if (!handle_) return false;
    auto* state = static_cast<SemaphoreState*>(handle_);
    pthread_mutex_lock(&state->mutex);
    const bool room = state->count < state->maximum;
    if (room) {
        ++state->count;
        // Signalled with the mutex held: a woken waiter may destroy the semaphore right after.
        pthread_cond_signal(&state->available);
    }
    pthread_mutex_unlock(&state->mutex);
    return room;
}

}  // namespace KivPlatform
