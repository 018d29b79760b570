#include "plugin/editor/kiv_parameter_value.h"

#include <algorithm>
#include <cmath>

#include "plugin/kiv_audio_plugin.h"

namespace {

// Enumeration and switch parameter types of the core.
constexpr int32_t kEnumerationType = 3;
constexpr int32_t kSwitchType = 4;
// Enumerations map items to evenly spread host values and pick the nearest; this many probes
// meet every item of any list a control could show.
constexpr int32_t kItemProbes = 512;
// A continuous parameter moves this share of its range per step (wheel notch, arrow key).
constexpr double kContinuousStep = 0.01;

}  // namespace

KivParameterValue::KivParameterValue(KivAudioPlugin& plugin, int32_t index)
    : plugin_(plugin), index_(index), items_(ReadItems(plugin, index)) {}

std::vector<KivString> KivParameterValue::ReadItems(KivAudioPlugin& plugin, int32_t index) {
    std::vector<KivString> items;
    const int32_t type = plugin.GetParameterType(index);
    if (type != kEnumerationType && type != kSwitchType) return items;
    for (int32_t probe = 0; probe <= kItemProbes; ++probe) {
        KivString text = plugin.GetParameterValueNameFrom01(index, static_cast<double>(probe) / kItemProbes);
        if (items.empty() || items.back() != text) items.push_back(text);
    }
    return items;
}

KivString KivParameterValue::GetText() const { return plugin_.GetParameterValueName(index_); }

void KivParameterValue::SetText(const KivString& text) { ParseDisplayText(text); }

bool KivParameterValue::Reset() {
    const double before = Get01();
    Set01(plugin_.GetParameterDefaultValue(index_));
    return Get01() != before;
}

KivString KivParameterValue::GetDisplayTextFrom01(double position) const {
    return plugin_.GetParameterValueNameFrom01(index_, position);
}

bool KivParameterValue::ParseDisplayText(const KivString& text) {
    const double before = Get01();
    Set01(plugin_.ParseParameterValueName(index_, text));
    return Get01() != before;
}

void KivParameterValue::StepAccelerated(int32_t count, int32_t level) { Step(count * std::max(1, level)); }

void KivParameterValue::Step(int32_t count) {
    if (items_.size() > 1) {
        const int32_t last = static_cast<int32_t>(items_.size()) - 1;
        const auto current = static_cast<int32_t>(std::lround(Get01() * last));
        SetStep(std::clamp(current + count, 0, last));
    } else {
        Set01(std::clamp(Get01() + count * kContinuousStep, 0.0, 1.0));
    }
}

double KivParameterValue::Get01() const { return plugin_.GetParameter(index_); }

void KivParameterValue::Set01(double position) {
    position = std::clamp(position, 0.0, 1.0);
    if (position == Get01()) return;
    const bool ownGesture = !inGesture_;
    if (!editBegun_) {
        plugin_.BeginEdit(index_);
        editBegun_ = true;
    }
    plugin_.SetParameterAutomated(index_, position);
    MarkChanged();
    if (ownGesture) {
        plugin_.EndEdit(index_);
        editBegun_ = false;
    }
}

KivString KivParameterValue::GetStepText(int32_t step) const {
    if (step < 0 || step >= GetStepCount()) return KivString();
    return items_[static_cast<size_t>(step)];
}

void KivParameterValue::BeginGesture() { inGesture_ = true; }

void KivParameterValue::EndGesture() {
    inGesture_ = false;
    if (!editBegun_) return;
    editBegun_ = false;
    plugin_.EndEdit(index_);
}
