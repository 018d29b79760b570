#pragma once
#include <cstddef>
#include <cstdint>

#include "plugin/kiv_effect_message.h"

class KivAudioEffectPlugin;

// The host side of one effect: it holds the effect's interface function and the effect made
// through it, sends it messages, and answers the effect's calls back (message 0 by its own
// query, 1..7 by handlers its owner installs).
class KivAudioEffectPluginHost {
public:
    static constexpr int32_t kHandlerCount = 8;
    using Handler = intptr_t (*)(KivAudioEffectPluginHost& host, int32_t message, void* argument);

    explicit KivAudioEffectPluginHost(KivAudioEffectPluginInterfaceFunction function) : function_(function) {}
    // Destroys the effect (message 1).
    virtual ~KivAudioEffectPluginHost();
    KivAudioEffectPluginHost(const KivAudioEffectPluginHost&) = delete;
    KivAudioEffectPluginHost& operator=(const KivAudioEffectPluginHost&) = delete;

    static void* operator new(size_t size);
    static void operator delete(void* block) noexcept;

    // Creates the effect (message 0 with no object) and connects it to this host; false when
    // the interface function made none.
    bool Connect();
    // Asks the effect for its interface (message 2) and initialises it (message 3).
    void InitializeEffect();
    intptr_t Send(int32_t message, KivEffectMessageRecord* argument = nullptr);

    KivAudioEffectPlugin* GetEffect() const noexcept { return effect_; }
    void* GetUserData() const noexcept { return userData_; }
    void SetUserData(void* data) noexcept { userData_ = data; }
    // `message` 1..7.
    void SetHandler(int32_t message, Handler handler) noexcept;

    // The callback handed to the effect.
    static intptr_t Callback(void* hostObject, int32_t message, void* argument);

protected:
    // Message 0 of the callback.
    virtual intptr_t Query(void* argument);

private:
    KivAudioEffectPluginInterfaceFunction function_;
    void* effectObject_ = nullptr;
    KivAudioEffectPlugin* effect_ = nullptr;
    void* userData_ = nullptr;
    Handler handlers_[kHandlerCount] = {};
};
