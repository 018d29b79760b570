#include "dynamics/effect/tandrel_effect_interface.h"

#include "dynamics/effect/tandrel_audio_effect_plugin.h"
#include "plugin/kiv_effect_interface_dispatch.h"

intptr_t TandrelEffectInterface(void* object, int32_t message, void* argument) {
    return KivDispatchEffectMessage<TandrelAudioEffectPlugin>("TandrelAudioEffectPluginInterface", object, message,
                                                              argument);
}
