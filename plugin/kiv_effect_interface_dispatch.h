#pragma once
#include <cstdint>

#include "base/kiv_boundary.h"
#include "plugin/kiv_audio_effect_plugin.h"

// The body of an effect library's interface function (see kiv_effect_message.h): a null
// object creates a new `Effect`; message 7 answers the object itself; every other message goes
// to the object's message handler. Nothing escapes to the caller: a failure answers -1.
template <typename Effect>
intptr_t KivDispatchEffectMessage(const char* qualifiedName, void* object, int32_t message, void* argument) noexcept {
    return KivGuard(qualifiedName, intptr_t{-1}, [&]() -> intptr_t {
        auto* effect = static_cast<KivAudioEffectPlugin*>(object);
        if (!effect) effect = new Effect();
        if (message == kKivEffectReturnSelf) return reinterpret_cast<intptr_t>(effect);
        return effect->HandleMessage(message, argument);
    });
}
