#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "hosts/bridge/kiv_host_midi_queue.h"
#include "plugin/kiv_plugin_host.h"

// The part of a host adapter both plug-in formats share: how the plug-in's news reaches the
// host. Any thread may post (the audio thread, the editor, the plug-in's update thread, a
// host thread loading a state) and never waits or allocates: a value and a flag per
// parameter, flags for latency and whole-settings changes. Posts are delivered to the host
// only from a thread the format allows to call it (VST 3: the thread that initialised the
// component; VST 2.4 also the editor's idle and the plug-in's update thread), never from
// inside processing: at once when the post comes from such a thread, otherwise at the
// adapter's next chance (DeliverNotifications). A parameter posted twice before delivery
// reaches the host once, with its latest value.
//
// The adapter derives from it and says how its format tells the host (the Tell functions).
class KivHostBridge : public KivPluginHost {
public:
    // ---- KivPluginHost: any thread ----------------------------------------------------------
    void SendAutomation(int32_t index, double value) override;
    void SendBypassAutomation(bool on) override;
    void BeginEdit(int32_t index) override;
    void EndEdit(int32_t index) override;
    void LatencyChanged() override;
    void SettingsChanged() override;
    void GenerateMIDIEvent(int32_t deltaFrames, const uint8_t* bytes) override;
    void DeliverFromPluginThread() override;

    // Sends everything pending when this thread may call the host (MayDeliverHere);
    // otherwise leaves it for a later chance. Never re-entered: a post made while delivering
    // is sent by the same pass.
    void DeliverNotifications() noexcept;

    // True while this very thread tells the host the value of `slot`: a host answering by
    // setting that parameter echoes the plug-in's own value, which the plug-in already has
    // (taking it again would round it through the host's precision). The host's changes of
    // every other parameter, and of this one on other threads, go through.
    bool IsEcho(int32_t slot) const noexcept;

    // Marks the calling thread as inside the host's processing call while it lives: nothing
    // is delivered from there, not even while the audio role is lifted for offline work
    // (KivThreadRole), nor from any thread in the audio role.
    class ProcessingScope {
    public:
        ProcessingScope() noexcept;
        ~ProcessingScope();
        ProcessingScope(const ProcessingScope&) = delete;
        ProcessingScope& operator=(const ProcessingScope&) = delete;
    };
    static bool IsInsideProcessing() noexcept;

protected:
    KivHostBridge();
    ~KivHostBridge();

    // The parameter slots 0..count-1 and one more for the bypass switch; before any post.
    void PrepareNotifications(int32_t parameterCount);
    int32_t BypassSlot() const noexcept { return slotCount_ - 1; }
    // The calling thread becomes the host's main thread.
    void BindMainThread() noexcept;
    bool IsMainThread() const noexcept;
    // No delivery after this; waits until a delivery on the plug-in's thread has left.
    void Retire() noexcept;
    // MIDI the plug-in generated, sent with the next block.
    KivHostMidiQueue& OutgoingMidi() noexcept { return outgoingMidi_; }

    // Sends everything pending from the calling thread, which the caller knows may call the
    // host (VST 2.4: the editor's idle); nothing from inside processing.
    void DeliverHere() noexcept;
    // Whether the calling thread may call the host now: by default the main thread outside
    // processing.
    virtual bool MayDeliverHere() const noexcept;
    // Whether the plug-in's update thread may call the host.
    virtual bool DeliversOnPluginThread() const noexcept { return false; }
    // Asks a thread that may deliver to come by soon; called after a post from elsewhere.
    virtual void RequestDelivery() noexcept {}

    // ---- the format's way of telling the host; called while delivering --------------------
    virtual void TellBeginEdit(int32_t slot) = 0;
    // `inGesture`: a begin for `slot` was told and its end not yet.
    virtual void TellValue(int32_t slot, double value, bool inGesture) = 0;
    virtual void TellEndEdit(int32_t slot) = 0;
    virtual void TellLatency() = 0;
    virtual void TellSettingsChanged() = 0;

private:
    enum SlotFlag : uint32_t { kBegin = 1, kValue = 2, kEnd = 4 };
    enum GlobalFlag : uint32_t { kLatency = 1, kSettings = 2, kSlots = 4 };

    void PostSlot(int32_t slot, uint32_t flag, double value) noexcept;
    void PostGlobal(uint32_t flag) noexcept;
    void AfterPost() noexcept;
    bool DeliverPass();
    void DeliverSlot(int32_t slot, uint32_t flags, double value);

    int32_t slotCount_ = 0;
    std::unique_ptr<std::atomic<uint32_t>[]> slotFlags_;
    std::unique_ptr<std::atomic<double>[]> slotValues_;
    // Touched by the delivering thread only.
    std::vector<uint8_t> inGesture_;
    std::atomic<uint32_t> pending_{0};
    std::atomic<bool> delivering_{false};
    std::atomic<bool> retired_{false};
    std::atomic<int32_t> pluginThreadsInside_{0};
    std::atomic<uint32_t> mainThread_{0};
    std::atomic<bool> mainThreadBound_{false};
    KivHostMidiQueue outgoingMidi_;
};
