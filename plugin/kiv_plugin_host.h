#pragma once
#include <cstdint>

// What a host adapter offers the plug-in it wraps: the way back to the host for automation
// made in the editor, generated MIDI, latency and editor size changes. The adapter outlives
// nothing it lends: the plug-in only borrows it. Every call may come from any thread,
// the audio thread included, and returns without waiting: the adapter passes the news on
// to the host from a thread the host allows.
class KivPluginHost {
public:
    // Reports a value (0..1) of host parameter `index` to the host as automation.
    virtual void SendAutomation(int32_t index, double value) = 0;
    // Kept free for the adapters; nothing in the core calls it.
    virtual void ReservedHook() {}
    // Queues one short MIDI message (status, data 1, data 2) for the host, `deltaFrames`
    // into the current block.
    virtual void GenerateMIDIEvent(int32_t deltaFrames, const uint8_t* bytes) = 0;
    // The plug-in's latency changed; the adapter reads it again and tells the host.
    virtual void LatencyChanged() = 0;
    virtual void ChangeEditorSize(int32_t width, int32_t height) = 0;
    // Reports the plug-in's own bypass switch to a host that shows it as a parameter. Hosts
    // without one (VST 2.4, whose soft bypass sets the same switch) have nothing to report.
    virtual void SendBypassAutomation(bool /*on*/) {}
    // A user gesture on parameter `index` starts and ends; the automation in between belongs
    // to it, so a host records it as one move. Hosts without gestures ignore both.
    virtual void BeginEdit(int32_t /*index*/) {}
    virtual void EndEdit(int32_t /*index*/) {}
    // The live settings changed as a whole (slot switch, paste, morph, a preset loaded): the
    // host reads every parameter again.
    virtual void SettingsChanged() {}
    // The plug-in's update thread passes by; an adapter may tell the host what is pending
    // from there when its format allows.
    virtual void DeliverFromPluginThread() {}

protected:
    // Adapters are owned by their concrete type, never destroyed through this interface.
    ~KivPluginHost() = default;
};
