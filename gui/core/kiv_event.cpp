#include "gui/core/kiv_event.h"

#include <algorithm>

#include "gui/core/kiv_event_processor.h"

KivLock& KivEventLock() {
    // Constructed on first use and never destroyed, so that events in static objects can
    // still withdraw during process exit.
    static KivLock* lock = new KivLock();
    return *lock;
}

KivEventTarget::~KivEventTarget() {
    KivSynchronizerGuard guard(KivEventLock());
    // RemoveTarget erases this target's entries from `registrations_` one by one.
    while (!registrations_.empty()) registrations_.back()->RemoveTarget(this);
}

KivEventBase::~KivEventBase() { KivEventProcessor::WithdrawEverywhere(this); }

void KivEventBase::NoteRegistration(KivEventTarget* target, KivEventBase* event) {
    target->registrations_.push_back(event);
}

void KivEventBase::ForgetRegistration(KivEventTarget* target, KivEventBase* event) {
    auto& list = target->registrations_;
    auto found = std::find(list.rbegin(), list.rend(), event);
    if (found != list.rend()) list.erase(std::next(found).base());
}

void KivEventBase::RaiseIndexOutOfRange() {
    throw KivException(KivString("Index out of range."), KivException::kInvalidArgument);
}
