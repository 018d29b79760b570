#pragma once
#include <cstdint>

// How the release time moves while the detector runs.
enum class KivReleaseMode : int32_t {
    kManual = 0,
    kAutomatic = 1,
    kAutomaticFast = 2,
    kLinear1 = 3,
    kLinear2 = 4,
    kOpto = 5
};
inline constexpr int32_t kKivReleaseModeCount = 6;

// The constants of the release-mode update, fixed when settings are applied. The meaning of
// k0, k1, start and end depends on the mode (samples in the automatic modes, seconds in
// the others).
struct KivReleaseModeBlock {
    double k0 = 0.0;
    double k1 = 0.0;
    double start = 0.0;
    double end = 0.0;
    double lowestThreshold = 0.0;
    double sampleRate = 0.0;
};

// What the update changes in a channel: the release coefficient and the automatic release
// time in samples.
struct KivReleaseModeChannel {
    double releaseCoefficient;
    double automaticTime;
};

using KivReleaseModeUpdate = void (*)(const KivReleaseModeBlock& block, KivReleaseModeChannel& channel,
                                      double envelope);

namespace KivReleaseModes {

// Fills the block for a mode and returns its update (null for Manual, which never changes
// the release).
KivReleaseModeUpdate Prepare(KivReleaseMode mode, double attack, double release, double autoSpeed,
                             double lowestThreshold, double sampleRate, KivReleaseModeBlock& block) noexcept;

// exp(-1 / samples), or 0 for a zero time: the one-pole coefficient of a time constant.
double Coefficient(double samples) noexcept;

}  // namespace KivReleaseModes
