#pragma once
#include <cstdint>

#include "dynamics/detector/kiv_attack_release_processor.h"
#include "dynamics/detector/kiv_detector_filter.h"
#include "dynamics/detector/kiv_follower_channel_state.h"
#include "dynamics/detector/kiv_follower_settings.h"
#include "dynamics/detector/kiv_release_mode.h"

class KivXMLItem;

// The level detector: measures every channel sample by sample and smooths the measure into
// an envelope (linear amplitude) for the gain computer. Stages per block: detector filters,
// channel linking into power, RMS with peak-hold floor, square root, attack/release
// smoothing with the release-mode update.
class KivDynamicsProcessorFollower {
public:
    using Settings = KivFollowerSettings;
    using ChannelState = KivFollowerChannelState;
    using KivAttackReleaseProcessor = ::KivAttackReleaseProcessor;
    static constexpr int32_t kChannelCount = 8;

    KivDynamicsProcessorFollower();

    void ApplySettings(Settings& settings);
    void ConfigureChannel(ChannelState& state);
    void ResetChannel(ChannelState& state) noexcept;
    // The link amount moved onto or off exactly 1: now unlinked (or moving), every channel goes
    // on from the shared envelope; now fully linked, the channels after the first are reset.
    // `fullyLinked` tells which, where it differs from the stored amount (a moving link).
    void LinkChanged(int32_t channelCount, ChannelState* const* states) noexcept;
    void LinkChanged(int32_t channelCount, ChannelState* const* states, bool fullyLinked) noexcept;

    // Power in, envelope (or its logarithm, see LevelsAreLogarithms) out, in place.
    void Follow(ChannelState& state, double* buffer, int32_t count) noexcept;

    // The detector signal of a channel: `source` itself, or its filtered copy in the
    // channel's scratch buffer when any filter stage is active.
    const float* DetectorSignal(ChannelState& state, const float* source, int32_t count) noexcept;
    // Detector signals of `channelCount` channels into power in each followed state's level
    // buffer. Returns true when the channels are fully linked: then only state 0 is
    // followed and its envelope serves every channel. `links`, when given, is the link amount
    // sample by sample (moving between two settings): every channel is then followed.
    bool ComputePower(ChannelState* const* states, const float* const* signals, int32_t channelCount,
                      int32_t count, const double* links = nullptr) noexcept;
    // The whole detection of a block: filters, linking, power and following. Envelopes (or
    // their logarithms) end in the states' level buffers (only state 0's when the result is
    // true).
    bool Detect(ChannelState* const* states, const float* const* sources, int32_t channelCount, int32_t count,
                const double* links = nullptr);

    // Custom attack and release shapes (null: a neutral shape of constant 1).
    void SetCustomShapes(KivFollowerShape* attack, KivFollowerShape* release) noexcept;

    // "LinkChannels", "SideChainPlay", "SideChainSecondaryChannel", "LookAheadDelay",
    // "TrueRMS", then the filter keys; `storing` writes, otherwise reads.
    void Store(KivXMLItem& item, bool storing);

    KivDetectorFilter& Filter() noexcept { return filter_; }
    const KivDetectorFilter& Filter() const noexcept { return filter_; }
    double GetLinkAmount() const noexcept { return linkAmount_; }
    void SetLinkAmount(double amount) noexcept { linkAmount_ = amount; }
    int32_t GetLookAhead() const noexcept { return lookAhead_; }
    void SetLookAhead(int32_t samples) noexcept { lookAhead_ = samples; }
    bool GetSideChainPlay() const noexcept { return sideChainPlay_; }
    void SetSideChainPlay(bool on) noexcept { sideChainPlay_ = on; }
    bool GetSideChainSecondaryChannel() const noexcept { return sideChainSecondary_; }
    void SetSideChainSecondaryChannel(bool on) noexcept { sideChainSecondary_ = on; }
    bool UsesSecondarySource() const noexcept { return detectorFromSecondary_; }
    bool GetTrueRMS() const noexcept { return trueRMSSetting_; }
    void SetTrueRMS(bool on) noexcept { trueRMSSetting_ = on; }
    bool IsPeakMode() const noexcept { return peakMode_; }
    // The level buffers end with the natural logarithms of the envelopes instead of the
    // envelopes (logarithmic shape mode with a logarithmic release).
    bool LevelsAreLogarithms() const noexcept { return logarithmicLevels_; }
    double GetRmsSamples() const noexcept { return rmsSamples_; }
    // The length of the channels' true RMS rings under these settings; 0 when none is used.
    int32_t TrueRmsLength() const noexcept;
    double GetAttackCoefficient() const noexcept { return attackCoefficient_; }
    double GetManualReleaseCoefficient() const noexcept { return releaseCoefficient_; }
    double GetHoldDecay() const noexcept { return holdDecay_; }

private:
    enum class RmsKind { kPeak, kSimple, kTrue };
    void RmsAndRoot(ChannelState& state, double* buffer, int32_t count) const noexcept;
    void HoldFloor(ChannelState& state, double* buffer, int32_t count) const noexcept;
    // The shared power of fully linked channels: scale × (sum of squares) + floor.
    static void LinkedPower(double* p, const float* const* x, int32_t channels, int32_t count, double scale) noexcept;
    static void MovingLinkPower(ChannelState* const* states, const float* const* x, int32_t channels, int32_t count,
                                const double* links, double g2) noexcept;
    KivEnvelopeContext EnvelopeContext() noexcept;

    double sampleRate_ = 44100.0;
    double inputGain_ = 1.0;
    bool trueRMS_ = false;
    bool peakMode_ = true;
    double rmsSamples_ = 0.0;
    double rmsWeight_ = 1.0;
    double rmsDecay_ = 0.0;
    double holdDecay_ = 0.0;
    double attackCoefficient_ = 0.0;
    KivReleaseMode releaseMode_ = KivReleaseMode::kManual;
    double releaseCoefficient_ = 0.0;
    KivFollowerShape* customAttack_;
    KivFollowerShape* customRelease_;
    KivReleaseModeBlock releaseModeBlock_;
    KivReleaseModeUpdate releaseModeUpdate_ = nullptr;
    KivAttackReleaseProcessor processor_;
    KivDetectorFilter filter_;
    double linkAmount_ = 1.0;
    int32_t lookAhead_ = 0;
    bool sideChainPlay_ = false;
    bool sideChainSecondary_ = false;
    bool detectorFromSecondary_ = false;
    bool trueRMSSetting_ = true;
    bool logarithmicLevels_ = false;
};
