#include "gui/core/kiv_event.h"

#include <algorithm>

#include "gui/core/kiv_event_processor.h"
#include "platform/kiv_library_static.h"

// Constructed on first use, by the first target's constructor at the latest: it is then
// destroyed after every target, static ones included, and goes with the library instead of
// leaking once per load.
KivLock& KivEventLock() {
    static KivPlatform::LibraryStatic<KivLock> lock;
    return *lock;
}

KivEventTarget::KivEventTarget() {
    KivEventLock();
    KivEventProcessor::EnsureRegistry();
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
