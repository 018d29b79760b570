#include "gui/core/kiv_control_invalidator.h"

#include <algorithm>

#include "base/kiv_boundary.h"
#include "gui/core/kiv_control.h"
#include "gui/core/kiv_windows.h"
#include "platform/kiv_scheduling.h"
#include "threads/kiv_synchronizer_guard.h"

namespace {
KivRect Union(const KivRect& a, const KivRect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return KivRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                   std::max(a.bottom, b.bottom)};
}
}  // namespace

KivControlInvalidator::KivControlInvalidator(KivControl& control) : control_(control), event_(this) {
    KivGuard("KivControlInvalidator::KivControlInvalidator", [&] {
        event_.AddHandler(this, &KivControlInvalidator::OnInvalidateHandler);
        if (KivWindows* windows = KivWindows::Instance()) {
            thread_ = &windows->GetInvalidatorThread();
            thread_->Register(this);
        }
    });
}

KivControlInvalidator::~KivControlInvalidator() {
    KivGuard("KivControlInvalidator::~KivControlInvalidator", [&] {
        if (thread_ != nullptr) thread_->Unregister(this);
    });
}

void KivControlInvalidator::Invalidate(const KivRect& rect) {
    if (rect.IsEmpty()) return;
    bool becameDirty;
    {
        KivSynchronizerGuard guard(lock_);
        becameDirty = dirty_.IsEmpty() && !posted_;
        dirty_ = Union(dirty_, rect);
    }
    if (becameDirty && thread_ != nullptr) thread_->NoteDirty();
}

void KivControlInvalidator::Process() {
    KivGuard("KivControlInvalidator::Process", [&] {
        {
            KivSynchronizerGuard guard(lock_);
            if (dirty_.IsEmpty() || posted_) return;
            posted_ = true;
        }
        if (KivWindows* windows = KivWindows::Instance()) windows->Post(event_, KivOnNotifyParams{this});
    });
}

void KivControlInvalidator::OnInvalidateHandler(KivOnNotifyParams&) {
    KivGuard("KivControlInvalidator::OnInvalidateHandler", [&] {
        KivRect rect;
        {
            KivSynchronizerGuard guard(lock_);
            rect = dirty_;
            dirty_.right = -1;
            dirty_.bottom = -1;
            posted_ = false;
        }
        if (rect.IsEmpty()) return;
        if (KivWindowSystem* system = KivWindows::System()) system->Invalidate(control_, &rect);
    });
}

KivRect KivControlInvalidator::GetDirtyRect() {
    KivSynchronizerGuard guard(lock_);
    return dirty_;
}

KivControlInvalidatorThread::~KivControlInvalidatorThread() { Stop(); }

void KivControlInvalidatorThread::Register(KivControlInvalidator* invalidator) {
    KivSynchronizerGuard guard(lock_);
    invalidators_.push_back(invalidator);
}

void KivControlInvalidatorThread::Unregister(KivControlInvalidator* invalidator) {
    KivSynchronizerGuard guard(lock_);
    invalidators_.erase(std::remove(invalidators_.begin(), invalidators_.end(), invalidator), invalidators_.end());
}

int64_t KivControlInvalidatorThread::GetPassCount() {
    KivSynchronizerGuard guard(lock_);
    return passes_;
}

int32_t KivControlInvalidatorThread::Thread() {
    return KivGuard("KivControlInvalidatorThread::Thread", 0, [&]() -> int32_t {
        for (;;) {
            if (IsStopRequested()) return 0;
            // Nothing is dirty: sleep until a control becomes dirty (or the thread is stopped).
            WaitForWake();
            if (IsStopRequested()) return 0;
            // Let the requests of the next 50 ms gather into the same repaint.
            KivPlatform::SleepMilliseconds(kMergeMilliseconds);
            // Wakes from controls that became dirty meanwhile are served by this pass.
            while (WaitForWake(0)) {
            }
            KivSynchronizerGuard guard(lock_);
            for (KivControlInvalidator* invalidator : invalidators_) invalidator->Process();
            ++passes_;
        }
    });
}
