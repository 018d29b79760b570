#include "presets/slots/kiv_preset_morph.h"

#include <algorithm>
#include <cmath>

#include "plugin/kiv_kestrune_audio_effect_plugin.h"
#include "plugin/kiv_plugin_host.h"
#include "threads/kiv_synchronizer_guard.h"

namespace {

constexpr int32_t kCornerSlots = 4;

}  // namespace

KivPresetMorph::KivPresetMorph(KivKestruneAudioEffectPlugin& plugin) : plugin_(plugin) {
    PlaceHandleForCurrentSlot();
    plugin_.StoreLiveSettings(backup_, true);
    parameterCount_ = plugin_.GetParameterCount();
    corners_.resize(static_cast<size_t>(std::max(parameterCount_, 0)));
    ReadCornerValues();
    Restore();
}

// The handle starts on the live slot's corner, or in the middle for slots E..H.
void KivPresetMorph::PlaceHandleForCurrentSlot() {
    const int32_t current = plugin_.GetPresetSlots().GetCurrent();
    if (current < 0 || current >= kCornerSlots) return;
    x_ = (current & 1) ? 1.0 : 0.0;
    y_ = (current & 2) ? 1.0 : 0.0;
}

void KivPresetMorph::ReadCornerValues() {
    for (int32_t slot = 0; slot < kCornerSlots; ++slot) {
        plugin_.StoreLiveSettings(plugin_.GetPresetSlots().Item(slot), false);
        for (int32_t index = 0; index < parameterCount_; ++index) {
            corners_[static_cast<size_t>(index)].slot[slot] = plugin_.GetParameter(index);
        }
    }
}

void KivPresetMorph::MoveTo(double x, double y) {
    x_ = std::clamp(x, 0.0, 1.0);
    y_ = std::clamp(y, 0.0, 1.0);
    Apply();
}

void KivPresetMorph::Apply() {
    KivSynchronizerGuard state(plugin_.GetStateMutex());
    for (int32_t index = 0; index < parameterCount_; ++index) ApplyParameter(index);
    plugin_.OnSettingsChanged();
}

void KivPresetMorph::ApplyParameter(int32_t index) {
    const double value = Blend(corners_[static_cast<size_t>(index)].slot, x_, y_);
    if (std::fabs(value - plugin_.GetParameter(index)) <= kChangeThreshold) return;
    plugin_.SetParameter(index, value, false);
    if (KivPluginHost* host = plugin_.GetPluginHost()) host->SendAutomation(index, plugin_.GetParameter(index));
}

void KivPresetMorph::Restore() { plugin_.StoreLiveSettings(backup_, false); }

double KivPresetMorph::Blend(const double corners[4], double x, double y) noexcept {
    const double left = (1.0 - y) * corners[0] + y * corners[2];
    const double right = (1.0 - y) * corners[1] + y * corners[3];
    return (1.0 - x) * left + x * right;
}
