#pragma once
#include <cstdint>

#include "dynamics/processing/tandrel_output_rms_ring.h"

class TandrelMeterView;

// One channel's figures for the editor: the gain reduction of the last block, a fast and a
// slow falling output peak (squared amplitude), the output RMS over 0.4 s, and the held
// largest reduction and loudest peak.
class TandrelChannelMeters {
public:
    // Below every real level, so that logarithms of a silent meter stay finite.
    static constexpr double kFloor = 1e-15;
    static constexpr double kFastSeconds = 0.1;
    static constexpr double kSlowSeconds = 2.5;

    // Zeroes the peak meters and rebuilds the RMS ring; allocates.
    void Initialize(int32_t sampleRate);
    void SetDecays(int32_t sampleRate) noexcept;
    void ResetHeld() noexcept;

    // A block of output: the peaks fall by their decay over the block unless the block's own
    // peak is higher.
    void Measure(const float* output, int32_t count) noexcept;
    void SetGainReduction(double reduction) noexcept { gainReduction_ = reduction; }

    // Gain reduction and held reduction.
    void PublishReduction(TandrelMeterView& view, int32_t channel) noexcept;
    // Peak, RMS, slow peak and held peak.
    void PublishOutput(TandrelMeterView& view, int32_t channel) noexcept;

    double GainReduction() const noexcept { return gainReduction_; }
    double FastPeak() const noexcept { return fast_; }
    double SlowPeak() const noexcept { return slow_; }
    double Rms() const noexcept { return rms_.Rms(); }
    double HeldPeak() const noexcept { return heldPeak_; }
    double HeldReduction() const noexcept { return heldReduction_; }

private:
    struct Decay {
        double keep = 0.0;  // u
        double lose = 1.0;  // 1 - u
    };
    static Decay DecayOver(double seconds, int32_t sampleRate) noexcept;

    double gainReduction_ = 1.0;
    double fast_ = 0.0;
    double slow_ = 0.0;
    Decay fastDecay_;
    Decay slowDecay_;
    TandrelOutputRmsRing rms_;
    double heldPeak_ = 0.0;
    double heldReduction_ = 1.0;
};
