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

// The owner's thread id; 0 when free; kHandedOver when freed while threads waited, for one of
// them only. A released mutex goes to a thread that was already waiting, never back to the
// thread that let it go: one that takes it again at once (a loop of program changes) would
// otherwise keep everyone else waiting for as long as it loops (a host saving its project for
// seconds).
constexpr pid_t kHandedOver = -1;

struct MutexState {
    pthread_mutex_t guard;
    pthread_cond_t freed;
    pid_t owner = 0;
    uint32_t count = 0;
    uint32_t waiting = 0;
    bool abandoned = false;
};

// With state->guard held, by the owner or for a thread that ended.
void Free(MutexState* state) {
    state->owner = state->waiting > 0 ? kHandedOver : 0;
    state->count = 0;
    pthread_cond_signal(&state->freed);
}

void Abandon(MutexState* state) {
    pthread_mutex_lock(&state->guard);
    Free(state);
    state->abandoned = true;
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

// Waits with state->guard held until no other thread owns it; false on time-out. A thread
// that arrives finds a handed-over mutex taken: it was handed to the threads already asleep
// on `freed`, and the arriving one joins them before it may take it. The thread that just
// released it is often that arriving thread (a loop of program changes), and without the
// first wait it would take the mutex straight back while the woken thread is still on its
// way: a save behind such a loop waited for seconds, or minutes under a thread checker.
bool WaitUntilAvailable(MutexState* state, pid_t self, uint32_t timeoutMilliseconds) {
    if (state->owner == 0 || state->owner == self) return true;
    if (timeoutMilliseconds == 0) return false;
    bool waited = false;
    auto available = [&] { return state->owner == 0 || (state->owner == kHandedOver && waited); };
    ++state->waiting;
    bool taken = true;
    if (timeoutMilliseconds == kWaitForever) {
        while (!available()) {
            pthread_cond_wait(&state->freed, &state->guard);
            waited = true;
        }
    } else {
        const timespec deadline = Posix::DeadlineAfter(CLOCK_MONOTONIC, timeoutMilliseconds);
        while (!available()) {
            const bool timedOut = pthread_cond_timedwait(&state->freed, &state->guard, &deadline) != 0;
            waited = true;
            if (timedOut) {
                taken = available();
                break;
            }
        }
    }
    --state->waiting;
    if (!taken && state->owner == kHandedOver) {
        // Handed over while this thread gave up: to another waiter, or free if none is left.
        if (state->waiting == 0) state->owner = 0;
        else pthread_cond_signal(&state->freed);
    }
    return taken;
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
            tOwned.Remove(state);
            Free(state);
        }
    }
    pthread_mutex_unlock(&state->guard);
    return owned;
}

}  // namespace KivPlatform
