#include "hosts/vst2/audio_effect_x.h"

AudioEffectX::AudioEffectX(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams)
    : AudioEffect(audioMaster, numPrograms, numParams) {}

// Each group below handles its own opcodes and passes the rest on; the 2.0 base is last.
intptr_t AudioEffectX::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    return dispatchIdentity(opcode, index, value, ptr, opt);
}

intptr_t AudioEffectX::dispatchIdentity(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
    case effGetEffectName: return getEffectName(text) ? 1 : 0;
    case effGetVendorString: return getVendorString(text) ? 1 : 0;
    case effGetProductString: return getProductString(text) ? 1 : 0;
    case effGetVendorVersion: return getVendorVersion();
    case effGetPlugCategory: return getPlugCategory();
    case effGetVstVersion: return getVstVersion();
    case effCanDo: return canDo(text);
    case effGetTailSize: return getTailSize();
    case effVendorSpecific: return vendorSpecific(index, value, ptr, opt);
    case effCanBeAutomated: return canParameterBeAutomated(index) ? 1 : 0;
    case effString2Parameter: return string2parameter(index, text) ? 1 : 0;
    case effGetParameterProperties:
        return getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)) ? 1 : 0;
    case effGetProgramNameIndexed: return getProgramNameIndexed(static_cast<int32_t>(value), index, text) ? 1 : 0;
    case effBeginSetProgram: return beginSetProgram() ? 1 : 0;
    case effEndSetProgram: return endSetProgram() ? 1 : 0;
    case effGetNumMidiInputChannels: return getNumMidiInputChannels();
    case effGetNumMidiOutputChannels: return getNumMidiOutputChannels();
    default: return dispatchProcessing(opcode, index, value, ptr, opt);
    }
}

intptr_t AudioEffectX::dispatchProcessing(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    switch (opcode) {
    case effProcessEvents: return processEvents(static_cast<VstEvents*>(ptr));
    case effGetInputProperties: return getInputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effGetOutputProperties: return getOutputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effSetSpeakerArrangement:
        return setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                     static_cast<VstSpeakerArrangement*>(ptr)) ? 1 : 0;
    case effGetSpeakerArrangement:
        return getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                     static_cast<VstSpeakerArrangement**>(ptr)) ? 1 : 0;
    case effSetBypass: return setBypass(value != 0) ? 1 : 0;
    case effSetProcessPrecision: return setProcessPrecision(static_cast<int32_t>(value)) ? 1 : 0;
    case effStartProcess: return startProcess();
    case effStopProcess: return stopProcess();
    case effSetPanLaw: return setPanLaw(static_cast<int32_t>(value), opt) ? 1 : 0;
    default: return dispatchEditorKeys(opcode, index, value, ptr, opt);
    }
}

intptr_t AudioEffectX::dispatchEditorKeys(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    AEffEditor* editor = getEditor();
    switch (opcode) {
    case effEditKeyDown:
    case effEditKeyUp: return editor && forwardKey(*editor, opcode, index, value, opt) ? 1 : 0;
    case effSetEditKnobMode: return editor && editor->setKnobMode(static_cast<int32_t>(value)) ? 1 : 0;
    default: return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

// The host sends the character as index, the virtual key as value and the modifiers as opt.
bool AudioEffectX::forwardKey(AEffEditor& editor, int32_t opcode, int32_t index, intptr_t value, float opt) {
    VstKeyCode key{index, static_cast<unsigned char>(value), static_cast<unsigned char>(opt)};
    return opcode == effEditKeyDown ? editor.onKeyDown(key) : editor.onKeyUp(key);
}

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) {
    if (input) *input = nullptr;
    if (output) *output = nullptr;
    return false;
}

VstPlugCategory AudioEffectX::getPlugCategory() {
    return (getAeffect()->flags & effFlagsIsSynth) ? kPlugCategSynth : kPlugCategEffect;
}

VstTimeInfo* AudioEffectX::getTimeInfo(int32_t filter) {
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

bool AudioEffectX::sendVstEventsToHost(VstEvents* events) {
    return callHost(audioMasterProcessEvents, 0, 0, events) == 1;
}

bool AudioEffectX::ioChanged() { return callHost(audioMasterIOChanged) != 0; }

bool AudioEffectX::sizeWindow(int32_t width, int32_t height) {
    return callHost(audioMasterSizeWindow, width, height) != 0;
}

bool AudioEffectX::updateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }

bool AudioEffectX::beginEdit(int32_t index) { return callHost(audioMasterBeginEdit, index) != 0; }

bool AudioEffectX::endEdit(int32_t index) { return callHost(audioMasterEndEdit, index) != 0; }

int32_t AudioEffectX::canHostDo(const char* text) {
    const intptr_t answer = callHost(audioMasterCanDo, 0, 0, const_cast<char*>(text));
    return answer > 0 ? 1 : (answer < 0 ? -1 : 0);
}

float AudioEffectX::updateSampleRate() {
    const intptr_t rate = callHost(audioMasterGetSampleRate);
    if (rate > 0) AudioEffect::setSampleRate(static_cast<float>(rate));
    return getSampleRate();
}

int32_t AudioEffectX::updateBlockSize() {
    const intptr_t size = callHost(audioMasterGetBlockSize);
    if (size > 0) AudioEffect::setBlockSize(static_cast<int32_t>(size));
    return getBlockSize();
}

int32_t AudioEffectX::getInputLatency() { return static_cast<int32_t>(callHost(audioMasterGetInputLatency)); }

int32_t AudioEffectX::getOutputLatency() { return static_cast<int32_t>(callHost(audioMasterGetOutputLatency)); }

int32_t AudioEffectX::getCurrentProcessLevel() {
    return static_cast<int32_t>(callHost(audioMasterGetCurrentProcessLevel));
}

int32_t AudioEffectX::getAutomationState() {
    return static_cast<int32_t>(callHost(audioMasterGetAutomationState));
}

bool AudioEffectX::getHostVendorString(char* text) {
    *text = '\0';
    return callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}

bool AudioEffectX::getHostProductString(char* text) {
    *text = '\0';
    return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}

int32_t AudioEffectX::getHostVendorVersion() {
    return static_cast<int32_t>(callHost(audioMasterGetVendorVersion));
}
