#pragma once
#include <atomic>
#include <cstdint>

#include "parameters/kiv_automation_adapter.h"

class KivAudioEffectPluginToAudioPluginAdapter;

// The channel mode as a host parameter, so that a change made in the editor reaches the host
// as one gesture and the host can automate it. Its items are the modes a stereo pair offers
// ("Left + Right" to "Left + Right (neg)"); surround is chosen by the channel layout, not here.
//
// The mode itself stays the adapter's shared setting ("ChannelMode" in stored settings): the
// parameter stores nothing of its own. For an effect that processes fewer channels on
// request a change is one atomic store, taken by the audio thread at a block boundary, from
// whatever thread it comes. Any other effect is re-initialised for its channel count, which
// takes the processing lock; a change arriving on the audio thread (a host's parameter queue)
// is then handed to the automation update thread.
class KivChannelModeParameter : public KivAutomationAdapter {
public:
    static constexpr int32_t kItems = 7;

    explicit KivChannelModeParameter(KivAudioEffectPluginToAudioPluginAdapter& plugin);

    void SetParameter(int32_t local, double value, bool silent) override;
    double GetParameter(int32_t local) const override;
    KivString GetParameterName(int32_t local) const override;
    KivString GetParameterNameWithoutSection(int32_t local) const override { return GetParameterName(local); }
    KivString GetParameterID(int32_t local) const override;
    KivString GetParameterValueName(int32_t local) const override;
    KivString GetParameterValueNameFrom01(int32_t local, double value) const override;
    double ParseParameterValueName(int32_t local, const KivString& text) const override;
    int32_t GetParameterType(int32_t) const override { return 3; }
    double GetParameterDefaultValue(int32_t) const override { return 0.0; }
    bool CanRandomize(int32_t) const override { return false; }
    KivString GetParameterSection(int32_t) const override;
    int32_t GetParameterStepCount(int32_t) const override { return kItems - 1; }

    // The mode a host value selects, and back.
    static int32_t ModeOf(double value) noexcept;
    static double ValueOf(int32_t mode) noexcept;
    // Update thread: applies a mode that arrived on the audio thread.
    void ApplyRequested();

private:
    int32_t ShownMode() const noexcept;

    KivAudioEffectPluginToAudioPluginAdapter& plugin_;
    // A mode waiting for the update thread; -1 when none.
    std::atomic<int32_t> requested_{-1};
};
