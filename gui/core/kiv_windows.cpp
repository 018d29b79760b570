#include "gui/core/kiv_windows.h"

#include <atomic>

#include "base/kiv_boundary.h"
#include "base/kiv_exception.h"
#include "base/kiv_trace.h"

namespace {
std::atomic<KivWindows*> instance{nullptr};
// Taken for the whole life of an instance, so that two window systems never start at once.
std::atomic<bool> claimed{false};

void StartThread(KivThread& thread, KivThread::Priority priority) {
    thread.Start();
    thread.SetPriority(priority);
    thread.Resume();
}
}  // namespace

// Published only once everything runs: a half-built instance that other threads could already
// see (and post to) would be left dangling when a later step fails.
KivWindows::KivWindows(KivWindowSystem* system) : system_(system), forceThread_(system_) {
    if (claimed.exchange(true)) {
        delete system;
        system_ = nullptr;
        throw KivException(KivString("The window system is already running."));
    }
    try {
        system_->Initialize();
        StartThread(invalidatorThread_, KivThread::kIdle);
        StartThread(forceThread_, KivThread::kLow);
    } catch (...) {
        invalidatorThread_.Stop();
        forceThread_.Stop();
        delete system_;
        system_ = nullptr;
        claimed.store(false);
        throw;
    }
    instance.store(this);
}

KivWindows::~KivWindows() {
    KivTrace::Write(KivString("Destroying invalidator thread"));
    invalidatorThread_.Stop();
    KivTrace::Write(KivString("Destroying force execute thread"));
    forceThread_.Stop();
    instance.store(nullptr);
    delete system_;
    system_ = nullptr;
    claimed.store(false);
}

KivWindows* KivWindows::Instance() { return instance.load(); }

KivWindowSystem* KivWindows::System() {
    KivWindows* windows = instance.load();
    return windows == nullptr ? nullptr : windows->system_;
}

void KivWindows::OnPosted() { forceThread_.Wake(); }

KivWindows::KivForceExecuteEventsThread::~KivForceExecuteEventsThread() { Stop(); }

int32_t KivWindows::KivForceExecuteEventsThread::Thread() {
    return KivGuard("KivForceExecuteEventsThread::Thread", 0, [&]() -> int32_t {
        for (;;) {
            if (IsStopRequested()) return 0;
            WaitForWake();
            if (IsStopRequested()) return 0;
            // Several posts since the last pass need one wake of the GUI thread.
            while (WaitForWake(0)) {
            }
            if (system_ != nullptr) system_->SendForceExecuteEvents();
        }
    });
}
