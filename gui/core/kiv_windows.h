#pragma once
#include <cstdint>

#include "gui/core/kiv_control_invalidator.h"
#include "gui/core/kiv_event_processor.h"
#include "gui/core/kiv_window_system.h"
#include "threads/kiv_thread.h"

// The process-wide event processor. It owns the window system and starts, with it, the
// control invalidator thread (priority "Idle") and the forced-event thread (priority "Low"),
// and stops both with it. One lives at a time; the GUI thread is the one that creates it.
class KivWindows : public KivEventProcessor {
public:
    // Takes ownership of `system` and initialises it.
    explicit KivWindows(KivWindowSystem* system);
    ~KivWindows() override;

    // The live instance, or null.
    static KivWindows* Instance();
    // The live instance's window system, or null.
    static KivWindowSystem* System();

    KivWindowSystem& GetWindowSystem() { return *system_; }
    KivControlInvalidatorThread& GetInvalidatorThread() { return invalidatorThread_; }

    // Wakes the GUI thread when it is not the GUI thread that posts.
    class KivForceExecuteEventsThread : public KivThread {
    public:
        explicit KivForceExecuteEventsThread(KivWindowSystem*& system) : system_(system) {}
        ~KivForceExecuteEventsThread() override;

    protected:
        int32_t Thread() override;

    private:
        KivWindowSystem*& system_;
    };

protected:
    void OnPosted() override;

private:
    KivWindowSystem* system_;
    KivControlInvalidatorThread invalidatorThread_;
    KivForceExecuteEventsThread forceThread_;
};
