#include "tools/bench/tandrel/kiv_programme_signal.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTempo = 120.0;

// The framework's generator, so the noise is the same on every platform.
class Noise {
public:
    float Next() {
        seed_ = seed_ * 214013u + 2531011u;
        return static_cast<float>(((seed_ >> 16) & 0x7FFF) / 16383.5 - 1.0);
    }

private:
    uint32_t seed_ = 12345;
};

double Kick(double t) { return t < 0 ? 0 : 0.9 * std::exp(-t * 18.0) * std::sin(2 * kPi * (50.0 * t + 40.0 * (1 - std::exp(-t * 30.0)) / 30.0)); }

double SnareEnvelope(double t) { return t < 0 ? 0 : 0.5 * std::exp(-t * 25.0); }

}  // namespace

namespace KivProgrammeSignal {

std::vector<std::vector<float>> Generate(int32_t sampleRate, int64_t frames) {
    std::vector<std::vector<float>> channels(2, std::vector<float>(static_cast<size_t>(frames)));
    const double beat = 60.0 / kTempo;
    Noise noise;
    for (int64_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double inBar = std::fmod(t, 4 * beat);
        const double kick = Kick(std::fmod(t, 2 * beat));
        const double snare = SnareEnvelope(std::fmod(t + beat, 2 * beat)) * noise.Next();
        const double tone = 0.12 * std::sin(2 * kPi * 220.0 * t) + 0.08 * std::sin(2 * kPi * (inBar < 2 * beat ? 330.0 : 293.66) * t);
        channels[0][static_cast<size_t>(i)] = static_cast<float>(kick + 0.8 * snare + tone);
        channels[1][static_cast<size_t>(i)] = static_cast<float>(kick + snare + 0.9 * tone);
    }
    return channels;
}

}  // namespace KivProgrammeSignal
