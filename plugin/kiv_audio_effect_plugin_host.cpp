#include "plugin/kiv_audio_effect_plugin_host.h"

#include "base/kiv_memory.h"
#include "plugin/kiv_audio_effect_plugin.h"

KivAudioEffectPluginHost::~KivAudioEffectPluginHost() {
    if (effectObject_) Send(kKivEffectDestroy);
}

void* KivAudioEffectPluginHost::operator new(size_t size) { return KivMemory::Allocate(size); }

void KivAudioEffectPluginHost::operator delete(void* block) noexcept { KivMemory::Free(block); }

bool KivAudioEffectPluginHost::Connect() {
    KivEffectMessageRecord record;
    record.SetPointer(1, this);
    record.SetPointer(3, reinterpret_cast<const void*>(&KivAudioEffectPluginHost::Callback));
    effectObject_ = reinterpret_cast<void*>(function_(nullptr, kKivEffectConnect, &record));
    // -1 is the interface function's answer when it failed.
    if (reinterpret_cast<intptr_t>(effectObject_) == -1) effectObject_ = nullptr;
    return effectObject_ != nullptr;
}

void KivAudioEffectPluginHost::InitializeEffect() {
    effect_ = reinterpret_cast<KivAudioEffectPlugin*>(Send(kKivEffectGetInterface));
    Send(kKivEffectInitialize);
}

intptr_t KivAudioEffectPluginHost::Send(int32_t message, KivEffectMessageRecord* argument) {
    return function_(effectObject_, message, argument);
}

void KivAudioEffectPluginHost::SetHandler(int32_t message, Handler handler) noexcept {
    if (message >= 1 && message < kHandlerCount) handlers_[message] = handler;
}

intptr_t KivAudioEffectPluginHost::Query(void*) { return -1; }

intptr_t KivAudioEffectPluginHost::Callback(void* hostObject, int32_t message, void* argument) {
    auto* host = static_cast<KivAudioEffectPluginHost*>(hostObject);
    if (!host || message < 0 || message >= kHandlerCount) return -1;
    if (message == 0) return host->Query(argument);
    Handler handler = host->handlers_[message];
    return handler ? handler(*host, message, argument) : 0;
}
