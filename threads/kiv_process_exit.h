#pragma once
#include <cstdint>

class KivThread;

// Keeps the library's threads out of the process's end. A host that ends without closing
// every instance (a leaked instance, a host that simply returns from main) leaves the
// instances' threads running while exit() destroys static objects, ours and the host's:
// a thread waking then would run on destroyed objects or call into a host that is going
// away. When the process ends, every thread of the library is parked at its next safe
// point (IsStopRequested or WaitForWake, where it holds no lock) and sleeps there until the
// process is gone; the exit waits for that before any static object of ours is destroyed.
// No thread is ever ended by force: one killed inside a lock or an allocation would leave
// them taken for the destructors that follow.
namespace KivProcessExit {

// A running body, kept on the stack of its own thread for as long as the body runs.
struct Body {
    KivThread* thread = nullptr;
    uint32_t systemId = 0;
    Body* previous = nullptr;
    Body* next = nullptr;
};

// A thread's body starts or ends: only running bodies are waited for.
void EnterBody(Body& body);
void LeaveBody(Body& body);
// At a safe point of a running body: never returns once the process is ending.
void ParkIfEnding();
// Whether the process is ending: a parked thread never ends, so nothing may wait for it.
bool IsEnding();
// Makes the end of the process wait for the running bodies to park, before the library's
// statics (KivPlatform::LibraryStatic) are destroyed. Called whenever a thread is created;
// the end is registered with the C library once, however often this is called.
void Watch();

}  // namespace KivProcessExit
