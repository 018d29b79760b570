#pragma once
#include <cstdint>

// Told of every program change after the listeners have had it; the preset slots use it to
// select slot program mod 8.
class KivMIDIProgramChangeHook {
public:
    virtual void OnMIDIProgramChange(int32_t channel, int32_t program) = 0;

protected:
    ~KivMIDIProgramChangeHook() = default;
};
