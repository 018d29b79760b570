#pragma once

// exp, natural logarithm and power from plain arithmetic only. The runtime libraries of
// the Linux and Windows builds round these functions differently in the last bit; curves
// evaluated on the audio thread must give the same samples on both, so the envelope code
// uses these instead. Accuracy is a few units in the last place.
namespace KivEnvelopeMath {

double Exp(double x) noexcept;
// Natural logarithm; -infinity at 0, NaN below.
double Log(double x) noexcept;
// base^exponent for base >= 0: 0 at base 0 (exponent > 0), 1 at base 1.
double Pow(double base, double exponent) noexcept;

}  // namespace KivEnvelopeMath
