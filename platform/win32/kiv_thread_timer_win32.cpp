#include <windows.h>

#include <new>

#include "platform/kiv_thread_timer.h"

namespace KivPlatform {
namespace {

// A thread timer's procedure learns only the timer's identifier: the records of the live
// timers are found by it. Only the creating thread reaches its timers, but several threads may
// each have theirs, so the list has its own lock.
struct TimerRecord {
    UINT_PTR id = 0;
    ThreadTimerCallback callback = nullptr;
    void* context = nullptr;
    TimerRecord* next = nullptr;
};

SRWLOCK gLock = SRWLOCK_INIT;
TimerRecord* gTimers = nullptr;

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    ThreadTimerCallback callback = nullptr;
    void* context = nullptr;
    AcquireSRWLockShared(&gLock);
    for (TimerRecord* record = gTimers; record; record = record->next) {
        if (record->id == id) {
            callback = record->callback;
            context = record->context;
            break;
        }
    }
    ReleaseSRWLockShared(&gLock);
    // Destroy runs on this same thread, so the record cannot go while the callback runs.
    if (callback) callback(context);
}

}  // namespace

ThreadTimer CreateThreadTimer(uint32_t intervalMilliseconds, ThreadTimerCallback callback, void* context) {
    if (!callback) return nullptr;
    auto* record = new (std::nothrow) TimerRecord{0, callback, context, nullptr};
    if (!record) return nullptr;
    AcquireSRWLockExclusive(&gLock);
    record->id = ::SetTimer(nullptr, 0, intervalMilliseconds, &OnTimer);
    if (record->id != 0) {
        record->next = gTimers;
        gTimers = record;
    }
    ReleaseSRWLockExclusive(&gLock);
    if (record->id == 0) {
        delete record;
        return nullptr;
    }
    return record;
}

void DestroyThreadTimer(ThreadTimer timer) {
    auto* record = static_cast<TimerRecord*>(timer);
    if (!record) return;
    ::KillTimer(nullptr, record->id);
    AcquireSRWLockExclusive(&gLock);
    for (TimerRecord** link = &gTimers; *link; link = &(*link)->next) {
        if (*link == record) {
            *link = record->next;
            break;
        }
    }
    ReleaseSRWLockExclusive(&gLock);
    delete record;
}

}  // namespace KivPlatform
