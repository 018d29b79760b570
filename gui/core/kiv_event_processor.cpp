#include "gui/core/kiv_event_processor.h"

#include <algorithm>
#include <vector>

#include "base/kiv_boundary.h"
#include "platform/kiv_library_static.h"
#include "threads/kiv_synchronizer_guard.h"

namespace {

// Live processors, so that a dying event can be withdrawn from all of them. Created on first
// use, before any event exists (see EnsureRegistry), and destroyed after the last.
KivLock& RegistryLock() {
    static KivPlatform::LibraryStatic<KivLock> lock;
    return *lock;
}
std::vector<KivEventProcessor*>& Registry() {
    static KivPlatform::LibraryStatic<std::vector<KivEventProcessor*>> registry;
    return *registry;
}

}  // namespace

void KivEventProcessor::EnsureRegistry() {
    RegistryLock();
    Registry();
}

KivEventProcessor::KivEventProcessor() {
    KivSynchronizerGuard guard(RegistryLock());
    Registry().push_back(this);
}

KivEventProcessor::~KivEventProcessor() {
    KivSynchronizerGuard guard(RegistryLock());
    auto& registry = Registry();
    registry.erase(std::remove(registry.begin(), registry.end(), this), registry.end());
}

void KivEventProcessor::Enqueue(KivEventBase* event, std::function<void()> fire) {
    {
        KivSynchronizerGuard guard(queueLock_);
        queue_.push_back(Posted{event, nextSerial_++, std::move(fire)});
    }
    OnPosted();
}

int32_t KivEventProcessor::ExecuteQueued() {
    uint64_t last;
    {
        KivSynchronizerGuard guard(queueLock_);
        last = nextSerial_;
    }
    int32_t count = 0;
    for (;;) {
        std::function<void()> fire;
        {
            KivSynchronizerGuard guard(queueLock_);
            if (queue_.empty() || queue_.front().serial >= last) break;
            fire = std::move(queue_.front().fire);
            queue_.pop_front();
        }
        // Events die only on the GUI thread, which is this one: the event is alive here.
        KivGuard("KivEventProcessor::ExecuteQueued", [&] { fire(); });
        ++count;
    }
    return count;
}

bool KivEventProcessor::HasQueued() {
    KivSynchronizerGuard guard(queueLock_);
    return !queue_.empty();
}

void KivEventProcessor::Withdraw(KivEventBase* event) {
    KivSynchronizerGuard guard(queueLock_);
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(), [event](const Posted& p) { return p.event == event; }),
                 queue_.end());
}

void KivEventProcessor::WithdrawEverywhere(KivEventBase* event) {
    KivSynchronizerGuard guard(RegistryLock());
    for (KivEventProcessor* processor : Registry()) processor->Withdraw(event);
}
