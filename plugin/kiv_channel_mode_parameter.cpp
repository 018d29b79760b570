#include "plugin/kiv_channel_mode_parameter.h"

#include <algorithm>
#include <cmath>

#include "plugin/kiv_audio_effect_plugin_to_audio_plugin_adapter.h"
#include "plugin/kiv_channel_mode.h"
#include "threads/kiv_thread_role.h"

namespace {

const char* const kName = "Channel mode";

}  // namespace

KivChannelModeParameter::KivChannelModeParameter(KivAudioEffectPluginToAudioPluginAdapter& plugin)
    : KivAutomationAdapter(1, &plugin, KivString()), plugin_(plugin) {
    identifier_ = KivString("ChannelMode");
}

int32_t KivChannelModeParameter::ModeOf(double value) noexcept {
    if (!(value >= 0.0)) value = 0.0;
    return std::clamp(static_cast<int32_t>(std::lround(value * (kItems - 1))), 0, kItems - 1);
}

double KivChannelModeParameter::ValueOf(int32_t mode) noexcept {
    return mode >= 0 && mode < kItems ? static_cast<double>(mode) / (kItems - 1) : 0.0;
}

int32_t KivChannelModeParameter::ShownMode() const noexcept {
    const int32_t requested = requested_.load();
    return requested >= 0 ? requested : plugin_.GetChannelMode();
}

void KivChannelModeParameter::SetParameter(int32_t, double value, bool silent) {
    const int32_t mode = ModeOf(value);
    if (KivThreadRole::IsAudioThread() && !plugin_.TakesChannelModesInProcess()) {
        // Re-initialising waits for the processing lock this block holds.
        requested_.store(mode);
        plugin_.RequestChannelModeUpdate();
    } else {
        requested_.store(-1);
        plugin_.SetChannelMode(mode);
    }
    if (!silent) core_->NeedUpdateEditor(*this);
}

void KivChannelModeParameter::ApplyRequested() {
    const int32_t mode = requested_.load();
    if (mode < 0) return;
    plugin_.SetChannelMode(mode);
    // A newer request that came meanwhile stays for the next pass.
    int32_t expected = mode;
    requested_.compare_exchange_strong(expected, -1);
}

double KivChannelModeParameter::GetParameter(int32_t) const { return ValueOf(ShownMode()); }

KivString KivChannelModeParameter::GetParameterName(int32_t) const { return KivString(kName); }

KivString KivChannelModeParameter::GetParameterID(int32_t) const { return identifier_; }

// No panel: the mode sits in the editor's top bar beside bypass, and hosts that group
// parameters by section list it at the top with bypass.
KivString KivChannelModeParameter::GetParameterSection(int32_t) const { return KivString(); }

KivString KivChannelModeParameter::GetParameterValueName(int32_t) const {
    return KivString(KivChannelModes::Info(ShownMode()).menuName);
}

KivString KivChannelModeParameter::GetParameterValueNameFrom01(int32_t, double value) const {
    return KivString(KivChannelModes::Info(ModeOf(value)).menuName);
}

// Anything that names no mode is "Left + Right", as a stored name that names none is.
double KivChannelModeParameter::ParseParameterValueName(int32_t, const KivString& text) const {
    for (int32_t mode = 0; mode < kItems; ++mode) {
        if (text.EqualsFolded(KivString(KivChannelModes::Info(mode).menuName))) return ValueOf(mode);
    }
    return 0.0;
}
