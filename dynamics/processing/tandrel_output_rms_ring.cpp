#include "dynamics/processing/tandrel_output_rms_ring.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "dynamics/processing/tandrel_meter_level.h"

void TandrelOutputRmsRing::Build(int32_t sampleRate) {
    chunks_ = std::max(1, static_cast<int32_t>(kSeconds * sampleRate) / kChunk);
    squares_.Reserve(static_cast<size_t>(chunks_));
    std::memset(squares_.Data(), 0, static_cast<size_t>(chunks_) * sizeof(double));
    position_ = 0;
    filled_ = 0;
    partial_ = 0.0;
    sum_ = 0.0;
    inverseLength_ = 1.0 / Length();
}

void TandrelOutputRmsRing::Feed(const float* samples, int32_t count) noexcept {
    double* squares = squares_.Data();
    double sum = sum_;
    int32_t i = 0;
    while (i < count) {
        // The squares of one chunk, or of the block's rest of it, summed in a loop that
        // vectorises.
        const int32_t take = std::min(kChunk - filled_, count - i);
        double partial = 0.0;
        for (int32_t k = 0; k < take; ++k) partial += TandrelMeterSquare(samples[i + k]);
        partial_ += partial;
        filled_ += take;
        i += take;
        if (filled_ < kChunk) break;
        sum += partial_ - squares[position_];
        squares[position_] = partial_;
        if (++position_ == chunks_) {
            // Once per turn the running sum is added up afresh, so that rounding left by a
            // loud passage does not outlive it: a window of silence reads exactly zero.
            position_ = 0;
            sum = 0.0;
            for (int32_t k = 0; k < chunks_; ++k) sum += squares[k];
        }
        partial_ = 0.0;
        filled_ = 0;
    }
    // Rounding in the running sum may leave a tiny negative rest after loud passages.
    sum_ = std::max(sum, 0.0);
}

double TandrelOutputRmsRing::Rms() const noexcept { return std::sqrt(sum_ * inverseLength_); }
