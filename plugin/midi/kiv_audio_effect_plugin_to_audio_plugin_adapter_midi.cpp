#include "base/kiv_boundary.h"
#include "plugin/kiv_audio_effect_plugin_to_audio_plugin_adapter.h"

// The adapter's MIDI face: every event first reaches the listeners, then the slots, which
// set parameters and learn their sources.

void KivAudioEffectPluginToAudioPluginAdapter::ProcessNote(int32_t sampleOffset, double timePosition,
                                                           int32_t channel, int32_t note, double velocity,
                                                           bool on) {
    KivGuard("KivAudioEffectPluginToAudioPluginAdapter::ProcessNote", [&] {
        KivAudioPlugin::ProcessNote(sampleOffset, timePosition, channel, note, velocity, on);
        midiControllers_.OnNote(channel, note, on, GetPitchBend());
    });
}

void KivAudioEffectPluginToAudioPluginAdapter::ProcessAftertouch(int32_t sampleOffset, double timePosition,
                                                                 int32_t channel, double value, int32_t note) {
    KivGuard("KivAudioEffectPluginToAudioPluginAdapter::ProcessAftertouch", [&] {
        KivAudioPlugin::ProcessAftertouch(sampleOffset, timePosition, channel, value, note);
        midiControllers_.OnAftertouch(channel, value, note);
    });
}

void KivAudioEffectPluginToAudioPluginAdapter::ProcessPitchBend(int32_t sampleOffset, double timePosition,
                                                                int32_t channel, double value) {
    KivGuard("KivAudioEffectPluginToAudioPluginAdapter::ProcessPitchBend", [&] {
        KivAudioPlugin::ProcessPitchBend(sampleOffset, timePosition, channel, value);
        midiControllers_.OnPitchBend(channel, value);
    });
}

void KivAudioEffectPluginToAudioPluginAdapter::ProcessMIDIController(int32_t sampleOffset, double timePosition,
                                                                     int32_t channel, double value,
                                                                     int32_t controller) {
    KivGuard("KivAudioEffectPluginToAudioPluginAdapter::ProcessMIDIController", [&] {
        KivAudioPlugin::ProcessMIDIController(sampleOffset, timePosition, channel, value, controller);
        midiControllers_.OnController(channel, value, static_cast<uint32_t>(controller));
    });
}

void KivAudioEffectPluginToAudioPluginAdapter::StoreControllers(KivXMLItem& item, bool storing) {
    midiControllers_.StoreControllers(item, storing);
}
