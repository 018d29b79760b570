#include <benchmark/benchmark.h>

#include "threads/kiv_erw_lock.h"
#include "threads/kiv_lock.h"
#include "threads/kiv_mutex.h"
#include "threads/kiv_synchronization_guard.h"
#include "threads/kiv_synchronizer_guard.h"

namespace {

void BM_LockGuard(benchmark::State& state) {
    KivLock lock;
    for (auto _ : state) {
        KivSynchronizerGuard guard(lock);
    }
}
BENCHMARK(BM_LockGuard);

void BM_MutexGuard(benchmark::State& state) {
    KivMutex mutex;
    for (auto _ : state) {
        KivSynchronizerGuard guard(mutex);
    }
}
BENCHMARK(BM_MutexGuard);

KivERWLock& SharedLock() {
    static KivERWLock lock;
    return lock;
}

// Several readers on one lock: the common case of the audio and GUI threads reading together.
void BM_ERWLockShared(benchmark::State& state) {
    for (auto _ : state) {
        KivSynchronizationGuard guard(&SharedLock(), KivSynchronizationObject::kShared);
    }
}
BENCHMARK(BM_ERWLockShared)->Threads(1)->Threads(2);

// Without the yield that follows a release which frees the lock: the cost of the state rules.
void BM_ERWLockSharedNoYield(benchmark::State& state) {
    constexpr uint32_t kMode = KivSynchronizationObject::kShared | KivSynchronizationObject::kNoYieldAfterRelease;
    for (auto _ : state) {
        KivSynchronizationGuard guard(&SharedLock(), kMode);
    }
}
BENCHMARK(BM_ERWLockSharedNoYield)->Threads(1)->Threads(2);

void BM_ERWLockExclusive(benchmark::State& state) {
    for (auto _ : state) {
        KivSynchronizationGuard guard(&SharedLock(), KivSynchronizationObject::kExclusive);
    }
}
BENCHMARK(BM_ERWLockExclusive)->Threads(1)->Threads(2);

}  // namespace
