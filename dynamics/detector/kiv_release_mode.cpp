#include "dynamics/detector/kiv_release_mode.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kZero = 1e-50;
constexpr double kShortestAttack = 0.001;
constexpr double kShortestLinearRelease = 0.0001;
constexpr double kUpdatesPerAutoSpeed = 16.0;  // the update runs every 16th sample
// The slowest one-pole coefficient: the steps blend logarithms with weights k and 1 - k, and
// a weight of exactly 0 on a silent value would give 0 x infinity.
constexpr double kLargestCoefficient = 1.0 - 1e-12;

// Every mode's release time in seconds goes through this floor: a release shorter than the
// attack turns the Linear modes' slope negative, and a negative time would give a
// coefficient above 1, so the envelope would run away instead of releasing.
double ReleaseCoefficient(double seconds, double sampleRate) noexcept {
    return KivReleaseModes::Coefficient(std::max(seconds, kShortestLinearRelease) * sampleRate);
}

// A time that is not a number (a state met by an invalid level) starts again from the shortest.
double AutomaticTime(const KivReleaseModeBlock& b, const KivReleaseModeChannel& c) noexcept {
    return std::isfinite(c.automaticTime) ? c.automaticTime : b.start;
}

void Automatic(const KivReleaseModeBlock& b, KivReleaseModeChannel& c, double e) {
    const double t = AutomaticTime(b, c);
    c.automaticTime = e > b.lowestThreshold ? std::min(t + (e - b.lowestThreshold) * b.k1, b.end)
                                            : std::max(t - (b.lowestThreshold - e) * b.k1, b.start);
    c.releaseCoefficient = KivReleaseModes::Coefficient(c.automaticTime);
}

void AutomaticFast(const KivReleaseModeBlock& b, KivReleaseModeChannel& c, double e) {
    const double t = AutomaticTime(b, c);
    c.automaticTime = e > b.lowestThreshold ? std::min(t + b.k1, b.end) : std::max(t + b.k0, b.start);
    c.releaseCoefficient = KivReleaseModes::Coefficient(c.automaticTime);
}

void Linear1(const KivReleaseModeBlock& b, KivReleaseModeChannel& c, double e) {
    const double seconds =
        e > b.lowestThreshold ? b.start + b.k1 * std::sqrt((e - b.lowestThreshold) * b.k0) : b.start;
    c.releaseCoefficient = ReleaseCoefficient(seconds, b.sampleRate);
}

// Linear 2 and Opto: the release time moves in proportion to the level above the threshold.
void Proportional(const KivReleaseModeBlock& b, KivReleaseModeChannel& c, double e) {
    const double seconds = e > b.lowestThreshold ? b.start + std::min(e - b.lowestThreshold, 1.0) * b.k0 : b.start;
    c.releaseCoefficient = ReleaseCoefficient(seconds, b.sampleRate);
}

// The same without a threshold: the whole level range up to 1 moves the time.
void ProportionalWithoutFloor(const KivReleaseModeBlock& b, KivReleaseModeChannel& c, double e) {
    c.releaseCoefficient = ReleaseCoefficient(b.start + std::min(e, 1.0) * b.k0, b.sampleRate);
}

}  // namespace

namespace KivReleaseModes {

// A time of zero, below zero or not a number jumps at once (0); every other coefficient stays
// below 1, so no setting makes the envelope grow without bound.
double Coefficient(double samples) noexcept {
    return samples > kZero ? std::min(std::exp(-1.0 / samples), kLargestCoefficient) : 0.0;
}

KivReleaseModeUpdate Prepare(KivReleaseMode mode, double attack, double release, double autoSpeed,
                             double lowestThreshold, double sampleRate, KivReleaseModeBlock& b) noexcept {
    const double attackTime = std::max(attack, kShortestAttack);
    // A threshold at full scale would divide by zero; it leaves the span at its smallest.
    const double span = std::max(1.0 - lowestThreshold, 1e-9);
    b = KivReleaseModeBlock{};
    b.lowestThreshold = lowestThreshold;
    b.sampleRate = sampleRate;
    const bool withoutThreshold = std::fabs(lowestThreshold) <= kZero;
    switch (mode) {
        case KivReleaseMode::kAutomatic:
        case KivReleaseMode::kAutomaticFast:
            b.start = attackTime * sampleRate;
            b.end = release * sampleRate;
            b.k1 = kUpdatesPerAutoSpeed * autoSpeed;
            b.k0 = -kUpdatesPerAutoSpeed * autoSpeed;
            return mode == KivReleaseMode::kAutomatic ? Automatic : AutomaticFast;
        case KivReleaseMode::kLinear1:
            b.k0 = 1.0 / span;
            b.k1 = release - attackTime;
            b.start = attackTime;
            return Linear1;
        case KivReleaseMode::kLinear2:
            b.k0 = (release - attackTime) / span;
            b.start = attackTime;
            return withoutThreshold ? ProportionalWithoutFloor : Proportional;
        case KivReleaseMode::kOpto:
            b.k0 = (attackTime - release) / span;
            b.start = release;
            return withoutThreshold ? ProportionalWithoutFloor : Proportional;
        default:
            return nullptr;
    }
}

}  // namespace KivReleaseModes
