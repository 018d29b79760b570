#include "hosts/bridge/kiv_host_channel_layout.h"

#include <algorithm>

int32_t KivSplitHostChannels(float* const* channels, int32_t channelCount, int32_t perGroup,
                             KivHostChannelGroup* groups, int32_t maxGroups) noexcept {
    perGroup = std::max(1, perGroup);
    int32_t written = 0;
    for (int32_t first = 0; first < channelCount && written < maxGroups; first += perGroup)
        groups[written++] = {channels + first, std::min(perGroup, channelCount - first)};
    return written;
}

void KivLayOutHostChannels(const KivHostChannelGroup* groups, int32_t groupCount, int32_t stride, float** target,
                           int32_t capacity, KivNarrowGroupFill fill) noexcept {
    std::fill(target, target + capacity, nullptr);
    stride = std::max(1, stride);
    const int32_t used = std::min(groupCount, capacity / stride);
    for (int32_t group = 0; group < used; ++group) {
        const KivHostChannelGroup& source = groups[group];
        if (source.count <= 0 || !source.channels) continue;
        const int32_t filled = fill == KivNarrowGroupFill::kRepeatLast ? stride : std::min(stride, source.count);
        for (int32_t entry = 0; entry < filled; ++entry)
            target[group * stride + entry] = source.channels[std::min(entry, source.count - 1)];
    }
}
