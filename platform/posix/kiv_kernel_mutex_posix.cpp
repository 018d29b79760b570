#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "platform/kiv_kernel_mutex.h"
#include "platform/posix/kiv_posix_deadline.h"

// Ownership is tracked here rather than left to a robust pthread mutex: a robust mutex hands
// ownership to a waiter through EOWNERDEAD in ways thread checkers cannot follow, and
// unlocking it from a thread that does not own it is undefined. Each thread lists the mutexes
// it owns; when the thread ends, they become abandoned, as Win32 mutexes do.
namespace KivPlatform {
namespace {

struct MutexState {
    pthread_mutex_t guard;
    pthread_cond_t freed;
    pid_t owner = 0;  // 0 when free
    uint32_t count = 0;
    bool abandoned = false;
};

void Abandon(MutexState* state) {
    pthread_mutex_lock(&state->guard);
    state->owner = 0;
    state->count = 0;
    state->abandoned = true;
    pthread_cond_signal(&state->freed);
    pthread_mutex_unlock(&state->guard);
}

struct OwnedMutexes {
    std::vector<MutexState*> states;
    ~OwnedMutexes() {
        for (MutexState* state : states) Abandon(state);
    }
    void Remove(MutexState* state) {
        auto found = std::find(states.begin(), states.end(), state);
        if (found != states.end()) states.erase(found);
    }
};

thread_local OwnedMutexes tOwned;
// gettid() is a system call; the id of a thread never changes.
thread_local const pid_t tSelf = gettid();

MutexState* CreateState() {
    auto* state = new MutexState;
    pthread_mutex_init(&state->guard, nullptr);
    pthread_condattr_t attributes;
    pthread_condattr_init(&attributes);
    pthread_condattr_setclock(&attributes, CLOCK_MONOTONIC);
    pthread_cond_init(&state->freed, &attributes);
    pthread_condattr_destroy(&attributes);
    return state;
}

// Waits with state->guard held until no other thread owns it; false on time-out.
bool WaitUntilAvailable(MutexState* state, pid_t self, uint32_t timeoutMilliseconds) {
    auto available = [&] { return state->owner == 0 || state->owner == self; };
    if (timeoutMilliseconds == kWaitForever) {
        while (!available()) pthread_cond_wait(&state->freed, &state->guard);
        return true;
    }
    const timespec deadline = Posix::DeadlineAfter(CLOCK_MONOTONIC, timeoutMilliseconds);
    while (!available() && timeoutMilliseconds != 0) {
        if (pthread_cond_timedwait(&state->freed, &state->guard, &deadline) != 0) break;
    }
    return available();
}

}  // namespace

KernelMutex::KernelMutex() : handle_(CreateState()) {}

KernelMutex::~KernelMutex() {
    auto* state = static_cast<MutexState*>(handle_);
    if (state->owner == tSelf) tOwned.Remove(state);
    pthread_cond_destroy(&state->freed);
    pthread_mutex_destroy(&state->guard);
    delete state;
}

WaitResult KernelMutex::Wait(uint32_t timeoutMilliseconds) {
    auto* state = static_cast<MutexState*>(handle_);
    const pid_t self = tSelf;
    WaitResult result = WaitResult::TimedOut;
    pthread_mutex_lock(&state->guard);
    if (WaitUntilAvailable(state, self, timeoutMilliseconds)) {
        result = state->abandoned ? WaitResult::Abandoned : WaitResult::Signalled;
        state->abandoned = false;
        if (state->count++ == 0) {
            state->owner = self;
            tOwned.states.push_back(state);
        }
    }
    pthread_mutex_unlock(&state->guard);
    return result;
}

bool KernelMutex::Release() {
    auto* state = static_cast<MutexState*>(handle_);
    bool owned = false;
    pthread_mutex_lock(&state->guard);
    if (state->owner == tSelf) {
        owned = true;
        if (--state->count == 0) {
            state->owner = 0;
            tOwned.Remove(state);
            pthread_cond_signal(&state->freed);
        }
    }
    pthread_mutex_unlock(&state->guard);
    return owned;
}

}  // namespace KivPlatform
