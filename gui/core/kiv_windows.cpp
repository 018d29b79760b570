#include "gui/core/kiv_windows.h"

#include <atomic>

#include "base/kiv_boundary.h"
#include "base/kiv_exception.h"
#include "base/kiv_trace.h"

namespace {
std::atomic<KivWindows*> instance{nullptr};
}

KivWindows::KivWindows(KivWindowSystem* system) : system_(system), forceThread_(system_) {
    if (instance.load() != nullptr) {
        delete system;
        system_ = nullptr;
        throw KivException(KivString("The window system is already running."));
    }
    try {
        system_->Initialize();
    } catch (...) {
        delete system_;
        system_ = nullptr;
        throw;
    }
    instance.store(this);
    invalidatorThread_.Start();
    invalidatorThread_.SetPriority(KivThread::kIdle);
    invalidatorThread_.Resume();
    forceThread_.Start();
    forceThread_.SetPriority(KivThread::kLow);
    forceThread_.Resume();
}

KivWindows::~KivWindows() {
    KivTrace::Write(KivString("Destroying invalidator thread"));
    invalidatorThread_.Stop();
    KivTrace::Write(KivString("Destroying force execute thread"));
    forceThread_.Stop();
    if (instance.load() == this) instance.store(nullptr);
    delete system_;
    system_ = nullptr;
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
