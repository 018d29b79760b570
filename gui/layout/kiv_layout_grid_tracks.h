#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The widths of a grid's columns (or the heights of its rows). A track is as large as its
// largest control covering only it; a control covering several tracks that does not fit in
// them and the spacings between adds what is missing to the last one. Space beyond the
// tracks' needs goes to the tracks holding stretching controls, in proportion to the largest
// ratio among them, with no pixel lost to rounding.
struct KivLayoutGridTrackItem {
    int32_t start = 0;
    int32_t span = 1;
    int32_t size = 0;   // borders included
    int32_t ratio = 0;
};

class KivLayoutGridTracks {
public:
    KivLayoutGridTracks(int32_t count, int32_t spacing) : sizes_(static_cast<size_t>(count), 0), ratios_(static_cast<size_t>(count), 0), spacing_(spacing) {}

    void Fit(const std::vector<KivLayoutGridTrackItem>& items);
    void Stretch(int32_t available);

    int32_t Total() const;
    int32_t Offset(int32_t track) const;  // from the grid's start
    // Tracks start .. start + span - 1 with the spacings between them.
    int32_t Extent(int32_t start, int32_t span) const;

private:
    std::vector<int32_t> sizes_;
    std::vector<int32_t> ratios_;
    int32_t spacing_;
};
