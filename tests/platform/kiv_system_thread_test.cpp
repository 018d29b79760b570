#include "platform/kiv_system_thread.h"

#include <gtest/gtest.h>

#include <atomic>

#include "platform/kiv_clock.h"
#include "platform/kiv_scheduling.h"

using namespace KivPlatform;

namespace {

struct Probe {
    std::atomic<bool> ran{false};
    std::atomic<bool> release{false};
    std::atomic<uint32_t> threadId{0};
};

uint32_t RecordAndReturn(void* argument) {
    auto* probe = static_cast<Probe*>(argument);
    probe->threadId = CurrentThreadId();
    probe->ran = true;
    return 42;
}

uint32_t BlockUntilReleased(void* argument) {
    auto* probe = static_cast<Probe*>(argument);
    probe->ran = true;
    while (!probe->release) SleepMilliseconds(1);
    return 7;
}

}  // namespace

TEST(SystemThread, RunsOnlyAfterResumeAndReportsItsExitCode) {
    Probe probe;
    SystemThread thread = CreateSuspendedThread(RecordAndReturn, &probe);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForThread(thread, 30), WaitResult::TimedOut);
    EXPECT_FALSE(probe.ran);
    EXPECT_TRUE(ResumeThread(thread));
    EXPECT_EQ(WaitForThread(thread, kWaitForever), WaitResult::Signalled);
    EXPECT_TRUE(probe.ran);
    EXPECT_EQ(GetThreadExitCode(thread), 42u);
    EXPECT_NE(probe.threadId.load(), CurrentThreadId());
    EXPECT_EQ(WaitForThread(thread, 0), WaitResult::Signalled);  // stays signalled
    CloseThread(thread);
}

TEST(SystemThread, TimedWaitOnARunningThreadTimesOutThenSucceeds) {
    Probe probe;
    SystemThread thread = CreateSuspendedThread(BlockUntilReleased, &probe);
    ASSERT_NE(thread, nullptr);
    ResumeThread(thread);
    const uint32_t start = Milliseconds();
    EXPECT_EQ(WaitForThread(thread, 50), WaitResult::TimedOut);
    EXPECT_GE(Milliseconds() - start, 40u);
    probe.release = true;
    EXPECT_EQ(WaitForThread(thread, 5000), WaitResult::Signalled);
    EXPECT_EQ(GetThreadExitCode(thread), 7u);
    CloseThread(thread);
}

TEST(SystemThread, PriorityIsKeptForTheThread) {
    Probe probe;
    SystemThread thread = CreateSuspendedThread(RecordAndReturn, &probe);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(SetThreadPriority(thread, kPriorityTimeCritical));
    EXPECT_EQ(GetThreadPriority(thread), kPriorityTimeCritical);
    EXPECT_TRUE(SetThreadPriority(thread, kPriorityIdle));
    EXPECT_EQ(GetThreadPriority(thread), kPriorityIdle);
    ResumeThread(thread);
    WaitForThread(thread, kWaitForever);
    CloseThread(thread);
}

