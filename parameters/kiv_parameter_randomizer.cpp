#include "parameters/kiv_parameter_randomizer.h"

#include <algorithm>
#include <cmath>

#include "parameters/kiv_float_mapping.h"
#include "parameters/kiv_random_generator.h"
#include "parameters/values/kiv_rounding.h"

namespace {

constexpr double kTolerance = 1e-50;

bool IsFull(double amount) { return std::fabs(amount - 1.0) <= kTolerance; }

// r * 2d - d: a move of up to d either way.
double Spread(double draw, double distance) { return draw * 2.0 * distance - distance; }

void RandomizeFloat(KivEffectParameter& record, double amount) {
    auto& values = record.values.asFloat;
    double draw = KivRandomGenerator::Draw();
    double position = draw;
    if (!IsFull(amount))
        position = std::clamp(KivFloatToNormalized(values, values.value) + Spread(draw, amount), 0.0, 1.0);
    double real = KivFloatFromNormalized(values, position);
    if (record.HasFlag2(KivEffectParameter::kWholeNumbers)) real = KivRoundHalfUp(real);
    values.value = std::clamp(real, values.minimum, values.maximum);
}

void RandomizeInteger(KivEffectParameter& record, double amount) {
    auto& values = record.values.asInteger;
    double draw = KivRandomGenerator::Draw();
    double range = static_cast<double>(values.maximum) - values.minimum;
    int64_t value = IsFull(amount) ? KivRoundHalfUpToInteger(draw * range + values.minimum)
                                   : values.value + KivRoundHalfUpToInteger(Spread(draw, range * amount));
    values.value = static_cast<int32_t>(std::clamp<int64_t>(value, values.minimum, values.maximum));
}

void RandomizeEnumeration(KivEffectParameter& record, double amount) {
    auto& values = record.values.asEnumeration;
    double draw = KivRandomGenerator::Draw();
    int64_t index = IsFull(amount) ? static_cast<int64_t>(draw * values.count)
                                   : values.index + KivRoundHalfUpToInteger(Spread(draw, values.count * amount));
    values.index = static_cast<int32_t>(std::clamp<int64_t>(index, 0, std::max(values.count - 1, 0)));
}

bool SwitchesTakePart(double amount) { return amount + kTolerance >= 0.5; }

uint8_t DrawSwitch() { return static_cast<uint8_t>((KivRandomGenerator::NextSeed() >> 16) & 1u); }

}  // namespace

namespace KivParameterRandomizer {

void Randomize(KivEffectParameter& record, double amount, bool force) {
    if (!record.HasFlag(KivEffectParameter::kRandomisable) && !force) return;
    switch (record.type) {
        case kKivParameterTypeFloat: RandomizeFloat(record, amount); break;
        case kKivParameterTypeInteger: RandomizeInteger(record, amount); break;
        case kKivParameterTypeEnumeration: RandomizeEnumeration(record, amount); break;
        case kKivParameterTypeBool:
            if (SwitchesTakePart(amount)) record.values.asBool.value = DrawSwitch();
            break;
        case kKivParameterTypeGroup:
            if (SwitchesTakePart(amount) && record.values.asGroup.enabled) *record.values.asGroup.enabled = DrawSwitch();
            break;
        default: break;
    }
}

}  // namespace KivParameterRandomizer
