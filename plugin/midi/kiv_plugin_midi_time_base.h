#pragma once
#include "plugin/midi/kiv_midi_time_base.h"

class KivAudioPlugin;

// The plug-in core's transport and host sample rate as the time base of its own MIDI input.
// Constructing it installs it in the plug-in, which it must not outlive.
class KivPluginMIDITimeBase final : public KivMIDITimeBase {
public:
    explicit KivPluginMIDITimeBase(KivAudioPlugin& plugin);
    ~KivPluginMIDITimeBase();
    KivPluginMIDITimeBase(const KivPluginMIDITimeBase&) = delete;
    KivPluginMIDITimeBase& operator=(const KivPluginMIDITimeBase&) = delete;

    double GetTempo() const override;
    double GetSampleRate() const override;
    // MIDI is delivered before the block is processed, while the song position still marks
    // the block's start.
    double GetBlockStartPosition() const override;

private:
    KivAudioPlugin& plugin_;
};
