#include "gui/drawing/kiv_stretch_filter.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int32_t kOne = 1 << 14;  // weight of a whole source pixel
constexpr uint32_t kHalf = kOne / 2;
}  // namespace

std::vector<KivStretchFilter::Taps> KivStretchFilter::Weights(int32_t sourceLength, int32_t targetLength) {
    std::vector<Taps> result(static_cast<size_t>(targetLength));
    const double scale = static_cast<double>(sourceLength) / targetLength;
    const double radius = std::max(1.0, scale);
    std::vector<double> raw;
    for (int32_t i = 0; i < targetLength; ++i) {
        const double centre = (i + 0.5) * scale - 0.5;
        const auto first = static_cast<int32_t>(std::floor(centre - radius));
        const auto last = static_cast<int32_t>(std::ceil(centre + radius));
        // Source pixels beyond the area repeat its edge pixels.
        const int32_t start = std::clamp(first, 0, sourceLength - 1);
        const int32_t end = std::clamp(last, 0, sourceLength - 1);
        raw.assign(static_cast<size_t>(end - start + 1), 0.0);
        double total = 0.0;
        for (int32_t j = first; j <= last; ++j) {
            const double weight = std::max(0.0, 1.0 - std::fabs(j - centre) / radius);
            raw[std::clamp(j, 0, sourceLength - 1) - start] += weight;
            total += weight;
        }
        Taps& taps = result[i];
        taps.start = start;
        taps.weights.resize(raw.size());
        int32_t sum = 0;
        size_t largest = 0;
        for (size_t k = 0; k < raw.size(); ++k) {
            taps.weights[k] = static_cast<int32_t>(std::floor(raw[k] / total * kOne + 0.5));
            sum += taps.weights[k];
            if (raw[k] > raw[largest]) largest = k;
        }
        taps.weights[largest] += kOne - sum;
    }
    return result;
}

KivStretchFilter::KivStretchFilter(const KivBitmap& source, const KivRect& sourceRect, int32_t targetWidth,
                                   int32_t targetHeight)
    : source_(source),
      sourceRect_(sourceRect),
      columns_(Weights(sourceRect.Width(), targetWidth)),
      rows_(Weights(sourceRect.Height(), targetHeight)) {
    const int32_t width = sourceRect.Width();
    premultiplied_.resize(static_cast<size_t>(width) * sourceRect.Height() * 4);
    uint32_t* out = premultiplied_.data();
    for (int32_t y = sourceRect.top; y <= sourceRect.bottom; ++y) {
        for (int32_t x = sourceRect.left; x <= sourceRect.right; ++x) {
            const KivColor c = source.At(x, y);
            *out++ = c.b * c.a;
            *out++ = c.g * c.a;
            *out++ = c.r * c.a;
            *out++ = c.a * 255u;
        }
    }
    blended_.resize(static_cast<size_t>(width) * 4);
}

void KivStretchFilter::Row(int32_t y, int32_t first, int32_t count, uint32_t* out) {
    const int32_t width = sourceRect_.Width();
    const Taps& vertical = rows_[y];
    std::fill(blended_.begin(), blended_.end(), 0u);
    for (size_t k = 0; k < vertical.weights.size(); ++k) {
        const auto weight = static_cast<uint32_t>(vertical.weights[k]);
        const uint32_t* line = premultiplied_.data() + static_cast<size_t>(vertical.start + k) * width * 4;
        for (int32_t i = 0; i < width * 4; ++i) blended_[i] += weight * line[i];
    }
    for (uint32_t& value : blended_) value = (value + kHalf) >> 14;
    for (int32_t x = first; x < first + count; ++x) {
        const Taps& horizontal = columns_[x];
        uint32_t sum[4] = {0, 0, 0, 0};
        for (size_t k = 0; k < horizontal.weights.size(); ++k) {
            const uint32_t* cell = blended_.data() + (horizontal.start + k) * 4;
            const auto weight = static_cast<uint32_t>(horizontal.weights[k]);
            for (int channel = 0; channel < 4; ++channel) sum[channel] += weight * cell[channel];
        }
        for (uint32_t& value : sum) value = (value + kHalf) >> 14;
        KivColor colour{0, 0, 0, 0};
        const uint32_t alpha = sum[3];
        if (alpha > 0) {
            colour.b = static_cast<uint8_t>(std::min(255u, (sum[0] * 255 + alpha / 2) / alpha));
            colour.g = static_cast<uint8_t>(std::min(255u, (sum[1] * 255 + alpha / 2) / alpha));
            colour.r = static_cast<uint8_t>(std::min(255u, (sum[2] * 255 + alpha / 2) / alpha));
            colour.a = static_cast<uint8_t>((alpha + 127) / 255);
        }
        out[x - first] = colour.ToPixel();
    }
}
