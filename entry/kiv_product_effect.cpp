#include "entry/kiv_product_effect.h"

#include "dynamics/effect/tandrel_audio_effect_plugin.h"

KivAudioEffectPlugin* KivCreateProductEffect() { return new TandrelAudioEffectPlugin(); }
