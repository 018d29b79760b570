#include "hosts/vst2/audio_effect.h"

#include <cstring>

#include "hosts/vst2/audio_effect_entries.h"

AudioEffect::AudioEffect(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams)
    : audioMaster_(audioMaster) {
    std::memset(&effect_, 0, sizeof(effect_));
    effect_.magic = kEffectMagic;
    effect_.dispatcher = AudioEffectEntries::Dispatch;
    effect_.process = AudioEffectEntries::Process;
    effect_.setParameter = AudioEffectEntries::SetParameter;
    effect_.getParameter = AudioEffectEntries::GetParameter;
    effect_.processReplacing = AudioEffectEntries::ProcessReplacing;
    effect_.processDoubleReplacing = AudioEffectEntries::ProcessDoubleReplacing;
    effect_.numPrograms = numPrograms;
    effect_.numParams = numParams;
    effect_.numInputs = 1;
    effect_.numOutputs = 2;
    effect_.ioRatio = 1.0f;
    effect_.object = this;
    effect_.version = 1;
}

// The record may outlive the object in a careless host; a cleared magic makes FromAeffect
// refuse it instead of calling into freed memory.
AudioEffect::~AudioEffect() {
    effect_.magic = 0;
    effect_.object = nullptr;
}

AudioEffect* AudioEffect::FromAeffect(AEffect* effect) {
    if (!effect || effect->magic != kEffectMagic) return nullptr;
    return static_cast<AudioEffect*>(effect->object);
}

intptr_t AudioEffect::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    switch (opcode) {
    case effOpen: open(); return 0;
    case effClose: close(); return 1;
    case effSetProgram: case effGetProgram: case effSetProgramName: case effGetProgramName:
        return dispatchProgram(opcode, index, value, ptr);
    case effGetParamLabel: getParameterLabel(index, static_cast<char*>(ptr)); return 0;
    case effGetParamDisplay: getParameterDisplay(index, static_cast<char*>(ptr)); return 0;
    case effGetParamName: getParameterName(index, static_cast<char*>(ptr)); return 0;
    case effSetSampleRate: setSampleRate(opt); return 0;
    case effSetBlockSize: setBlockSize(static_cast<int32_t>(value)); return 0;
    case effMainsChanged: value ? resume() : suspend(); return 0;
    case effEditGetRect: case effEditOpen: case effEditClose: case effEditIdle:
        return dispatchEditor(opcode, ptr);
    case effGetChunk: return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk: return setChunk(ptr, static_cast<int32_t>(value), index != 0);
    default: return 0;
    }
}

intptr_t AudioEffect::dispatchProgram(int32_t opcode, int32_t index, intptr_t value, void* ptr) {
    (void)index;
    switch (opcode) {
    case effSetProgram: setProgram(static_cast<int32_t>(value)); return 0;
    case effGetProgram: return getProgram();
    case effSetProgramName: setProgramName(static_cast<char*>(ptr)); return 0;
    case effGetProgramName: getProgramName(static_cast<char*>(ptr)); return 0;
    default: return 0;
    }
}

intptr_t AudioEffect::dispatchEditor(int32_t opcode, void* ptr) {
    if (opcode == effEditGetRect) *static_cast<ERect**>(ptr) = nullptr;
    if (!editor_) return 0;
    switch (opcode) {
    case effEditGetRect: return editor_->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen: return editor_->open(ptr) ? 1 : 0;
    case effEditClose: editor_->close(); return 1;
    case effEditIdle: editor_->idle(); return 1;
    default: return 0;
    }
}

void AudioEffect::setEditor(AEffEditor* editor) {
    editor_.reset(editor);
    setFlag(effFlagsHasEditor, editor != nullptr);
}

void AudioEffect::setFlag(int32_t flag, bool state) {
    effect_.flags = state ? (effect_.flags | flag) : (effect_.flags & ~flag);
}

intptr_t AudioEffect::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    return audioMaster_ ? audioMaster_(&effect_, opcode, index, value, ptr, opt) : 0;
}

// The oldest hosts leave the version call unanswered: their 0 means version 1.
int32_t AudioEffect::getMasterVersion() {
    if (!audioMaster_) return 0;
    const intptr_t version = callHost(audioMasterVersion);
    return version ? static_cast<int32_t>(version) : 1;
}

int32_t AudioEffect::getCurrentUniqueId() { return static_cast<int32_t>(callHost(audioMasterCurrentId)); }

void AudioEffect::masterIdle() { callHost(audioMasterIdle); }

void AudioEffect::setParameterAutomated(int32_t index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}
