#include "threads/kiv_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>

#include "base/kiv_exception.h"
#include "base/kiv_trace.h"
#include "platform/kiv_clock.h"
#include "platform/kiv_scheduling.h"
#include "threads/kiv_thread_notification_target.h"
#include "threads/kiv_unload_flag.h"

namespace {

template <typename Condition>
bool Eventually(Condition condition) {
    const uint32_t start = KivPlatform::Milliseconds();
    while (!condition()) {
        if (KivPlatform::Milliseconds() - start > 2000) return false;
        KivPlatform::SleepMilliseconds(1);
    }
    return true;
}

// The body pattern of the system's own threads: stop check, wait for a wake, one pass.
class Worker : public KivThread {
public:
    ~Worker() override { Stop(); }
    std::atomic<int> passes{0};
    std::atomic<bool> finished{false};

protected:
    int32_t Thread() override {
        for (;;) {
            if (IsStopRequested()) return 0;
            WaitForWake();
            passes.fetch_add(1);
        }
    }
    void OnThreadFinished() override { finished = true; }
};

enum class Ending { Return, RaiseKivException, RaiseOther };

class OneShot : public KivThread, public KivThreadNotificationTarget {
public:
    explicit OneShot(Ending ending) : ending_(ending) { SetNotificationTarget(this); }
    ~OneShot() override { Stop(); }
    std::atomic<bool> ran{false}, finished{false}, notified{false};

    void OnThreadNotify(KivThread& thread) override { notified = &thread == this; }

protected:
    int32_t Thread() override {
        ran = true;
        if (ending_ == Ending::RaiseKivException) throw KivException("failed in the body");
        if (ending_ == Ending::RaiseOther) throw std::runtime_error("not ours");
        return 5;
    }
    void OnThreadFinished() override { finished = true; }

private:
    Ending ending_;
};

std::string gTrace;
void CaptureTrace(const KivString& text) { gTrace += text.ToUTF8(); }

}  // namespace

TEST(KivThread, RunsWakesStopsAndStartsAgain) {
    Worker worker;
    worker.Start();
    worker.Resume();
    worker.Wake();
    ASSERT_TRUE(Eventually([&] { return worker.passes == 1; }));
    worker.Wake();
    ASSERT_TRUE(Eventually([&] { return worker.passes == 2; }));
    EXPECT_FALSE(worker.WaitForEnd(20));  // still running
    EXPECT_FALSE(worker.IsStopRequested());

    worker.Stop();
    EXPECT_TRUE(worker.finished);
    EXPECT_EQ(worker.GetExitCode(), KivThread::kEndedExitCode);
    EXPECT_FALSE(worker.IsStopRequested());  // cleared once ended
    EXPECT_TRUE(worker.WaitForEnd(0));     // nothing left to wait for

    worker.finished = false;
    const int passesBefore = worker.passes;
    worker.Start();
    worker.Resume();
    worker.Wake();
    ASSERT_TRUE(Eventually([&] { return worker.passes > passesBefore; }));
    worker.Stop();
    EXPECT_TRUE(worker.finished);
}

TEST(KivThread, AStopRequestedBeforeTheFirstRunSkipsTheBody) {
    OneShot thread(Ending::Return);
    thread.Start();
    thread.RequestStop();
    thread.Resume();
    EXPECT_TRUE(thread.WaitForEnd());
    EXPECT_EQ(thread.GetLastSystemExitCode(), 0u);
    EXPECT_FALSE(thread.ran);
    EXPECT_FALSE(thread.finished);
    EXPECT_FALSE(thread.notified);

    OneShot neverResumed(Ending::Return);  // destroyed while still suspended: must not hang
    neverResumed.Start();
}

TEST(KivThread, TheBodysEndIsReportedAndExceptionsStayInside) {
    KivTrace::Sink previous = KivTrace::SetSink(CaptureTrace);
    gTrace.clear();

    OneShot normal(Ending::Return);
    normal.Start();
    normal.Resume();
    EXPECT_TRUE(normal.WaitForEnd());
    EXPECT_EQ(normal.GetLastSystemExitCode(), 5u);
    EXPECT_TRUE(normal.finished);
    EXPECT_TRUE(normal.notified);

    OneShot ours(Ending::RaiseKivException);
    ours.Start();
    ours.Resume();
    EXPECT_TRUE(ours.WaitForEnd());
    EXPECT_EQ(ours.GetLastSystemExitCode(), KivThread::kFailedExitCode);
    EXPECT_FALSE(ours.finished);
    EXPECT_EQ(gTrace, "");

    OneShot foreign(Ending::RaiseOther);
    foreign.Start();
    foreign.Resume();
    EXPECT_TRUE(foreign.WaitForEnd());
    EXPECT_EQ(foreign.GetLastSystemExitCode(), KivThread::kFailedExitCode);
    EXPECT_EQ(gTrace, "SYSTEM EXCEPTION! KivThreadProc");
    KivTrace::SetSink(previous);
}

TEST(KivThread, PrioritiesMapToWin32LevelsAndStartTheThread) {
    EXPECT_STREQ(KivThread::PriorityName(KivThread::kIdle), "Idle");
    EXPECT_STREQ(KivThread::PriorityName(KivThread::kNormal), "Normal");
    EXPECT_STREQ(KivThread::PriorityName(KivThread::kCritical), "Critical");
    EXPECT_EQ(KivThread::PriorityName(static_cast<KivThread::Priority>(7)), nullptr);
    const int32_t expected[] = {-15, -2, -1, 0, 1, 2, 15};
    for (int32_t index = 0; index < KivThread::kPriorityCount; ++index)
        EXPECT_EQ(KivThread::SystemPriority(static_cast<KivThread::Priority>(index)), expected[index]);

    Worker worker;
    worker.SetPriority(KivThread::kCritical);  // creates the thread, still suspended
    EXPECT_EQ(worker.GetSystemPriority(), 15);
    worker.SetPriority(KivThread::kLow);
    EXPECT_EQ(worker.GetSystemPriority(), -1);
    worker.Resume();
    worker.Wake();
    EXPECT_TRUE(Eventually([&] { return worker.passes == 1; }));
    EXPECT_THROW(worker.SetPriority(static_cast<KivThread::Priority>(9)), KivException);
}

TEST(KivThread, StartsNothingWhileTheLibraryIsBeingUnloaded) {
    Worker worker;
    KivSetModuleUnloading(true);
    EXPECT_THROW(worker.Start(), KivException);
    KivSetModuleUnloading(false);
    worker.Start();
    worker.Resume();
    worker.Wake();
    EXPECT_TRUE(Eventually([&] { return worker.passes == 1; }));
}
