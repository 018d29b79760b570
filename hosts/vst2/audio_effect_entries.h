#pragma once
#include "hosts/vst2/vst2_abi.h"

// The plain functions stored in the AEffect record: they find the effect object behind the
// record and call it inside the framework's boundary handler, so that no exception ever
// unwinds into host code (which may not even be C++).
namespace AudioEffectEntries {

intptr_t Dispatch(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
void Process(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames);
void ProcessReplacing(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames);
void ProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs, int32_t sampleFrames);
void SetParameter(AEffect* effect, int32_t index, float value);
float GetParameter(AEffect* effect, int32_t index);

}  // namespace AudioEffectEntries
