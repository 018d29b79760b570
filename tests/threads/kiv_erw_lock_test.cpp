#include "threads/kiv_erw_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "base/kiv_exception.h"
#include "platform/kiv_clock.h"
#include "platform/kiv_scheduling.h"
#include "threads/kiv_synchronization_guard.h"

namespace {

constexpr uint32_t kShared = KivSynchronizationObject::kShared;
constexpr uint32_t kExclusive = KivSynchronizationObject::kExclusive;

// One try from a thread that holds nothing.
bool TryFromNewThread(KivERWLock& lock, uint32_t mode) {
    bool acquired = false;
    std::thread other([&] {
        acquired = lock.Acquire(mode, 0);
        if (acquired) lock.Release(mode);
    });
    other.join();
    return acquired;
}

// Polls until `condition` holds; false after two seconds.
template <typename Condition>
bool Eventually(Condition condition) {
    const uint32_t start = KivPlatform::Milliseconds();
    while (!condition()) {
        if (KivPlatform::Milliseconds() - start > 2000) return false;
        KivPlatform::SleepMilliseconds(2);
    }
    return true;
}

}  // namespace

TEST(KivERWLock, ReadersReenterPastAWaitingWriterWhileNewReadersQueueBehindIt) {
    KivERWLock lock;
    ASSERT_TRUE(lock.Acquire(kShared));
    EXPECT_TRUE(TryFromNewThread(lock, kShared));  // readers share
    EXPECT_FALSE(TryFromNewThread(lock, kExclusive));

    std::atomic<bool> writing{false};
    std::thread writer([&] {
        lock.Acquire(kExclusive);
        writing = true;
        lock.Release(kExclusive);
    });
    ASSERT_TRUE(Eventually([&] { return !TryFromNewThread(lock, kShared); }));  // writer now waits
    EXPECT_TRUE(lock.Acquire(kShared, 0));                                      // re-entry still allowed
    EXPECT_FALSE(writing);
    lock.Release(kShared);
    lock.Release(kShared);
    writer.join();
    EXPECT_TRUE(writing);
    EXPECT_TRUE(TryFromNewThread(lock, kExclusive));  // entirely free again
}

TEST(KivERWLock, AReaderUpgradesOnceTheOtherReadersHaveLeft) {
    KivERWLock lock;
    std::atomic<int> stage{0};
    std::atomic<bool> upgraded{false};
    ASSERT_TRUE(lock.Acquire(kShared));  // before the upgrader exists, so that it must wait
    std::thread upgrader([&] {
        lock.Acquire(kShared);
        stage = 1;
        lock.Acquire(kExclusive);
        upgraded = true;
        // A writer takes it again in either mode at once.
        EXPECT_TRUE(lock.Acquire(kShared, 0));
        EXPECT_TRUE(lock.Acquire(kExclusive, 0));
        lock.Release(kExclusive);
        lock.Release(kShared);
        while (stage != 2) KivPlatform::YieldThread();
        lock.Release(kExclusive);
        lock.Release(kShared);
    });
    ASSERT_TRUE(Eventually([&] { return stage == 1; }));
    KivPlatform::SleepMilliseconds(30);
    EXPECT_FALSE(upgraded);
    lock.Release(kShared);
    ASSERT_TRUE(Eventually([&] { return upgraded.load(); }));
    EXPECT_FALSE(TryFromNewThread(lock, kShared));
    stage = 2;
    upgrader.join();
    EXPECT_TRUE(TryFromNewThread(lock, kExclusive));
}

