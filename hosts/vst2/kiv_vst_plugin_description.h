#pragma once
#include <cstdint>

#include "base/kiv_string.h"

class KivAudioPlugin;

// What the VST 2.4 adapter tells a host about the plug-in it wraps: names, channel counts
// and names, MIDI abilities. An effect wrapped by the effect adapter supplies them; any
// other plug-in core gets a plain stereo description.
class KivVstPluginDescription {
public:
    explicit KivVstPluginDescription(KivAudioPlugin& plugin);

    KivString Name() const;
    KivString Vendor() const;
    // The declared channels: every input bus (main and side-chains) and one output group.
    int32_t InputChannels() const;
    int32_t OutputChannels() const;
    KivString InputChannelName(int32_t index) const;
    KivString OutputChannelName(int32_t index) const;
    // House plug-ins take MIDI (controllers, MIDI learn, program changes) and send none.
    bool AcceptsMIDIInput() const;
    bool SendsMIDI() const { return false; }

private:
    KivAudioPlugin& plugin_;
    class KivAudioEffectPluginToAudioPluginAdapter* effectAdapter_;
};
