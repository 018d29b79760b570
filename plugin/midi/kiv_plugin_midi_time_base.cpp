#include "plugin/midi/kiv_plugin_midi_time_base.h"

#include "plugin/kiv_audio_plugin.h"

KivPluginMIDITimeBase::KivPluginMIDITimeBase(KivAudioPlugin& plugin) : plugin_(plugin) {
    plugin_.SetMIDITimeBase(this);
}

KivPluginMIDITimeBase::~KivPluginMIDITimeBase() { plugin_.SetMIDITimeBase(nullptr); }

double KivPluginMIDITimeBase::GetTempo() const { return plugin_.GetTransport().tempo; }

double KivPluginMIDITimeBase::GetSampleRate() const { return plugin_.GetSampleRate(); }

double KivPluginMIDITimeBase::GetBlockStartPosition() const { return plugin_.GetTransport().songPosition; }
