#include "threads/kiv_thread.h"

#include "base/kiv_boundary.h"
#include "base/kiv_exception.h"
#include "threads/kiv_process_exit.h"
#include "threads/kiv_synchronizer_guard.h"
#include "threads/kiv_thread_notification_target.h"
#include "threads/kiv_unload_flag.h"

namespace {

struct PriorityEntry {
    const char* name;
    int32_t systemPriority;
};

constexpr PriorityEntry kPriorities[KivThread::kPriorityCount] = {
    {"Idle", KivPlatform::kPriorityIdle}, {"Lowest", -2}, {"Low", -1}, {"Normal", 0},
    {"High", 1},  {"Highest", 2},  {"Critical", KivPlatform::kPriorityTimeCritical},
};

bool IsValid(KivThread::Priority priority) { return priority >= 0 && priority < KivThread::kPriorityCount; }

}  // namespace

KivThread::KivThread() = default;

KivThread::~KivThread() { Stop(); }

const char* KivThread::PriorityName(Priority priority) {
    return IsValid(priority) ? kPriorities[priority].name : nullptr;
}

int32_t KivThread::SystemPriority(Priority priority) {
    return IsValid(priority) ? kPriorities[priority].systemPriority : 0;
}

void KivThread::Start() {
    KivSynchronizerGuard guard(startMutex_);
    if (handle_) return;
    // Under the unload notification a new thread would wait for the loader to let it run
    // while the loader waits for the unload to finish.
    if (KivIsModuleUnloading()) throw KivException("Could not create system thread.", KivException::kFailure);
    handle_ = KivPlatform::CreateSuspendedThread(ThreadEntry, this);
    if (!handle_) throw KivException("Could not create system thread.", KivException::kFailure);
    KivProcessExit::Watch();
}

void KivThread::Resume() {
    KivSynchronizerGuard guard(startMutex_);
    if (handle_) KivPlatform::ResumeThread(handle_);
}

void KivThread::SetPriority(Priority priority) {
    KivSynchronizerGuard guard(startMutex_);
    Start();
    if (!IsValid(priority) || !KivPlatform::SetThreadPriority(handle_, SystemPriority(priority)))
        throw KivException("Could not set thread priority.", KivException::kFailure);
}

int32_t KivThread::GetSystemPriority() {
    KivSynchronizerGuard guard(startMutex_);
    return handle_ ? KivPlatform::GetThreadPriority(handle_) : 0;
}

bool KivThread::IsStopRequested() {
    KivProcessExit::ParkIfEnding();
    KivSynchronizerGuard guard(flagLock_);
    return stopRequested_;
}

void KivThread::Wake() noexcept { wakeSignal_.Signal(); }

bool KivThread::WaitForWake(uint32_t timeout) {
    KivProcessExit::ParkIfEnding();
    const bool woken = wakeSignal_.Wait(timeout);
    KivProcessExit::ParkIfEnding();
    return woken;
}

void KivThread::RequestStop() {
    {
        KivSynchronizerGuard guard(flagLock_);
        stopRequested_ = true;
    }
    Wake();
}

void KivThread::Stop() {
    KivSynchronizerGuard guard(startMutex_);
    if (!handle_) return;
    // A static owner destroyed at the process's end: the thread is parked for good and the
    // process ends around it.
    if (KivProcessExit::IsEnding()) return;
    RequestStop();
    // A thread that was never resumed would never end; resumed now, it sees the stop flag
    // and leaves without running its body.
    KivPlatform::ResumeThread(handle_);
    WaitForEnd(kForever);
}

// The flag lock is not held here: the thread needs it to see the stop request. A thread is
// never ended without its cooperation (see kiv_system_thread.h), so this always waits; while
// the thread runs it keeps the library loaded, so an unload cannot be waiting on it.
bool KivThread::WaitForEnd(uint32_t timeout) {
    KivSynchronizerGuard guard(startMutex_);
    if (!handle_) return true;
    if (KivPlatform::WaitForThread(handle_, timeout) != KivPlatform::WaitResult::Signalled) return false;
    ForgetEndedThread();
    return true;
}

void KivThread::ForgetEndedThread() {
    lastSystemExitCode_ = KivPlatform::GetThreadExitCode(handle_);
    KivPlatform::CloseThread(handle_);
    handle_ = nullptr;
    exitCode_.store(kEndedExitCode);
    KivSynchronizerGuard guard(flagLock_);
    stopRequested_ = false;
}

int32_t KivThread::Thread() { return 0; }

void KivThread::OnThreadFinished() {}

uint32_t KivThread::ThreadEntry(void* argument) {
    auto* thread = static_cast<KivThread*>(argument);
    return KivGuard<uint32_t>("KivThreadProc", kFailedExitCode, [thread] { return thread->RunBody(); });
}

uint32_t KivThread::RunBody() {
    KivProcessExit::Body body{this};
    KivProcessExit::EnterBody(body);
    // Leaves the list however the body ends: it raises through this frame.
    struct Leave {
        KivProcessExit::Body& body;
        ~Leave() { KivProcessExit::LeaveBody(body); }
    } leave{body};
    if (IsStopRequested()) return 0;
    exitCode_.store(static_cast<int32_t>(kFailedExitCode));  // stays so if the body raises
    exitCode_.store(Thread());
    OnThreadFinished();
    if (notificationTarget_) notificationTarget_->OnThreadNotify(*this);
    return static_cast<uint32_t>(exitCode_.load());
}
