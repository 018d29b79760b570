#pragma once
#include <cstdint>
#include <vector>

// A whole audio file in memory: planar 32-bit float channels of equal length.
struct KivAudioData {
    int32_t sampleRate = 44100;
    std::vector<std::vector<float>> channels;

    int32_t ChannelCount() const { return static_cast<int32_t>(channels.size()); }
    int64_t Frames() const { return channels.empty() ? 0 : static_cast<int64_t>(channels[0].size()); }
};
