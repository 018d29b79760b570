#include <dlfcn.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>

#include "platform/kiv_library_static.h"
#include "platform/kiv_system_thread.h"
#include "platform/posix/kiv_posix_deadline.h"

namespace KivPlatform {
namespace {

// Shared by the handle and the running thread; the last of the two frees it. The thread
// waits at a gate until resumed, which gives POSIX the suspended creation it lacks.
struct ThreadRecord {
    pthread_t thread{};
    pthread_mutex_t mutex;
    pthread_cond_t changed;
    ThreadEntry entry = nullptr;
    void* argument = nullptr;
    bool resumed = false;
    bool cancelled = false;   // leave the gate without running the entry
    bool ended = false;
    bool joined = false;
    void* module = nullptr;   // the thread's reference to the library holding this code
    uint32_t exitCode = 0;
    int32_t priority = 0;
    std::atomic<int> references{2};
};

ThreadRecord* Record(SystemThread thread) { return static_cast<ThreadRecord*>(thread); }

ThreadRecord* NewRecord(ThreadEntry entry, void* argument) {
    auto* record = new ThreadRecord;
    record->entry = entry;
    record->argument = argument;
    pthread_mutex_init(&record->mutex, nullptr);
    pthread_condattr_t attributes;
    pthread_condattr_init(&attributes);
    pthread_condattr_setclock(&attributes, CLOCK_MONOTONIC);
    pthread_cond_init(&record->changed, &attributes);
    pthread_condattr_destroy(&attributes);
    return record;
}

void Unreference(ThreadRecord* record) {
    if (record->references.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    pthread_cond_destroy(&record->changed);
    pthread_mutex_destroy(&record->mutex);
    delete record;
}

// True when the entry should run; false when the thread was terminated before it ran.
bool PassGate(ThreadRecord* record) {
    pthread_mutex_lock(&record->mutex);
    while (!record->resumed && !record->cancelled) pthread_cond_wait(&record->changed, &record->mutex);
    const bool run = !record->cancelled;
    pthread_mutex_unlock(&record->mutex);
    return run;
}

void MarkEnded(ThreadRecord* record, uint32_t exitCode) {
    pthread_mutex_lock(&record->mutex);
    record->exitCode = exitCode;
    record->ended = true;
    pthread_cond_broadcast(&record->changed);
    pthread_mutex_unlock(&record->mutex);
}

// A thread keeps the library holding this code loaded while it runs, as on Windows: a host
// may dlclose the library while a thread still runs (a leaked instance, a host that skips
// the close), and a thread returning into unmapped code takes the host down. The reference
// is a dlopen of the library itself; dlclose must run after the thread's last instruction
// here, so the C library calls it as the destructor of a thread-specific value, from its
// own thread-exit code (after thread_local destructors, which may be ours).
class ModuleReferences {
public:
    ModuleReferences() {
        // dlclose has the destructor's calling convention but returns an int, which the C
        // library ignores.
        created_ = pthread_key_create(&key_, reinterpret_cast<void (*)(void*)>(reinterpret_cast<void*>(&dlclose))) == 0;
    }
    // Runs when the library is unloaded, which no thread holding a reference can let happen
    // (or at process exit, when the references no longer matter).
    ~ModuleReferences() {
        if (created_) pthread_key_delete(key_);
    }
    ModuleReferences(const ModuleReferences&) = delete;
    ModuleReferences& operator=(const ModuleReferences&) = delete;

    // A new reference to the library holding this code; null for the program itself, whose
    // code stays until the process ends.
    static void* Take() {
        Dl_info info{};
        if (!dladdr(reinterpret_cast<const void*>(&ModuleReferences::Take), &info) || !info.dli_fname) return nullptr;
        return dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    }
    // The calling thread gives up `module` when it ends. A failed hand-over keeps the
    // library loaded for good: safer than unloading it under a thread.
    void ReleaseAtThreadExit(void* module) {
        if (module && created_) pthread_setspecific(key_, module);
    }

private:
    pthread_key_t key_{};
    bool created_ = false;
};

ModuleReferences& References() {
    static KivPlatform::LibraryStatic<ModuleReferences> references;
    return *references;
}

void* RunThread(void* argument) {
    auto* record = static_cast<ThreadRecord*>(argument);
    References().ReleaseAtThreadExit(record->module);
    if (PassGate(record)) MarkEnded(record, record->entry(record->argument));
    else MarkEnded(record, record->exitCode);
    Unreference(record);
    return nullptr;
}

// Waits with record->mutex held; false on time-out.
bool WaitUntilEnded(ThreadRecord* record, uint32_t timeoutMilliseconds) {
    if (timeoutMilliseconds == kWaitForever) {
        while (!record->ended) pthread_cond_wait(&record->changed, &record->mutex);
        return true;
    }
    const timespec deadline = Posix::DeadlineAfter(CLOCK_MONOTONIC, timeoutMilliseconds);
    while (!record->ended && timeoutMilliseconds != 0) {
        if (pthread_cond_timedwait(&record->changed, &record->mutex, &deadline) != 0) break;
    }
    return record->ended;
}

}  // namespace

// The reference is taken by the creating thread, which runs inside the library, so that no
// window is left in which the library could go before the new thread holds it.
SystemThread CreateSuspendedThread(ThreadEntry entry, void* argument) {
    ThreadRecord* record = NewRecord(entry, argument);
    References();  // the key exists before any thread needs it
    record->module = ModuleReferences::Take();
    if (pthread_create(&record->thread, nullptr, RunThread, record) != 0) {
        if (record->module) dlclose(record->module);
        record->references.store(1);
        Unreference(record);
        return nullptr;
    }
    return record;
}

bool ResumeThread(SystemThread thread) {
    ThreadRecord* record = Record(thread);
    pthread_mutex_lock(&record->mutex);
    record->resumed = true;
    pthread_cond_broadcast(&record->changed);
    pthread_mutex_unlock(&record->mutex);
    return true;
}

bool SetThreadPriority(SystemThread thread, int32_t priority) {
    ThreadRecord* record = Record(thread);
    pthread_mutex_lock(&record->mutex);
    record->priority = priority;
    pthread_mutex_unlock(&record->mutex);
    return true;
}

int32_t GetThreadPriority(SystemThread thread) {
    ThreadRecord* record = Record(thread);
    pthread_mutex_lock(&record->mutex);
    const int32_t priority = record->priority;
    pthread_mutex_unlock(&record->mutex);
    return priority;
}

WaitResult WaitForThread(SystemThread thread, uint32_t timeoutMilliseconds) {
    ThreadRecord* record = Record(thread);
    pthread_mutex_lock(&record->mutex);
    const bool ended = WaitUntilEnded(record, timeoutMilliseconds);
    // Joining makes sure the thread has left our code (it only drops its reference after
    // marking the end).
    if (ended && !record->joined) {
        pthread_join(record->thread, nullptr);
        record->joined = true;
    }
    pthread_mutex_unlock(&record->mutex);
    return ended ? WaitResult::Signalled : WaitResult::TimedOut;
}

uint32_t GetThreadExitCode(SystemThread thread) {
    ThreadRecord* record = Record(thread);
    pthread_mutex_lock(&record->mutex);
    const uint32_t exitCode = record->exitCode;
    pthread_mutex_unlock(&record->mutex);
    return exitCode;
}

void CloseThread(SystemThread thread) {
    ThreadRecord* record = Record(thread);
    pthread_mutex_lock(&record->mutex);
    if (!record->joined) pthread_detach(record->thread);
    if (!record->resumed) record->cancelled = true;  // never resumed: let it leave
    pthread_cond_broadcast(&record->changed);
    pthread_mutex_unlock(&record->mutex);
    Unreference(record);
}

uint32_t CurrentThreadId() { return static_cast<uint32_t>(gettid()); }

}  // namespace KivPlatform
