#pragma once
#include <cstdint>

#include "parameters/compound/kiv_compound_model.h"

// A signal generator as its host face sees it: four settings (shape, custom morph, step
// sequencer, smoothness), each already in the host's 0..1; how they spread over the
// generator's own ranges is the generator's business.
class KivSignalGeneratorModel : public KivCompoundModel {
public:
    static constexpr int32_t kSettingCount = 4;

    virtual double GetSetting01(int32_t setting) const = 0;
    virtual void SetSetting01(int32_t setting, double value) = 0;
};
