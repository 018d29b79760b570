#include "hosts/vst2/audio_effect_entries.h"

#include "base/kiv_boundary.h"
#include "hosts/vst2/audio_effect.h"

namespace {

// Opcodes whose answer is a text written into the host's buffer.
bool WritesText(int32_t opcode) {
    switch (opcode) {
    case effGetProgramName: case effGetParamLabel: case effGetParamDisplay: case effGetParamName:
    case effGetProgramNameIndexed: case effGetEffectName: case effGetVendorString:
    case effGetProductString:
        return true;
    default:
        return false;
    }
}

// Opcodes that cannot do anything sensible without the host's pointer argument.
bool NeedsPointer(int32_t opcode) {
    switch (opcode) {
    case effEditGetRect: case effGetChunk: case effSetChunk: case effProcessEvents:
    case effString2Parameter: case effGetInputProperties: case effGetOutputProperties: case effCanDo:
    case effGetParameterProperties: case effGetSpeakerArrangement:
        return true;
    default:
        return WritesText(opcode);
    }
}

bool IsEmptyBlock(const void* outputs, int32_t sampleFrames) { return !outputs || sampleFrames <= 0; }

}  // namespace

namespace AudioEffectEntries {

intptr_t Dispatch(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    AudioEffect* object = AudioEffect::FromAeffect(effect);
    if (!object || (NeedsPointer(opcode) && !ptr)) return 0;
    bool completed = false;
    const intptr_t result = KivGuard("AudioEffect::dispatcher", intptr_t{0}, [&] {
        const intptr_t answer = object->dispatcher(opcode, index, value, ptr, opt);
        completed = true;
        return answer;
    });
    // A text operation that failed half-way must not leave its half text to the host.
    if (!completed && WritesText(opcode)) *static_cast<char*>(ptr) = '\0';
    if (opcode != effClose) return result;
    delete object;
    return 1;
}

void Process(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames) {
    AudioEffect* object = AudioEffect::FromAeffect(effect);
    if (!object || IsEmptyBlock(outputs, sampleFrames)) return;
    KivGuard("AudioEffect::process", [&] { object->process(inputs, outputs, sampleFrames); });
}

void ProcessReplacing(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames) {
    AudioEffect* object = AudioEffect::FromAeffect(effect);
    if (!object || IsEmptyBlock(outputs, sampleFrames)) return;
    KivGuard("AudioEffect::processReplacing", [&] { object->processReplacing(inputs, outputs, sampleFrames); });
}

void ProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs, int32_t sampleFrames) {
    AudioEffect* object = AudioEffect::FromAeffect(effect);
    if (!object || IsEmptyBlock(outputs, sampleFrames)) return;
    KivGuard("AudioEffect::processDoubleReplacing",
             [&] { object->processDoubleReplacing(inputs, outputs, sampleFrames); });
}

void SetParameter(AEffect* effect, int32_t index, float value) {
    AudioEffect* object = AudioEffect::FromAeffect(effect);
    if (!object) return;
    KivGuard("AudioEffect::setParameter", [&] { object->setParameter(index, value); });
}

float GetParameter(AEffect* effect, int32_t index) {
    AudioEffect* object = AudioEffect::FromAeffect(effect);
    if (!object) return 0.0f;
    return KivGuard("AudioEffect::getParameter", 0.0f, [&] { return object->getParameter(index); });
}

}  // namespace AudioEffectEntries
