#pragma once
#include <atomic>
#include <cstdint>

#include "dynamics/processing/tandrel_output_rms_ring.h"

class TandrelMeterView;

// One channel's figures for the editor: the gain reduction of the last block, a fast and a
// slow falling output peak (squared amplitude), the output RMS over 0.4 s, and the held
// largest reduction and loudest peak.
//
// Lock-free between two threads: the audio thread measures (Measure, SetGainReduction) and
// publishes each figure through an atomic; the editor's refresh reads them (Publish*) and
// keeps the held values. Initialize and SetDecays run only while no block runs.
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
    void SetGainReduction(double reduction) noexcept { gainReduction_.store(reduction, std::memory_order_relaxed); }

    // Gain reduction and held reduction.
    void PublishReduction(TandrelMeterView& view, int32_t channel) noexcept;
    // Peak, RMS, slow peak and held peak.
    void PublishOutput(TandrelMeterView& view, int32_t channel) noexcept;

    double GainReduction() const noexcept { return gainReduction_.load(std::memory_order_relaxed); }
    double FastPeak() const noexcept { return shownFast_.load(std::memory_order_relaxed); }
    double SlowPeak() const noexcept { return shownSlow_.load(std::memory_order_relaxed); }
    double Rms() const noexcept { return shownRms_.load(std::memory_order_relaxed); }
    double HeldPeak() const noexcept { return heldPeak_.load(std::memory_order_relaxed); }
    double HeldReduction() const noexcept { return heldReduction_.load(std::memory_order_relaxed); }

private:
    struct Decay {
        double keep = 0.0;  // u
        double lose = 1.0;  // 1 - u
    };
    static Decay DecayOver(double seconds, int32_t sampleRate) noexcept;

    static_assert(std::atomic<double>::is_always_lock_free, "meters cross threads without locks");

    // The audio thread's own.
    double fast_ = 0.0;
    double slow_ = 0.0;
    Decay fastDecay_;
    Decay slowDecay_;
    TandrelOutputRmsRing rms_;
    // Published by the audio thread.
    std::atomic<double> gainReduction_{1.0};
    std::atomic<double> shownFast_{0.0};
    std::atomic<double> shownSlow_{0.0};
    std::atomic<double> shownRms_{0.0};
    // Kept by the refresh; reset from any thread.
    std::atomic<double> heldPeak_{0.0};
    std::atomic<double> heldReduction_{1.0};
};
