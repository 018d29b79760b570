#include "entry/kiv_effect_interface.h"

#include "base/kiv_boundary.h"
#include "entry/kiv_product.h"
#include "plugin/kiv_audio_effect_plugin.h"
#include "plugin/kiv_effect_message.h"

namespace KivEffectInterface {

intptr_t Dispatch(void* object, int32_t message, void* argument) noexcept {
    return KivGuard("TandrelAudioEffectPluginInterface", intptr_t{0}, [&]() -> intptr_t {
        KivAudioEffectPlugin* effect =
            object ? static_cast<KivAudioEffectPlugin*>(object) : KivShippedProduct().createEffect();
        if (message == kKivEffectReturnSelf) return reinterpret_cast<intptr_t>(effect);
        return effect->HandleMessage(message, argument);
    });
}

}  // namespace KivEffectInterface
