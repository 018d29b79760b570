#pragma once

class KivThread;

// Told on the worker thread, right after a thread's body has finished. The GUI toolkit
// forwards it to its own thread as a thread-notify event.
class KivThreadNotificationTarget {
public:
    virtual void OnThreadNotify(KivThread& thread) = 0;

protected:
    ~KivThreadNotificationTarget() = default;
};
