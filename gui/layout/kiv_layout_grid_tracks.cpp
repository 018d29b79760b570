#include "gui/layout/kiv_layout_grid_tracks.h"

#include <algorithm>

void KivLayoutGridTracks::Fit(const std::vector<KivLayoutGridTrackItem>& items) {
    for (const KivLayoutGridTrackItem& item : items) {
        for (int32_t track = item.start; track < item.start + item.span; ++track) {
            ratios_[static_cast<size_t>(track)] = std::max(ratios_[static_cast<size_t>(track)], item.ratio);
        }
        if (item.span == 1) sizes_[static_cast<size_t>(item.start)] = std::max(sizes_[static_cast<size_t>(item.start)], item.size);
    }
    for (const KivLayoutGridTrackItem& item : items) {
        const int32_t missing = item.size - Extent(item.start, item.span);
        if (item.span > 1 && missing > 0) sizes_[static_cast<size_t>(item.start + item.span - 1)] += missing;
    }
}

void KivLayoutGridTracks::Stretch(int32_t available) {
    int64_t extra = available - Total();
    int64_t ratioSum = 0;
    for (int32_t ratio : ratios_) ratioSum += ratio;
    if (extra <= 0) return;
    for (size_t track = 0; track < sizes_.size() && ratioSum != 0; ++track) {
        if (ratios_[track] == 0) continue;
        const int64_t share = ratios_[track] * extra / ratioSum;
        sizes_[track] += static_cast<int32_t>(share);
        extra -= share;
        ratioSum -= ratios_[track];
    }
}

int32_t KivLayoutGridTracks::Total() const { return Extent(0, static_cast<int32_t>(sizes_.size())); }

int32_t KivLayoutGridTracks::Offset(int32_t track) const {
    int32_t offset = 0;
    for (int32_t index = 0; index < track; ++index) offset += sizes_[static_cast<size_t>(index)] + spacing_;
    return offset;
}

int32_t KivLayoutGridTracks::Extent(int32_t start, int32_t span) const {
    if (span <= 0) return 0;
    int32_t extent = spacing_ * (span - 1);
    for (int32_t track = start; track < start + span; ++track) extent += sizes_[static_cast<size_t>(track)];
    return extent;
}
