#pragma once
#include <cstdint>
#include <vector>

// A fixed stereo signal with the dynamics of music: drum-like hits (a pitched kick and a
// noise snare with fast attacks and exponential decays) over a sustained two-note tone. A
// compressor measured on it works as hard as on a real mix, not on a steady sine.
namespace KivProgrammeSignal {

// Two channels of `frames` samples at `sampleRate`; the same every call.
std::vector<std::vector<float>> Generate(int32_t sampleRate, int64_t frames);

}  // namespace KivProgrammeSignal
