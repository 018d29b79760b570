#pragma once
#include <cstdint>

#include "base/kiv_string.h"
#include "plugin/kiv_effect_message.h"

class KivAudioEffectPluginHost;

// Creates effect plug-ins from their interface functions.
class KivPluginSystem {
public:
    static constexpr int32_t kCreated = 0;
    static constexpr int32_t kConnectFailed = 5;

    // Builds a host for `function`, creates and connects the effect (message 0), asks for its
    // interface (2) and initialises it (3). On kCreated `host` receives the new host, which
    // the caller owns; on failure it is left null.
    int32_t CreateEffect(const KivString& name, KivAudioEffectPluginInterfaceFunction function,
                         KivAudioEffectPluginHost*& host);
};
