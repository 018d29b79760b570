#pragma once
#include <cstdint>

#include "dynamics/detector/filters/kiv_biquad.h"
#include "dynamics/detector/filters/kiv_loudness_weighting.h"
#include "dynamics/detector/filters/kiv_phase_splitter.h"
#include "dynamics/detector/filters/kiv_side_chain_equalizer.h"

class KivXMLItem;

// What the detector filter chain is asked to do; stored with the product's settings.
struct KivDetectorFilterSettings {
    // The high- and low-pass act while "EnabledSideChain" and their own switch are both on; a
    // state without the own switches (saved before they existed) reads them as on, so the one
    // switch keeps governing both filters as it did.
    bool enabledSideChain = false;     // "EnabledSideChain"
    bool highPass = true;              // "SideChainHighPass"
    bool lowPass = true;               // "SideChainLowPass"
    double minFrequency = 20.0;        // "SideChainMinF": the high-pass
    double maxFrequency = 20000.0;     // "SideChainMaxF": the low-pass
    double lowPassQuality = 0.707;     // "SideChainResonance"
    double highPassQuality = 0.5;      // "SideChainMaxQ"
    bool psychoAcoustic = false;       // "DynamicsPsychoAcousticPrefiltering"
    bool spectralSmoothing = false;    // "ThreePhaseFiltering"
    bool equalizerEnabled = false;     // "SideChainEqEnabled"
    KivSideChainEqualizer equalizer;   // "SideChainEq"

    bool operator==(const KivDetectorFilterSettings&) const = default;
};

// The stages of the chain in the order they run.
enum KivDetectorStage : int32_t {
    kKivStageWeighting,
    kKivStageLowPass,
    kKivStageHighPass,
    kKivStageEqualizer,
    kKivStageSmoothing,
    kKivStageCount
};

// One channel's memory of every stage, with the start of each stage it last ran.
struct KivDetectorFilterState {
    uint32_t starts[kKivStageCount] = {};
    KivBiquadState weighting[KivLoudnessWeighting::kSectionCount];
    KivBiquadState lowPass;
    KivBiquadState highPass;
    KivBiquadState equalizer[KivSideChainEqualizer::kBandCount];
    KivPhaseSplitterState splitter;

    void Clear() noexcept;
};

// The designed chain for one sample rate. A channel's memory of a stage lives on through
// new designs of it: retuning a running filter (a frequency or gain dragged in the editor,
// one small step per block) carries its memory over to the new coefficients, as the same
// filter moving would, where starting it from rest would drop the detector signal for the
// length of the filter's settling at every step and make the gain flutter. Only a stage
// that starts (switched on, or designed for another sample rate) starts from rest: its old
// memory, if any, is of a signal long gone.
class KivDetectorFilter {
public:
    KivDetectorFilterSettings settings;

    void Design(double sampleRate) noexcept;
    bool IsStageActive(KivDetectorStage stage) const noexcept { return active_[stage]; }
    bool IsAnyStageActive() const noexcept;
    // The sample rate of the last design; 0 before the first.
    double DesignRate() const noexcept { return designRate_; }
    // The magnitude of the chain's filters (weighting, low-pass, high-pass, equaliser, those
    // active) at `frequency` Hz, from the sections of the last design: what the editor draws
    // is what the detector runs. The three-phase smoothing measures a level rather than
    // filtering and is left out.
    double MagnitudeAt(double frequency) const noexcept;

    // Filters `source` into `out` (which may be `source`). The input is first cleaned: a
    // sample that is not finite counts as silence and magnitudes are limited, so that one
    // bad sample cannot leave a filter ringing with NaN for ever; 1e-15 follows the input and
    // every stage to keep the sections away from denormals.
    void Run(KivDetectorFilterState& state, const float* source, float* out, int32_t count) const noexcept;

    // The filter keys of the product settings, in both directions.
    void Store(KivXMLItem& item, bool storing);

private:
    void MarkStarts(const bool (&wasActive)[kKivStageCount], bool newRate) noexcept;

    bool active_[kKivStageCount] = {};
    double designRate_ = 0.0;
    uint32_t starts_[kKivStageCount] = {1, 1, 1, 1, 1};
    KivLoudnessWeighting weighting_;
    KivBiquadCoefficients lowPass_;
    KivBiquadCoefficients highPass_;
    KivBiquadCoefficients equalizer_[KivSideChainEqualizer::kBandCount];
    KivPhaseSplitter splitter_;
};
