#pragma once
// The number of threads the process runs, for tests that check that threads end with their
// owner. Linux only (0 elsewhere).
#include <filesystem>
#include <thread>

namespace KivThreadCount {

inline int ThreadCount() {
#ifdef __linux__
    // A sanitizer's runtime starts a helper thread of its own with the process's first thread
    // (ThreadSanitizer's background thread): one thread started and ended here first keeps it
    // out of the differences the tests take.
    static const bool runtimeStarted = [] {
        std::thread([] {}).join();
        return true;
    }();
    (void)runtimeStarted;
    int count = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator("/proc/self/task")) ++count;
    return count;
#else
    return 0;
#endif
}

}  // namespace KivThreadCount
