#pragma once
#include <cstdint>

namespace KivPlatform {

// What the calling thread has cost the system since it started, for tools that tell a
// thread's own work from the time the machine took the processor away from it. Counters that
// a system does not keep read -1.
struct ThreadUsage {
    // Processor time the thread ran. Linux counts it to the nanosecond; Windows only in steps
    // of its scheduler tick (about 15.6 ms), too coarse for one audio block.
    int64_t cpuNanoseconds = -1;
    // Times the scheduler took the processor from the thread while it could still run.
    int64_t involuntarySwitches = -1;
    // Times the thread gave the processor up itself: it waited (a lock, a sleep, I/O).
    int64_t voluntarySwitches = -1;
    // Page faults served without I/O: first touches of fresh memory, mostly.
    int64_t minorFaults = -1;
};

// Two system calls on Linux: keep them outside the interval a tool times.
ThreadUsage CurrentThreadUsage();

}  // namespace KivPlatform
