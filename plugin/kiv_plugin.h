#pragma once
#include "base/kiv_object.h"
#include "plugin/kiv_effect_message.h"

// Base of everything a plug-in system can create: it knows the host object that made it and
// how to call that host back.
class KivPlugin : public KivObject {
public:
    void* GetHostObject() const noexcept { return hostObject_; }
    // Calls the host back; -1 when connected to no host.
    intptr_t CallHost(int32_t message, KivEffectMessageRecord* argument = nullptr) const;

protected:
    void SetHost(void* hostObject, KivEffectHostCallback callback) noexcept {
        hostObject_ = hostObject;
        hostCallback_ = callback;
    }

private:
    void* hostObject_ = nullptr;
    KivEffectHostCallback hostCallback_ = nullptr;
};
