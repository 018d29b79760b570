#pragma once
#include "parameters/kiv_effect_parameter.h"

// Randomises the value of one simple record from the module's generator. An amount of 1
// draws a fresh value over the whole range; a smaller amount moves the value by up to that
// share of the range either way. Only records marked randomisable take part unless `force`
// is given. On/off records and group switches take part only from an amount of 0.5 on.
namespace KivParameterRandomizer {

void Randomize(KivEffectParameter& record, double amount, bool force = false);

}  // namespace KivParameterRandomizer
