#include "hosts/bridge/kiv_host_bridge.h"

#include "base/kiv_boundary.h"
#include "platform/kiv_scheduling.h"
#include "platform/kiv_system_thread.h"
#include "threads/kiv_thread_role.h"

namespace {

// A pass that finds new posts made while it told the host (a host answering with a change
// that the plug-in reports in turn) goes round again, a few times at most.
constexpr int32_t kMaxPasses = 8;

thread_local int32_t tProcessingDepth = 0;
// The calling thread's identifier, asked of the system once per thread: hosts ask for
// parameter values (each a chance to deliver) many times a second.
thread_local uint32_t tThreadId = 0;

uint32_t ThisThread() noexcept {
    if (tThreadId == 0) tThreadId = KivPlatform::CurrentThreadId();
    return tThreadId;
}
// The slot this thread is telling the host about, and whose.
thread_local const KivHostBridge* tEchoBridge = nullptr;
thread_local int32_t tEchoSlot = -1;

class EchoScope {
public:
    EchoScope(const KivHostBridge* bridge, int32_t slot) noexcept
        : previousBridge_(tEchoBridge), previousSlot_(tEchoSlot) {
        tEchoBridge = bridge;
        tEchoSlot = slot;
    }
    ~EchoScope() {
        tEchoBridge = previousBridge_;
        tEchoSlot = previousSlot_;
    }

private:
    const KivHostBridge* previousBridge_;
    int32_t previousSlot_;
};

}  // namespace

KivHostBridge::ProcessingScope::ProcessingScope() noexcept { ++tProcessingDepth; }
KivHostBridge::ProcessingScope::~ProcessingScope() { --tProcessingDepth; }
bool KivHostBridge::IsInsideProcessing() noexcept { return tProcessingDepth > 0; }

KivHostBridge::KivHostBridge() = default;
KivHostBridge::~KivHostBridge() = default;

void KivHostBridge::PrepareNotifications(int32_t parameterCount) {
    const int32_t count = (parameterCount > 0 ? parameterCount : 0) + 1;
    auto flags = std::make_unique<std::atomic<uint32_t>[]>(static_cast<size_t>(count));
    auto values = std::make_unique<std::atomic<double>[]>(static_cast<size_t>(count));
    for (int32_t slot = 0; slot < count; ++slot) {
        flags[slot].store(0, std::memory_order_relaxed);
        values[slot].store(0.0, std::memory_order_relaxed);
    }
    inGesture_.assign(static_cast<size_t>(count), 0);
    slotFlags_ = std::move(flags);
    slotValues_ = std::move(values);
    slotCount_ = count;
    pending_.fetch_and(~static_cast<uint32_t>(kSlots));
}

void KivHostBridge::BindMainThread() noexcept {
    mainThread_.store(ThisThread());
    mainThreadBound_.store(true);
}

bool KivHostBridge::IsMainThread() const noexcept {
    return mainThreadBound_.load() && mainThread_.load() == ThisThread();
}

bool KivHostBridge::MayDeliverHere() const noexcept {
    return IsMainThread() && !IsInsideProcessing() && !KivThreadRole::IsAudioThread();
}

void KivHostBridge::Retire() noexcept {
    retired_.store(true);
    while (pluginThreadsInside_.load() > 0) KivPlatform::YieldThread();
}

bool KivHostBridge::IsEcho(int32_t slot) const noexcept { return tEchoBridge == this && tEchoSlot == slot; }

// ---- posting ------------------------------------------------------------------------------

// Indices past the host's parameters (objects an editor registers for itself) are none of
// the host's business.
void KivHostBridge::SendAutomation(int32_t index, double value) {
    if (index < BypassSlot()) PostSlot(index, kValue, value);
}

void KivHostBridge::SendBypassAutomation(bool on) { PostSlot(BypassSlot(), kValue, on ? 1.0 : 0.0); }

void KivHostBridge::BeginEdit(int32_t index) {
    if (index < BypassSlot()) PostSlot(index, kBegin, 0.0);
}

