#pragma once
#include <cstdint>

// TandrelMini's effect as seen through the framework's interface-function convention (see
// plugin/kiv_effect_message.h): a null `object` creates a TandrelAudioEffectPlugin.
intptr_t TandrelEffectInterface(void* object, int32_t message, void* argument);
