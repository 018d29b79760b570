#pragma once
#include <cstdint>

#include "parameters/compound/kiv_compound_model.h"

// The fields of an ADSR as its host face reads and writes them: times in seconds (0..10),
// sustain and smoothing in 0..1, shapes in -1..1.
class KivADSRModel : public KivCompoundModel {
public:
    enum Field : int32_t {
        kDelay,
        kAttack,
        kHold,
        kDecay,
        kRelease,
        kSustain,
        kSmoothing,
        kAttackShape,
        kDecayShape,
        kReleaseShape,
        kFieldCount
    };

    virtual double GetField(Field field) const = 0;
    virtual void SetField(Field field, double value) = 0;
};