void KivHostBridge::EndEdit(int32_t index) {
    if (index < BypassSlot()) PostSlot(index, kEnd, 0.0);
}

void KivHostBridge::LatencyChanged() { PostGlobal(kLatency); }

void KivHostBridge::SettingsChanged() { PostGlobal(kSettings); }

void KivHostBridge::GenerateMIDIEvent(int32_t deltaFrames, const uint8_t* bytes) {
    outgoingMidi_.Append(deltaFrames, bytes);
}

// The value goes in before its flag: whoever sees the flag sees the value too.
void KivHostBridge::PostSlot(int32_t slot, uint32_t flag, double value) noexcept {
    if (slot < 0 || slot >= slotCount_ || retired_.load(std::memory_order_relaxed)) return;
    if (flag == kValue) slotValues_[slot].store(value, std::memory_order_relaxed);
    slotFlags_[slot].fetch_or(flag, std::memory_order_release);
    pending_.fetch_or(kSlots, std::memory_order_release);
    AfterPost();
}

void KivHostBridge::PostGlobal(uint32_t flag) noexcept {
    if (retired_.load(std::memory_order_relaxed)) return;
    pending_.fetch_or(flag, std::memory_order_release);
    AfterPost();
}

void KivHostBridge::AfterPost() noexcept {
    if (MayDeliverHere()) DeliverNotifications();
    else RequestDelivery();
}

// ---- delivering ---------------------------------------------------------------------------

void KivHostBridge::DeliverFromPluginThread() {
    if (!DeliversOnPluginThread()) return;
    pluginThreadsInside_.fetch_add(1);
    if (!retired_.load()) DeliverHere();
    pluginThreadsInside_.fetch_sub(1);
}

void KivHostBridge::DeliverNotifications() noexcept {
    if (MayDeliverHere()) DeliverHere();
}

void KivHostBridge::DeliverHere() noexcept {
    if (IsInsideProcessing() || KivThreadRole::IsAudioThread()) return;
    // One deliverer at a time. A post that loses the race is picked up by the one delivering,
    // or by this loop once it sees the flag free again; posts that keep coming (the audio
    // thread's, block after block) wait for the next chance rather than hold this thread.
    for (int32_t round = 0; round < kMaxPasses; ++round) {
        if (pending_.load(std::memory_order_acquire) == 0 || retired_.load()) return;
        if (delivering_.exchange(true, std::memory_order_acquire)) return;
        for (int32_t pass = 0; pass < kMaxPasses; ++pass) {
            const bool more = KivGuard("KivHostBridge::DeliverNotifications", false, [&] { return DeliverPass(); });
            if (!more) break;
        }
        delivering_.store(false, std::memory_order_release);
    }
}

// Latency first, so that a host re-reading the parameters after a settings change already
// works with the new delay; gestures open before their values and close after them.
bool KivHostBridge::DeliverPass() {
    const uint32_t pending = pending_.exchange(0, std::memory_order_acquire);
    if (pending == 0) return false;
    if (pending & kLatency) TellLatency();
    if (pending & kSlots) {
        for (int32_t slot = 0; slot < slotCount_; ++slot) {
            const uint32_t flags = slotFlags_[slot].exchange(0, std::memory_order_acquire);
            if (flags) DeliverSlot(slot, flags, slotValues_[slot].load(std::memory_order_relaxed));
        }
    }
    if (pending & kSettings) TellSettingsChanged();
    return true;
}

void KivHostBridge::DeliverSlot(int32_t slot, uint32_t flags, double value) {
    uint8_t& inGesture = inGesture_[static_cast<size_t>(slot)];
    if ((flags & kBegin) && !inGesture) {
        inGesture = 1;
        TellBeginEdit(slot);
    }
    if (flags & kValue) {
        EchoScope echo(this, slot);
        TellValue(slot, value, inGesture != 0);
    }
    if ((flags & kEnd) && inGesture) {
        inGesture = 0;
        TellEndEdit(slot);
    }
}
