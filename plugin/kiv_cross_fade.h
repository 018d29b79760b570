#pragma once
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <vector>

// The weights of a cross-fade, at step `position` of `length` (0: all the old side, `length`:
// all the new), both monotonic, smooth at either end.
//
// Coherent sides (the same audio at the same time through two paths: bypass's dry and
// processed signals, two gain curves on one delayed signal) take weights summing to 1: sin^2
// for the new side, 1 - sin^2 for the old, so a fade between equal signals changes nothing.
// Uncorrelated sides (the same audio at two different delays) take powers summing to 1: sin
// and cos, so programme material keeps its loudness through the fade.
inline double KivCoherentFadeWeight(int32_t position, int32_t length) noexcept {
    const double s = std::sin(0.5 * std::numbers::pi * static_cast<double>(position) / length);
    return s * s;
}

inline double KivFadeAngle(double position, int32_t length) noexcept {
    return 0.5 * std::numbers::pi * position / length;
}

// The weights of every step of a fade of one length, worked out once, off the audio thread, so
// that a fade played on the audio thread costs a look-up per sample instead of a sine and a
// cosine (on two cores a look-ahead fade of two channels took about as long as the rest of
// the block). They are the same functions' results, so the audio does not change.
// Tables are shared by every fade of the same length in the process and never change.
class KivFadeTable {
public:
    // The table for `length` steps (at least 1). Allocates the first time: not on the audio
    // thread.
    static std::shared_ptr<const KivFadeTable> Of(int32_t length);

    int32_t Length() const noexcept { return length_; }
    // KivCoherentFadeWeight(position, Length()), position 0 .. Length().
    double Coherent(int32_t position) const noexcept { return coherent_[static_cast<size_t>(position)]; }
    // The sine and cosine of KivFadeAngle(position + 0.5, Length()), position 0 .. Length() - 1:
    // the amplitudes of the arriving and the leaving side of an equal-power fade, taken in
    // the middle of each step.
    double Rising(int32_t position) const noexcept { return rising_[static_cast<size_t>(position)]; }
    double Falling(int32_t position) const noexcept { return falling_[static_cast<size_t>(position)]; }

    explicit KivFadeTable(int32_t length);

private:
    int32_t length_;
    std::vector<double> coherent_;
    std::vector<double> rising_;
    std::vector<double> falling_;
};
