#include "dynamics/processing/tandrel_output_rms_ring.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "dynamics/processing/tandrel_meter_level.h"

void TandrelOutputRmsRing::Build(int32_t sampleRate) {
    length_ = std::max(1, static_cast<int32_t>(kSeconds * sampleRate));
    squares_.Reserve(static_cast<size_t>(length_));
    std::memset(squares_.Data(), 0, static_cast<size_t>(length_) * sizeof(double));
    position_ = 0;
    sum_ = 0.0;
    inverseLength_ = 1.0 / length_;
}

void TandrelOutputRmsRing::Feed(const float* samples, int32_t count) noexcept {
    double* squares = squares_.Data();
    double sum = sum_;
    int32_t position = position_;
    for (int32_t i = 0; i < count; ++i) {
        const double square = TandrelMeterSquare(samples[i]);
        sum += square - squares[position];
        squares[position] = square;
        if (++position == length_) position = 0;
    }
    position_ = position;
    // Rounding in the running sum may leave a tiny negative rest after loud passages.
    sum_ = std::max(sum, 0.0);
}

double TandrelOutputRmsRing::Rms() const noexcept { return std::sqrt(sum_ * inverseLength_); }
