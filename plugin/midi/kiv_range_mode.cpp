#include "plugin/midi/kiv_range_mode.h"

#include <algorithm>

namespace KivRangeModes {

namespace {

const char* const kNames[kCount] = {"Up and down", "Full range", "Up only", "Down only", "Interval"};

// The range is centred on the base and narrowed so that both ends stay inside 0..1.
double UpAndDown(double x, double base, double depth) noexcept {
    return base + x * std::min({depth / 2, base, 1 - base});
}

// The whole depth is kept; its centre moves inwards as far as needed.
double FullRange(double x, double base, double depth) noexcept {
    const double half = depth / 2;
    const double centre = depth > 1 ? half : std::clamp(base, half, 1 - half);
    return centre + x * half;
}

}  // namespace

KivString Name(KivRangeMode mode) { return mode < kCount ? KivString(kNames[mode]) : KivString(); }

double Apply(KivRangeMode mode, double x, double base, double end, double depth) noexcept {
    const double t = (x + 1) / 2;
    double result = base;
    switch (mode) {
    case kKivRangeUpAndDown: result = UpAndDown(x, base, depth); break;
    case kKivRangeFullRange: result = FullRange(x, base, depth); break;
    case kKivRangeUpOnly: result = base + t * std::min(depth, 1 - base); break;
    case kKivRangeDownOnly: result = base - t * std::min(depth, base); break;
    case kKivRangeInterval: result = base + (end - base) * t; break;
    }
    return std::clamp(result, 0.0, 1.0);
}

}  // namespace KivRangeModes
