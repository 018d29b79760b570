#pragma once
#include <vector>

#include "gui/core/kiv_event.h"
#include "gui/drawing/kiv_rect.h"
#include "threads/kiv_lock.h"
#include "threads/kiv_thread.h"

class KivControl;
class KivControlInvalidatorThread;

// Collects the repaint requests of one control from any thread and hands them, merged, to
// the GUI thread: at most one repaint pass per control about every 50 ms, and none at all
// while nothing is dirty.
class KivControlInvalidator : public KivEventTarget {
public:
    // Registers with the process's invalidator thread (none: requests are kept but never
    // processed).
    explicit KivControlInvalidator(KivControl& control);
    ~KivControlInvalidator() override;

    // Any thread: merges `rect` (control coordinates) into the dirty rectangle. An empty
    // rectangle asks for nothing.
    void Invalidate(const KivRect& rect);
    // Invalidator thread: posts the repaint to the GUI thread when something is dirty.
    void Process();
    // GUI thread: takes the dirty rectangle, leaves it empty and asks the window system to
    // invalidate it.
    void OnInvalidateHandler(KivOnNotifyParams& params);

    KivRect GetDirtyRect();
    KivControl& GetControl() const { return control_; }

private:
    KivControl& control_;
    KivLock lock_;
    KivRect dirty_{0, 0, -1, -1};
    // A repaint is queued and not yet handled: later passes of the thread add nothing.
    bool posted_ = false;
    KivEvent<KivOnNotifyParams> event_;
    KivControlInvalidatorThread* thread_ = nullptr;
};

// The one invalidator thread of the process (priority "Idle"). It sleeps until a control
// becomes dirty, lets further requests gather for 50 ms and then processes every registered
// invalidator once.
class KivControlInvalidatorThread : public KivThread {
public:
    static constexpr uint32_t kMergeMilliseconds = 50;

    KivControlInvalidatorThread() = default;
    ~KivControlInvalidatorThread() override;

    void Register(KivControlInvalidator* invalidator);
    void Unregister(KivControlInvalidator* invalidator);
    // A control went from clean to dirty.
    void NoteDirty() { Wake(); }
    // Passes that processed the invalidators so far (for tests).
    int64_t GetPassCount();

protected:
    int32_t Thread() override;

private:
    KivLock lock_;
    std::vector<KivControlInvalidator*> invalidators_;
    int64_t passes_ = 0;
};
