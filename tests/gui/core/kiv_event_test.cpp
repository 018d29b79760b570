// Events, their withdrawal, the event processor's queue and the extension table.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "base/kiv_trace.h"

#include "gui/core/kiv_control.h"
#include "gui/core/kiv_event.h"
#include "gui/core/kiv_event_processor.h"

namespace {

struct Listener : KivEventTarget {
    explicit Listener(std::vector<int>* log, int id) : log(log), id(id) {}
    void OnNotify(KivOnNotifyParams&) { log->push_back(id); }
    std::vector<int>* log;
    int id;
};

// A handler that removes other handlers' targets while the event runs.
struct Remover : KivEventTarget {
    void OnNotify(KivOnNotifyParams&) {
        delete victim;
        victim = nullptr;
    }
    Listener* victim = nullptr;
};

TEST(KivEvent, PopHandlerWithoutHandlersRaisesIndexOutOfRange) {
    KivEvent<KivOnNotifyParams> event;
    try {
        event.PopHandler();
        FAIL() << "no exception";
    } catch (const KivException& e) {
        EXPECT_EQ(e.GetMessage(), KivString("Index out of range."));
    }
    std::vector<int> log;
    Listener a(&log, 1), b(&log, 2);
    event.AddHandler(&a, &Listener::OnNotify);
    event.AddHandler(&b, &Listener::OnNotify);
    event.PopHandler();  // the last one: b
    event.Raise(KivOnNotifyParams{});
    EXPECT_EQ(log, (std::vector<int>{1}));
}

TEST(KivEvent, DestroyedTargetIsWithdrawnFromEveryEvent) {
    std::vector<int> log;
    KivEvent<KivOnNotifyParams> first, second;
    Listener keep(&log, 1);
    auto* dying = new Listener(&log, 2);
    first.AddHandler(&keep, &Listener::OnNotify);
    first.AddHandler(dying, &Listener::OnNotify);
    first.AddHandler(dying, &Listener::OnNotify);
    second.AddHandler(dying, &Listener::OnNotify);
    delete dying;
    first.Raise(KivOnNotifyParams{});
    second.Raise(KivOnNotifyParams{});
    EXPECT_EQ(log, (std::vector<int>{1}));
    EXPECT_EQ(first.GetHandlerCount(), 1);
    EXPECT_EQ(second.GetHandlerCount(), 0);
}

TEST(KivEvent, DyingEventLeavesItsTargetsSafe) {
    std::vector<int> log;
    Listener target(&log, 1);
    {
        KivEvent<KivOnNotifyParams> event;
        event.AddHandler(&target, &Listener::OnNotify);
    }
    // The target's destructor must not reach the dead event (checked by sanitizers and by
    // not crashing).
    KivEvent<KivOnNotifyParams> other;
    other.AddHandler(&target, &Listener::OnNotify);
    other.Raise(KivOnNotifyParams{});
    EXPECT_EQ(log, (std::vector<int>{1}));
}

TEST(KivEvent, HandlerDestroyingALaterTargetDuringRaiseSkipsIt) {
    std::vector<int> log;
    KivEvent<KivOnNotifyParams> event;
    Listener first(&log, 1);
    Remover remover;
    remover.victim = new Listener(&log, 3);
    Listener last(&log, 4);
    event.AddHandler(&first, &Listener::OnNotify);
    event.AddHandler(&remover, &Remover::OnNotify);
    event.AddHandler(remover.victim, &Listener::OnNotify);
    event.AddHandler(&last, &Listener::OnNotify);
    event.Raise(KivOnNotifyParams{});
    EXPECT_EQ(log, (std::vector<int>{1, 4}));
}

TEST(KivEventProcessor, QueuedEventsRunOnceAndDieWithTheirEvent) {
    std::vector<int> log;
    KivEventProcessor processor;
    Listener target(&log, 7);
    KivEvent<KivOnNotifyParams> kept;
    kept.AddHandler(&target, &Listener::OnNotify);
    auto* dropped = new KivEvent<KivOnNotifyParams>();
    dropped->AddHandler(&target, &Listener::OnNotify);
    processor.Post(kept, KivOnNotifyParams{});
    processor.Post(*dropped, KivOnNotifyParams{});
    processor.Post(kept, KivOnNotifyParams{});
    delete dropped;
    EXPECT_EQ(processor.ExecuteQueued(), 2);
    EXPECT_EQ(log, (std::vector<int>{7, 7}));
    EXPECT_FALSE(processor.HasQueued());
}

struct Thrower : KivEventTarget {
    void OnNotify(KivOnNotifyParams&) { throw std::runtime_error("broken handler"); }
};

std::vector<std::string>* traces = nullptr;
void Collect(const KivString& text) {
    if (traces != nullptr) traces->push_back(text.ToUTF8());
}

TEST(KivEventProcessor, AFailingHandlerIsReportedAndTheQueueGoesOn) {
    std::vector<std::string> collected;
    traces = &collected;
    KivTrace::Sink previous = KivTrace::SetSink(&Collect);
    std::vector<int> log;
    KivEventProcessor processor;
    Thrower thrower;
    Listener listener(&log, 5);
    KivEvent<KivOnNotifyParams> failing, working;
    failing.AddHandler(&thrower, &Thrower::OnNotify);
    working.AddHandler(&listener, &Listener::OnNotify);
    processor.Post(failing, KivOnNotifyParams{});
    processor.Post(working, KivOnNotifyParams{});
    EXPECT_EQ(processor.ExecuteQueued(), 2);
    KivTrace::SetSink(previous);
    traces = nullptr;
    EXPECT_EQ(log, (std::vector<int>{5}));
    EXPECT_EQ(collected, (std::vector<std::string>{"SYSTEM EXCEPTION! KivEventProcessor::ExecuteQueued"}));
}

TEST(KivControlExtensions, ProbesFromSlotSevenCyclically) {
    KivControlExtensions table;
    EXPECT_EQ(kKivNativeRecordTag, 0x44573357u);  // "W3WD" in memory order
    int marker = 0;
    EXPECT_EQ(table.Set(kKivNativeRecordTag, &marker), 7);
    for (uint32_t tag = 1; tag <= 8; ++tag) table.Set(tag, nullptr);  // slots 8..15
    EXPECT_EQ(table.Set(100, nullptr), 0);                               // wraps around
    EXPECT_EQ(table.Find(100), 0);
    EXPECT_EQ(table.Get(kKivNativeRecordTag), &marker);
    for (uint32_t tag = 101; tag <= 106; ++tag) table.Set(tag, nullptr);  // slots 1..6
    EXPECT_THROW(table.Set(200, nullptr), KivException);
    EXPECT_EQ(table.Find(200), -1);
    // A freed slot is reused; a tag found later in the probe is still found.
    table.Remove(kKivNativeRecordTag);
    EXPECT_EQ(table.Set(200, nullptr), 7);
    EXPECT_EQ(table.Find(106), 6);
}

TEST(KivControl, PlasticSizeIsNotImplementedByTheBase) {
    KivControl control;
    try {
        control.ComputePlasticSize(KivPoint{10, 10});
        FAIL() << "no exception";
    } catch (const KivException& e) {
        EXPECT_EQ(e.GetCode(), KivException::kNotImplemented);
    }
}

}  // namespace
