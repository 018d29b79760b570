#pragma once
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "base/kiv_exception.h"
#include "base/kiv_object.h"
#include "base/kiv_string.h"
#include "threads/kiv_lock.h"
#include "threads/kiv_synchronizer_guard.h"

class KivEventBase;
class KivThread;

// The one lock of the process under which every handler list changes and every handler runs.
// It is recursive, so a handler may raise further events or register handlers.
KivLock& KivEventLock();

// Anything that can receive events. It remembers the events it is registered with, so that
// on destruction it can withdraw from each of them and no event ever calls a dead object.
class KivEventTarget : public KivObject {
public:
    KivEventTarget();
    KivEventTarget(const KivEventTarget&) = delete;
    KivEventTarget& operator=(const KivEventTarget&) = delete;
    ~KivEventTarget() override;

private:
    friend class KivEventBase;
    // One entry per registered handler (an event appears as often as it holds handlers of
    // this target); guarded by the event lock.
    std::vector<KivEventBase*> registrations_;
};

// Common base of all events: the registration bookkeeping shared by every parameter kind,
// and withdrawal of everything queued for the event when it dies.
class KivEventBase : public KivEventTarget {
public:
    explicit KivEventBase(KivObject* owner = nullptr) : owner_(owner) {}
    // Slot 0: withdraws from every target and from the event processor's queue.
    ~KivEventBase() override;
    // Slot 1: removes the last handler; raises "Index out of range." when there is none.
    virtual void PopHandler() = 0;
    // Slot 2.
    virtual void ClearHandlers() = 0;
    // Slot 3: removes every handler of `target` (called by a dying target).
    virtual void RemoveTarget(KivEventTarget* target) = 0;

    KivObject* GetOwner() const { return owner_; }
    virtual int32_t GetHandlerCount() const = 0;

protected:
    static void NoteRegistration(KivEventTarget* target, KivEventBase* event);
    static void ForgetRegistration(KivEventTarget* target, KivEventBase* event);
    [[noreturn]] static void RaiseIndexOutOfRange();

private:
    KivObject* owner_;
};

// Handler kinds. A handler is a member operation of its target called with the parameters.
struct KivHandlerNoAdditionals {
    template <typename Target, typename Params>
    using Member = void (Target::*)(Params& params);
};

// A typed multicast event. Handlers run in the order they were added.
template <typename Params, typename Handler = KivHandlerNoAdditionals>
class KivEvent : public KivEventBase {
public:
    using ParamsType = Params;
    explicit KivEvent(KivObject* owner = nullptr) : KivEventBase(owner) {}
    ~KivEvent() override { ClearHandlers(); }

    template <typename Target>
    void AddHandler(Target* target, typename Handler::template Member<Target, Params> operation) {
        KivSynchronizerGuard guard(KivEventLock());
        handlers_.push_back(Entry{target, nextSerial_++, [target, operation](Params& params) { (target->*operation)(params); }});
        NoteRegistration(target, this);
    }

    void PopHandler() override {
        KivSynchronizerGuard guard(KivEventLock());
        if (handlers_.empty()) RaiseIndexOutOfRange();
        ForgetRegistration(handlers_.back().target, this);
        handlers_.pop_back();
    }

    void ClearHandlers() override {
        KivSynchronizerGuard guard(KivEventLock());
        while (!handlers_.empty()) {
            ForgetRegistration(handlers_.back().target, this);
            handlers_.pop_back();
        }
    }

    void RemoveTarget(KivEventTarget* target) override {
        KivSynchronizerGuard guard(KivEventLock());
        for (size_t index = handlers_.size(); index-- > 0;) {
            if (handlers_[index].target == target) {
                ForgetRegistration(target, this);
                handlers_.erase(handlers_.begin() + static_cast<std::ptrdiff_t>(index));
            }
        }
    }

    int32_t GetHandlerCount() const override { return static_cast<int32_t>(handlers_.size()); }

    // Calls every handler with `params` under the event lock. A handler may add or remove
    // handlers (its own included) or destroy targets: entries carry increasing serial numbers
    // and the walk always continues with the first entry after the one last called, so a
    // removed handler is never called and one added during the walk is not called this time.
    void Raise(Params& params) {
        KivSynchronizerGuard guard(KivEventLock());
        const uint64_t lastSerial = nextSerial_;
        uint64_t called = 0;
        size_t index = 0;
        while (index < handlers_.size() && handlers_[index].serial < lastSerial) {
            called = handlers_[index].serial;
            auto call = handlers_[index].call;  // survives removal of the entry during the call
            call(params);
            index = 0;
            while (index < handlers_.size() && handlers_[index].serial <= called) ++index;
        }
    }
    void Raise(Params&& params) { Raise(params); }

private:
    struct Entry {
        KivEventTarget* target;
        uint64_t serial;
        std::function<void(Params&)> call;
    };
    std::vector<Entry> handlers_;
    uint64_t nextSerial_ = 1;
};

// Parameter kinds of the toolkit's events.
struct KivOnClickParams {
    KivObject* sender = nullptr;
};
struct KivOnNotifyParams {
    KivObject* sender = nullptr;
};
struct KivOnStringParams {
    KivObject* sender = nullptr;
    KivString text;
};
// Sent on the GUI thread when a worker thread's body has finished.
struct KivOnThreadNotifyParams {
    KivThread* thread = nullptr;
};
template <typename T>
struct KivOnItemParams {
    KivObject* sender = nullptr;
    T item{};
};
struct KivOnMenuParams {
    KivObject* sender = nullptr;
    int32_t item = -1;
};
struct KivOnPluginParameterChangeParams {
    int32_t index = -1;
    double value = 0.0;
};
struct KivOnKeyboardShortcutParams {
    uint32_t key = 0;
    uint8_t inputState = 0;
    bool handled = false;  // set by the handler that took the shortcut
};
// Shortcut handlers are called like the others; the one that takes the key sets `handled`.
struct KivKeyboardShortcut {
    template <typename Target, typename Params>
    using Member = void (Target::*)(Params& params);
};
using KivOnKeyboardShortcut = KivEvent<KivOnKeyboardShortcutParams, KivKeyboardShortcut>;
