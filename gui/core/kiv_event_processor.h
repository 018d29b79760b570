#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <utility>

#include "base/kiv_object.h"
#include "gui/core/kiv_event.h"
#include "threads/kiv_lock.h"

// Executes events on the GUI thread. Any thread may post an event with its parameters; the
// GUI thread runs what is queued when the window system hands it the forced-execution
// message (or when it pumps its queue). An event that dies is withdrawn from every queue.
class KivEventProcessor : public KivObject {
public:
    KivEventProcessor();
    ~KivEventProcessor() override;
    KivEventProcessor(const KivEventProcessor&) = delete;
    KivEventProcessor& operator=(const KivEventProcessor&) = delete;

    // Any thread: queues `event` to be raised with a copy of `params`.
    template <typename Params, typename Handler>
    void Post(KivEvent<Params, Handler>& event, Params params) {
        Enqueue(&event, [&event, params]() mutable { event.Raise(params); });
    }

    // GUI thread: raises every event queued so far (not those that its handlers post); the
    // count of events raised.
    int32_t ExecuteQueued();
    bool HasQueued();

    // Removes whatever is queued for `event` from every live processor.
    static void WithdrawEverywhere(KivEventBase* event);
    // Creates the registry of live processors; each event target asks for it first, so that
    // it outlives them all (see KivEventLock).
    static void EnsureRegistry();

protected:
    // Called after a post, outside the queue lock: the process-wide processor wakes the GUI
    // thread here.
    virtual void OnPosted() {}

private:
    struct Posted {
        KivEventBase* event;
        uint64_t serial;
        std::function<void()> fire;
    };
    void Enqueue(KivEventBase* event, std::function<void()> fire);
    void Withdraw(KivEventBase* event);

    // Taken alone, never with another lock held inside it, so any thread may post while the
    // GUI thread holds the event lock.
    KivLock queueLock_;
    std::deque<Posted> queue_;
    uint64_t nextSerial_ = 1;
};
