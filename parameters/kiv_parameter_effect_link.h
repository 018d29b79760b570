#pragma once
#include <cstdint>

// What a parameter object needs of the effect plug-in that declared it. The effect-to-plug-in
// adapter implements it over the effect's interface.
class KivParameterEffectLink {
public:
    virtual ~KivParameterEffectLink() = default;
    // A parameter was changed from outside the processing (not silently).
    virtual void OnParameterChanged(int32_t recordIndex) = 0;
    // The effect must rebuild its processing state before the next block (bit 2 of its change
    // byte); many marks before one block still cause one rebuild.
    virtual void MarkForReprepare() = 0;
};
