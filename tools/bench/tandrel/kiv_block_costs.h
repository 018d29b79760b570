#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/kiv_thread_usage.h"

// What each block cost the thread that processed it: the wall time a host waits, and beside it
// the thread's own processor time, the times the scheduler took the processor away, and the
// page faults the block met. A block whose wall time far exceeds its processor time waited for
// the machine (another thread, an interrupt, the hypervisor), not for the plug-in's work.
namespace KivBlockCosts {

struct Cost {
    double wallMicroseconds = 0.0;
    double cpuMicroseconds = 0.0;  // negative where the system keeps no such count
    int64_t involuntarySwitches = 0;
    int64_t voluntarySwitches = 0;  // the thread waited: a lock, a sleep
    int64_t minorFaults = 0;
};

// Brackets one block: the thread's counters are read outside the wall-clock interval so that
// their system calls cost the block nothing.
class Meter {
public:
    void Start();
    Cost Stop(double wallMicroseconds) const;

private:
    KivPlatform::ThreadUsage before_;
};

struct Figures {
    double median = 0.0, p99 = 0.0, p999 = 0.0, worst = 0.0;
};

Figures Percentiles(std::vector<double> values);

struct Summary {
    Figures wall, cpu;
    int64_t switchedBlocks = 0;  // blocks in which the scheduler took the processor away
    int64_t waitedBlocks = 0;    // blocks in which the thread waited (a voluntary switch)
    int64_t minorFaults = 0;     // over all blocks
    // Of the blocks longer than the limit (0.2 ms): how many ran that long on the processor.
    int64_t longBlocks = 0, longOnProcessor = 0;
};

constexpr double kLongBlockMicroseconds = 200.0;

Summary Summarise(const std::vector<Cost>& costs);

// Blocks replayed: every run plays the same blocks, so the fastest of the runs of each block
// comes closest to its own cost; block by block, the cost of that fastest run.
std::vector<Cost> FastestOfRuns(const std::vector<std::vector<Cost>>& runs);

// A fixed piece of arithmetic that takes about `microseconds` on this machine when nothing
// disturbs it (calibrated on the first call), for a reference of how much the machine alone
// stretches equal work.
class FixedWork {
public:
    explicit FixedWork(double microseconds);
    void Run() const;

private:
    int64_t iterations_;
};

// The `count` longest blocks, one line each: index, wall and processor time, switches, faults.
std::string Longest(const std::vector<Cost>& costs, int32_t count);

}  // namespace KivBlockCosts
