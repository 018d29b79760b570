#pragma once
#include "dynamics/detector/filters/kiv_biquad.h"

// Second-order designs for the detector's filters. The side-chain and equaliser sections use
// the well-known audio-EQ-cookbook forms (omega = 2 pi f / rate, alpha = sin omega / (2 Q));
// frequencies are clamped below the Nyquist frequency so that any sample rate gives a stable
// section.
namespace KivBiquadDesign {

KivBiquadCoefficients LowPass(double frequency, double quality, double sampleRate) noexcept;
KivBiquadCoefficients HighPass(double frequency, double quality, double sampleRate) noexcept;
KivBiquadCoefficients Peak(double frequency, double quality, double gainDecibels, double sampleRate) noexcept;
KivBiquadCoefficients LowShelf(double frequency, double quality, double gainDecibels, double sampleRate) noexcept;
KivBiquadCoefficients HighShelf(double frequency, double quality, double gainDecibels, double sampleRate) noexcept;

// An analogue section (s^2 + wz/Qz s + wz^2) / (s^2 + wp/Qp s + wp^2), frequencies in Hz,
// taken to the sample rate by the bilinear transform with both frequencies pre-warped so
// that they land where the analogue section has them. A zero frequency of 0 puts a double
// zero at DC (a high-pass).
KivBiquadCoefficients Bilinear(double zeroFrequency, double zeroQuality, double poleFrequency, double poleQuality,
                               double sampleRate) noexcept;

// The product of two first-order all-pass sections (c + z^-1) / (1 + c z^-1).
KivBiquadCoefficients AllPassPair(double c1, double c2) noexcept;

}  // namespace KivBiquadDesign
