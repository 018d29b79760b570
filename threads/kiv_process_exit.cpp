#include "threads/kiv_process_exit.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>

#include "platform/kiv_library_static.h"
#include "platform/kiv_system_thread.h"
#include "threads/kiv_thread.h"

namespace KivProcessExit {
namespace {

// A thread that cannot reach a safe point in this time (stuck in a host call, say) is left
// to run: the process ends anyway, as it would have without us.
constexpr auto kLongestWait = std::chrono::milliseconds(1000);

struct State {
    std::mutex mutex;
    std::condition_variable changed;
    Body* bodies = nullptr;  // running bodies, linked through their own stacks
    int running = 0;
    int parked = 0;
    std::atomic<bool> ending{false};
};

// Never destroyed: parked threads sleep on it while the statics around it are destroyed.
// It lives in the library's own memory and holds nothing on the heap, so an unload takes it
// along and leaves nothing behind.
State& TheState() {
    alignas(State) static unsigned char storage[sizeof(State)];
    static State* state = new (storage) State;
    return *state;
}

void AtProcessExit() {
    State& state = TheState();
    std::unique_lock<std::mutex> lock(state.mutex);
    state.ending.store(true);
    // A thread of ours that ends the process itself cannot park. (No thread-local record
    // tells: this also runs while the library is unloaded, where a first touch of one would
    // leave the thread a block of the vanishing library.)
    const uint32_t caller = KivPlatform::CurrentThreadId();
    int self = 0;
    for (Body* body = state.bodies; body != nullptr; body = body->next) {
        if (body->systemId == caller) self = 1;
        else body->thread->Wake();
    }
    state.changed.wait_for(lock, kLongestWait, [&] { return state.parked + self >= state.running; });
}

}  // namespace

void EnterBody(Body& body) {
    if constexpr (!KivPlatform::kThreadsRunDuringProcessExit) return;
    State& state = TheState();
    body.systemId = KivPlatform::CurrentThreadId();
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        body.previous = nullptr;
        body.next = state.bodies;
        if (state.bodies != nullptr) state.bodies->previous = &body;
        state.bodies = &body;
        ++state.running;
    }
    ParkIfEnding();
}

void LeaveBody(Body& body) {
    if constexpr (!KivPlatform::kThreadsRunDuringProcessExit) return;
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (body.previous != nullptr) body.previous->next = body.next;
    else state.bodies = body.next;
    if (body.next != nullptr) body.next->previous = body.previous;
    --state.running;
    state.changed.notify_all();
}

void ParkIfEnding() {
    if constexpr (!KivPlatform::kThreadsRunDuringProcessExit) return;
    State& state = TheState();
    if (!state.ending.load(std::memory_order_relaxed)) return;
    std::unique_lock<std::mutex> lock(state.mutex);
    ++state.parked;
    state.changed.notify_all();
    for (;;) state.changed.wait(lock);
}

bool IsEnding() {
    if constexpr (!KivPlatform::kThreadsRunDuringProcessExit) return false;
    return TheState().ending.load();
}

void Watch() {
    if constexpr (KivPlatform::kThreadsRunDuringProcessExit) KivPlatform::SetLibraryEndHook(&AtProcessExit);
}

}  // namespace KivProcessExit
