#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "base/kiv_exception.h"
#include "platform/kiv_scheduling.h"
#include "threads/kiv_lock.h"
#include "threads/kiv_mutex.h"
#include "threads/kiv_semaphore.h"
#include "threads/kiv_synchronizer_guard.h"

namespace {

template <typename Body>
void OnOtherThread(Body body) {
    std::thread other(body);
    other.join();
}

std::string MessageOf(const KivException& exception) { return exception.GetMessage().ToUTF8(); }

}  // namespace

TEST(KivLock, ZeroTimeoutTriesOnceAnyOtherTimeoutWaitsUntilFree) {
    KivLock lock;
    ASSERT_EQ(lock.Acquire(), 0);
    EXPECT_EQ(lock.Acquire(0), 0);  // recursive for its owner
    int32_t tried = 0;
    OnOtherThread([&] { tried = lock.Acquire(0); });
    EXPECT_EQ(tried, 1);

    std::atomic<bool> entered{false};
    std::thread waiter([&] {
        entered = lock.Acquire(5) == 0;  // a short timeout still waits without limit
        lock.Release();
    });
    KivPlatform::SleepMilliseconds(40);
    EXPECT_FALSE(entered);
    lock.Release();
    lock.Release();
    waiter.join();
    EXPECT_TRUE(entered);
}

TEST(KivMutex, TimesOutForOthersAndSurvivesAnAbandonedOwner) {
    KivMutex mutex;
    ASSERT_FALSE(mutex.IsEmpty());
    ASSERT_EQ(mutex.Acquire(), 0);
    int32_t tried = 0;
    OnOtherThread([&] { tried = mutex.Acquire(20); });
    EXPECT_NE(tried, 0);
    mutex.Release();

    OnOtherThread([&] { mutex.Acquire(); });  // ends holding it
    EXPECT_EQ(mutex.Acquire(1000), 0);
    mutex.Release();
}

TEST(KivSemaphore, SucceedsOnlyWhileCountsAreLeft) {
    KivSemaphore semaphore(1);
    EXPECT_EQ(semaphore.Acquire(0), 0);
    EXPECT_NE(semaphore.Acquire(0), 0);
    EXPECT_NE(semaphore.Acquire(20), 0);
    semaphore.Release();
    EXPECT_EQ(semaphore.Acquire(0), 0);
}

TEST(KivSynchronizerGuard, HoldsForItsScopeAndRaisesWhenItCannotAcquire) {
    KivMutex mutex;
    {
        KivSynchronizerGuard guard(mutex);
        bool raised = false;
        OnOtherThread([&] {
            try {
                KivSynchronizerGuard failing(mutex, 10);
            } catch (const KivException& exception) {
                raised = MessageOf(exception) == "Could not acquire mutex." && exception.GetCode() == 0;
            }
        });
        EXPECT_TRUE(raised);
    }
    int32_t tried = 1;
    OnOtherThread([&] {
        tried = mutex.Acquire(0);
        if (tried == 0) mutex.Release();
    });
    EXPECT_EQ(tried, 0);
}