TEST(KivERWLock, ATimedOutWriterLeavesNoTraceAndGuardsRaise) {
    KivERWLock lock;
    ASSERT_TRUE(lock.Acquire(kShared));
    bool acquired = true;
    bool raised = false;
    std::thread writer([&] {
        acquired = lock.Acquire(kExclusive, 20);
        try {
            KivSynchronizationGuard guard(&lock, kExclusive | KivSynchronizationObject::kNoYieldAfterRelease, 0);
        } catch (const KivException& exception) {
            raised = exception.GetMessage().ToUTF8() == "Could not acquire emulated synchronization object." &&
                     exception.GetCode() == 0;
        }
    });
    writer.join();
    EXPECT_FALSE(acquired);
    EXPECT_TRUE(raised);
    EXPECT_TRUE(TryFromNewThread(lock, kShared));  // no writer is left counted as waiting
    lock.Release(kShared);
    {
        KivSynchronizationGuard guard(&lock, kExclusive);
        EXPECT_FALSE(TryFromNewThread(lock, kShared));
    }
    EXPECT_TRUE(TryFromNewThread(lock, kExclusive));
    KivSynchronizationGuard nothing(nullptr, kExclusive);  // an absent object is no lock at all
}

// Readers, upgrading readers and re-entering writers hammer one lock. A thread that waits to
// upgrade holds its read lock only nominally (it reads nothing meanwhile), so it counts as
// active only outside that wait. Invariant: an active writer is alone.
TEST(KivERWLock, TortureKeepsWritersAlone) {
#ifdef _WIN32
    constexpr int kThreads = 4;  // thread start-up is slow under Wine
    constexpr int kRounds = 400;
#else
    constexpr int kThreads = 8;
    constexpr int kRounds = 2000;
#endif
    constexpr uint32_t kTimeLimit = 1500;
    KivERWLock lock;
    std::atomic<int> activeReaders{0}, activeWriters{0}, violations{0}, writes{0}, upgrades{0};
    int64_t first = 0, second = 0;  // plain data: written only under the write lock
    const uint32_t start = KivPlatform::Milliseconds();

    auto read = [&] {
        activeReaders.fetch_add(1);
        KivPlatform::YieldThread();  // widens the window in which a wrongly admitted writer shows
        if (activeWriters.load() != 0 || first != second) violations.fetch_add(1);
        activeReaders.fetch_sub(1);
    };
    auto write = [&] {
        if (activeWriters.fetch_add(1) != 0 || activeReaders.load() != 0) violations.fetch_add(1);
        ++first;
        KivPlatform::YieldThread();
        ++second;
        if (activeReaders.load() != 0) violations.fetch_add(1);
        writes.fetch_add(1);
        activeWriters.fetch_sub(1);
    };
    auto worker = [&](int index) {
        for (int round = 0; round < kRounds && KivPlatform::Milliseconds() - start < kTimeLimit; ++round) {
            switch ((round + index) % 4) {
                case 0:  // reader, re-entering
                    lock.Acquire(kShared);
                    read();
                    lock.Acquire(kShared);
                    read();
                    lock.Release(kShared);
                    lock.Release(kShared);
                    break;
                case 1:  // writer, re-entering for reading and writing
                    lock.Acquire(kExclusive);
                    write();
                    lock.Acquire(kShared);
                    lock.Acquire(kExclusive | KivSynchronizationObject::kNoYieldAfterRelease);
                    write();
                    lock.Release(kExclusive | KivSynchronizationObject::kNoYieldAfterRelease);
                    lock.Release(kShared);
                    lock.Release(kExclusive);
                    break;
                case 2:  // upgrading reader
                    lock.Acquire(kShared);
                    read();
                    lock.Acquire(kExclusive);
                    write();
                    upgrades.fetch_add(1);
                    lock.Release(kExclusive);
                    read();
                    lock.Release(kShared);
                    break;
                default:  // impatient writer
                    if (lock.Acquire(kExclusive, 1)) {
                        write();
                        lock.Release(kExclusive);
                    }
                    break;
            }
        }
    };
    std::vector<std::thread> threads;
    for (int index = 0; index < kThreads; ++index) threads.emplace_back(worker, index);
    for (std::thread& thread : threads) thread.join();

    EXPECT_EQ(violations.load(), 0);
    EXPECT_EQ(first, writes.load());
    EXPECT_EQ(second, writes.load());
    EXPECT_GT(upgrades.load(), 0);
    EXPECT_TRUE(TryFromNewThread(lock, kExclusive));  // every hold was given back
}
