#pragma once
#include <atomic>
#include <cstdint>

#include "threads/kiv_thread.h"

class KivAudioPlugin;

// Collects requests to bring the editor up to date with automation and hands them to the
// plug-in at most every 100 ms, or at once when woken, so that the thread that changes a
// parameter never waits for the GUI.
class KivAutomationUpdateRequestThread : public KivThread {
public:
    static constexpr uint32_t kIntervalMilliseconds = 100;

    explicit KivAutomationUpdateRequestThread(KivAudioPlugin& plugin) : plugin_(plugin) {}
    ~KivAutomationUpdateRequestThread() override;

    void StartRunning();
    // Counts one request; `urgent` wakes the thread instead of leaving it to the next tick.
    void Request(bool urgent);
    int32_t GetPendingCount() const noexcept { return pending_.load(); }

protected:
    int32_t Thread() override;

private:
    KivAudioPlugin& plugin_;
    std::atomic<int32_t> pending_{0};
};
