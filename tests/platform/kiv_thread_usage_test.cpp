#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "platform/kiv_thread_usage.h"

using namespace KivPlatform;

namespace {

ThreadUsage Since(const ThreadUsage& before) {
    const ThreadUsage now = CurrentThreadUsage();
    return {now.cpuNanoseconds - before.cpuNanoseconds, now.involuntarySwitches - before.involuntarySwitches,
            now.voluntarySwitches - before.voluntarySwitches, now.minorFaults - before.minorFaults};
}

}  // namespace

// A tool reads these figures to tell the audio thread's own work from another thread's: the
// counts must be the calling thread's, not the process's nor a wall clock's. Another thread
// works for 30 ms of its own processor time and first-touches 64 MB of fresh memory (at
// least four faults even with 2 MB pages), while this one only waits for it. The memory is
// fresh because a block that large comes from the system and goes back to it each time (the
// C library maps requests above its largest threshold, 32 MB, on their own); a smaller one
// may reuse pages that an earlier run of the test in the same process touched, and fault no
// more (8 MB did, from the second run on).
TEST(ThreadUsage, CountsTheCallingThreadsOwnProcessorTimeAndFaultsOnly) {
    const ThreadUsage before = CurrentThreadUsage();
    ASSERT_GE(before.cpuNanoseconds, 0);
    ThreadUsage worker{};
    std::thread other([&] {
        const ThreadUsage start = CurrentThreadUsage();
        constexpr size_t kBytes = 64u << 20;
        auto* fresh = static_cast<volatile char*>(std::malloc(kBytes));
        for (size_t i = 0; fresh && i < kBytes; i += 4096) fresh[i] = 1;
        std::free(const_cast<char*>(fresh));
        volatile double sink = 1.0;
        while (Since(start).cpuNanoseconds < 30000000) {
            for (int i = 0; i < 100000; ++i) sink = sink * 1.0000001 + 1e-9;
        }
        worker = Since(start);
    });
    other.join();
    const ThreadUsage waited = Since(before);
    EXPECT_GE(worker.cpuNanoseconds, 30000000);
    EXPECT_LT(waited.cpuNanoseconds, worker.cpuNanoseconds);
    if (before.minorFaults < 0) GTEST_SKIP() << "this system keeps no per-thread fault count";
    EXPECT_GE(worker.minorFaults, 4);
    EXPECT_LT(waited.minorFaults, worker.minorFaults);
    EXPECT_GE(waited.involuntarySwitches, 0);
    // Joining a thread that runs for 30 ms of its own time waits at least once.
    EXPECT_GE(waited.voluntarySwitches, 1);
}
