#pragma once
#include <atomic>
#include <cstdint>

#include "base/kiv_object.h"
#include "platform/kiv_system_thread.h"
#include "platform/kiv_wake_signal.h"
#include "threads/kiv_lock.h"
#include "threads/kiv_mutex.h"

class KivThreadNotificationTarget;

// A worker thread with a cooperative stop protocol. Subclasses put their work in Thread();
// the usual body loops: return when IsStopRequested(), WaitForWake(), do one pass of work.
//
// Stopping waits for the body, which still runs subclass code: a subclass with state must
// call Stop() in its own destructor, before that state is gone. A thread is never ended
// without its cooperation; while it runs it keeps the library loaded.
class KivThread : public KivObject {
public:
    enum Priority : int32_t { kIdle, kLowest, kLow, kNormal, kHigh, kHighest, kCritical };
    static constexpr int32_t kPriorityCount = 7;
    static constexpr uint32_t kForever = KivSynchronizer::kForever;
    // Exit code of a body that raised.
    static constexpr uint32_t kFailedExitCode = 0xFFFFFFFFu;
    // Exit code once the thread has been waited for or ended.
    static constexpr int32_t kEndedExitCode = -2;

    KivThread();
    ~KivThread() override;
    KivThread(const KivThread&) = delete;
    KivThread& operator=(const KivThread&) = delete;

    // "Idle" .. "Critical"; null outside the enumeration.
    static const char* PriorityName(Priority priority);
    // The Win32 thread priority of `priority` (-15 .. 15).
    static int32_t SystemPriority(Priority priority);

    // Creates the system thread, suspended, unless it exists. Raises "Could not create system
    // thread." (also while the library is being unloaded).
    void Start();
    // Lets a started thread run.
    void Resume();
    // Starts the thread first if needed. Raises "Could not set thread priority.".
    void SetPriority(Priority priority);
    // The system thread's current priority; 0 when there is none.
    int32_t GetSystemPriority();
    bool IsStopRequested();
    // Takes no lock, so the audio thread may wake a worker. Wakes given before the body
    // waits again are kept and end one wait together.
    void Wake() noexcept;
    // True when the thread has ended (or never existed); false on time-out, leaving it running.
    bool WaitForEnd(uint32_t timeout = kForever);
    // Sets the stop flag and wakes the body, without waiting.
    void RequestStop();
    // The whole stop protocol: request, wake, wait without limit.
    void Stop();

    int32_t GetExitCode() const { return exitCode_.load(); }
    // What the system thread of the last run returned (0 when stopped before its body ran).
    uint32_t GetLastSystemExitCode() const { return lastSystemExitCode_; }
    void SetNotificationTarget(KivThreadNotificationTarget* target) { notificationTarget_ = target; }

protected:
    // The body; its result becomes the exit code.
    virtual int32_t Thread();
    virtual void OnThreadFinished();
    // Waits for Wake(); true when woken, false on time-out.
    bool WaitForWake(uint32_t timeout = kForever);

private:
    static uint32_t ThreadEntry(void* argument);
    uint32_t RunBody();
    void ForgetEndedThread();

    KivPlatform::SystemThread handle_ = nullptr;
    std::atomic<int32_t> exitCode_{0};
    bool stopRequested_ = false;
    KivLock flagLock_;
    KivPlatform::WakeSignal wakeSignal_;
    KivMutex startMutex_;
    KivThreadNotificationTarget* notificationTarget_ = nullptr;
    uint32_t lastSystemExitCode_ = 0;
};
