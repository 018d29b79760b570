#pragma once
#include "parameters/values/kiv_signal_generator_shape_text.h"
#include "parameters/values/kiv_value_number.h"

// A position among the signal generator's shapes (0..15 with a blending fraction).
class KivValueSignalGeneratorShape : public KivValueDouble {
public:
    using KivValueDouble::KivValueDouble;

protected:
    KivString FormatNumber(double value) const override { return KivFormatSignalGeneratorShape(value); }
};
