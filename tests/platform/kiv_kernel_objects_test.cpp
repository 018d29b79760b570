#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/kiv_clock.h"
#include "platform/kiv_critical_section.h"
#include "platform/kiv_kernel_mutex.h"
#include "platform/kiv_kernel_semaphore.h"
#include "platform/kiv_wake_signal.h"

using namespace KivPlatform;

namespace {
template <typename Body>
void OnOtherThread(Body body) {
    std::thread other(body);
    other.join();
}
}  // namespace

TEST(CriticalSection, IsRecursiveAndTryEnterFailsForOtherThreads) {
    CriticalSection section;
    section.Enter();
    EXPECT_TRUE(section.TryEnter());
    bool enteredElsewhere = true;
    OnOtherThread([&] { enteredElsewhere = section.TryEnter(); });
    EXPECT_FALSE(enteredElsewhere);
    section.Leave();
    OnOtherThread([&] { enteredElsewhere = section.TryEnter(); });
    EXPECT_FALSE(enteredElsewhere);  // still entered once
    section.Leave();
    OnOtherThread([&] {
        enteredElsewhere = section.TryEnter();
        if (enteredElsewhere) section.Leave();
    });
    EXPECT_TRUE(enteredElsewhere);
}

TEST(KernelMutex, IsRecursiveTimesOutForOthersAndOnlyTheOwnerReleases) {
    KernelMutex mutex;
    ASSERT_TRUE(mutex.IsValid());
    EXPECT_EQ(mutex.Wait(kWaitForever), WaitResult::Signalled);
    EXPECT_EQ(mutex.Wait(0), WaitResult::Signalled);
    WaitResult elsewhere = WaitResult::Failed;
    bool releasedElsewhere = true;
    uint32_t waited = 0;
    OnOtherThread([&] {
        releasedElsewhere = mutex.Release();
        const uint32_t start = Milliseconds();
        elsewhere = mutex.Wait(40);
        waited = Milliseconds() - start;
    });
    EXPECT_FALSE(releasedElsewhere);
    EXPECT_EQ(elsewhere, WaitResult::TimedOut);
    EXPECT_GE(waited, 30u);
    EXPECT_TRUE(mutex.Release());
    EXPECT_TRUE(mutex.Release());
    EXPECT_FALSE(mutex.Release());
    OnOtherThread([&] {
        elsewhere = mutex.Wait(0);
        mutex.Release();
    });
    EXPECT_EQ(elsewhere, WaitResult::Signalled);
}

TEST(KernelMutex, AnOwnerThatEndsWithoutReleasingAbandonsIt) {
    KernelMutex mutex;
    OnOtherThread([&] { mutex.Wait(kWaitForever); });
    EXPECT_EQ(mutex.Wait(1000), WaitResult::Abandoned);
    EXPECT_EQ(mutex.Wait(0), WaitResult::Signalled);  // now owned normally, recursively
    EXPECT_TRUE(mutex.Release());
    EXPECT_TRUE(mutex.Release());
}

// A thread that releases the mutex and asks for it again at once (a loop of program changes)
// must not take it back from a thread that was already waiting: that one was handed it.
TEST(KernelMutex, AReleasedMutexGoesToAThreadAlreadyWaitingNotBackToTheReleaser) {
    KernelMutex mutex;
    for (int32_t round = 0; round < 20; ++round) {
        ASSERT_EQ(mutex.Wait(kWaitForever), WaitResult::Signalled);
        std::atomic<bool> taken{false};
        std::thread waiter([&] {
            mutex.Wait(kWaitForever);
            taken = true;
            mutex.Release();
        });
        // Until the waiter waits, a release leaves the mutex free and a zero time-out takes it
        // straight back (unless the waiter slipped in meanwhile); once the waiter waits, the
        // release hands it over and the zero time-out fails.
        bool handedOver = false;
        while (!taken.load()) {
            mutex.Release();
            handedOver = mutex.Wait(0) != WaitResult::Signalled;
            if (handedOver) break;
            std::this_thread::yield();
        }
        if (handedOver) {
            EXPECT_EQ(mutex.Wait(kWaitForever), WaitResult::Signalled);
            EXPECT_TRUE(taken.load()) << "round " << round;
        }
        EXPECT_TRUE(mutex.Release());
        waiter.join();
    }
}

TEST(KernelSemaphore, CountsDownTimesOutAndRespectsItsMaximum) {
    KernelSemaphore semaphore(2, 3);
    ASSERT_TRUE(semaphore.IsValid());
    EXPECT_EQ(semaphore.Wait(0), WaitResult::Signalled);
    EXPECT_EQ(semaphore.Wait(0), WaitResult::Signalled);
    EXPECT_EQ(semaphore.Wait(0), WaitResult::TimedOut);
    const uint32_t start = Milliseconds();
    EXPECT_EQ(semaphore.Wait(40), WaitResult::TimedOut);
    EXPECT_GE(Milliseconds() - start, 30u);
    EXPECT_TRUE(semaphore.Release());
    EXPECT_TRUE(semaphore.Release());
    EXPECT_TRUE(semaphore.Release());
    EXPECT_FALSE(semaphore.Release());

    KernelSemaphore wake(0);
    std::atomic<bool> woken{false};
    std::thread waiter([&] { woken = wake.Wait(kWaitForever) == WaitResult::Signalled; });
    EXPECT_TRUE(wake.Release());
    waiter.join();
    EXPECT_TRUE(woken);
    EXPECT_FALSE(KernelSemaphore(5, 3).IsValid());
}

TEST(WakeSignal, KeepsSignalsGivenBeforeTheWaitAsOneAndTimesOut) {
    WakeSignal signal;
    EXPECT_FALSE(signal.Wait(0));
    const uint32_t start = Milliseconds();
    EXPECT_FALSE(signal.Wait(40));
    EXPECT_GE(Milliseconds() - start, 40u);
    signal.Signal();
    signal.Signal();
    signal.Signal();
    EXPECT_TRUE(signal.Wait(0));
    EXPECT_FALSE(signal.Wait(0));  // three signals, one wake
    signal.Signal();
    EXPECT_TRUE(signal.Wait(kWaitForever));
}

// Each round the waiter has gone to sleep (or is about to) when the signal comes, the case
// where a lost wake-up would leave it asleep: it would miss its 10 s limit and fail.
TEST(WakeSignal, WakesASleepingWaiterEveryTimeWithoutLosingOne) {
    constexpr int kRounds = 3000;
    WakeSignal signal;
    std::atomic<int> published{0}, seen{0};
    std::atomic<bool> missed{false};
    std::thread waiter([&] {
        while (seen.load() < kRounds) {
            if (!signal.Wait(10000)) {
                missed = true;
                return;
            }
            seen.store(published.load());
        }
    });
    for (int round = 1; round <= kRounds && !missed; ++round) {
        published.store(round);
        signal.Signal();
        while (seen.load() < round && !missed) std::this_thread::yield();
    }
    waiter.join();
    EXPECT_FALSE(missed);
    EXPECT_EQ(seen.load(), kRounds);
}
