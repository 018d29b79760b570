#pragma once
#include <cstdint>

#include "hosts/vst2/audio_effect.h"

// The VST 2.x extension of AudioEffect: events, pin and speaker descriptions, identity
// texts, capabilities, and the host calls added with them.
class AudioEffectX : public AudioEffect {
public:
    AudioEffectX(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams);

    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;

    // ---- Called by the host ------------------------------------------------------------
    // MIDI and other events for the next block; 1 when they were taken.
    virtual int32_t processEvents(VstEvents* /*events*/) { return 0; }
    virtual bool canParameterBeAutomated(int32_t /*index*/) { return true; }
    virtual bool string2parameter(int32_t /*index*/, char* /*text*/) { return false; }
    virtual bool getParameterProperties(int32_t /*index*/, VstParameterProperties* /*properties*/) {
        return false;
    }
    virtual bool getProgramNameIndexed(int32_t /*category*/, int32_t /*index*/, char* /*text*/) { return false; }
    virtual bool beginSetProgram() { return false; }
    virtual bool endSetProgram() { return false; }

    virtual bool getInputProperties(int32_t /*index*/, VstPinProperties* /*properties*/) { return false; }
    virtual bool getOutputProperties(int32_t /*index*/, VstPinProperties* /*properties*/) { return false; }
    virtual bool setSpeakerArrangement(VstSpeakerArrangement* /*input*/, VstSpeakerArrangement* /*output*/) {
        return false;
    }
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output);
    virtual bool setBypass(bool /*bypass*/) { return false; }
    virtual bool setProcessPrecision(int32_t precision) { return precision == kVstProcessPrecision32; }
    virtual int32_t getNumMidiInputChannels() { return 0; }
    virtual int32_t getNumMidiOutputChannels() { return 0; }
    virtual int32_t startProcess() { return 0; }
    virtual int32_t stopProcess() { return 0; }
    virtual bool setPanLaw(int32_t /*type*/, float /*gain*/) { return false; }

    virtual bool getEffectName(char* /*name*/) { return false; }
    virtual bool getVendorString(char* /*text*/) { return false; }
    virtual bool getProductString(char* /*text*/) { return false; }
    virtual int32_t getVendorVersion() { return 0; }
    virtual VstPlugCategory getPlugCategory();
    // 1 yes, -1 no, 0 do not know.
    virtual int32_t canDo(char* /*text*/) { return 0; }
    // Samples of sound after the input falls silent: 0 default, 1 none.
    virtual int32_t getTailSize() { return 0; }
    virtual int32_t getVstVersion() { return kVstVersion; }
    virtual intptr_t vendorSpecific(int32_t /*index*/, intptr_t /*value*/, void* /*ptr*/, float /*opt*/) {
        return 0;
    }

    // ---- Set up by the effect ----------------------------------------------------------
    void isSynth(bool state = true) { setFlag(effFlagsIsSynth, state); }
    void noTail(bool state = true) { setFlag(effFlagsNoSoundInStop, state); }

    // ---- Calls to the host -------------------------------------------------------------
    // The host's transport, with at least the fields named in `filter` (VstTimeInfoFlags)
    // valid if the host has them; null when the host gives none. Owned by the host.
    VstTimeInfo* getTimeInfo(int32_t filter);
    bool sendVstEventsToHost(VstEvents* events);
    // A 2.4 host sends events to every effect that says it can receive them (canDo);
    // the old request is kept for source compatibility and does nothing.
    void wantEvents(int32_t /*filter*/ = 1) {}
    bool ioChanged();
    bool sizeWindow(int32_t width, int32_t height);
    bool updateDisplay();
    bool beginEdit(int32_t index);
    bool endEdit(int32_t index);
    // 1 yes, -1 no, 0 do not know.
    int32_t canHostDo(const char* text);
    float updateSampleRate();
    int32_t updateBlockSize();
    int32_t getInputLatency();
    int32_t getOutputLatency();
    int32_t getCurrentProcessLevel();
    int32_t getAutomationState();
    bool getHostVendorString(char* text);
    bool getHostProductString(char* text);
    int32_t getHostVendorVersion();

private:
    intptr_t dispatchIdentity(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    intptr_t dispatchProcessing(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    intptr_t dispatchEditorKeys(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    static bool forwardKey(AEffEditor& editor, int32_t opcode, int32_t index, intptr_t value, float opt);
};
