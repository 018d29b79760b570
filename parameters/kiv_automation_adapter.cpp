#include "parameters/kiv_automation_adapter.h"

#include <algorithm>
#include <cmath>

#include "base/kiv_number.h"
#include "parameters/kiv_random_generator.h"

namespace {

// Host values closer than this are the same value.
constexpr double kSameValue = 1e-50;

}  // namespace

KivAutomationAdapter::KivAutomationAdapter(uint32_t count, KivParameterCoreLink* core, const KivString& prefix)
    : count_(count), core_(core), prefix_(prefix) {}

void KivAutomationAdapter::SetParameter(int32_t, double, bool) {}

void KivAutomationAdapter::SetParameterIfChanged(int32_t local, double value, bool silent) {
    if (std::fabs(value - GetParameter(local)) > kSameValue) SetParameter(local, value, silent);
}

double KivAutomationAdapter::GetParameter(int32_t) const { return 0.0; }

KivString KivAutomationAdapter::GetParameterName(int32_t) const { return KivString(); }

KivString KivAutomationAdapter::GetParameterNameWithoutSection(int32_t) const { return KivString(); }

KivString KivAutomationAdapter::GetParameterSection(int32_t) const { return KivString(); }

KivString KivAutomationAdapter::GetParameterID(int32_t local) const {
    KivString section = GetParameterSection(local);
    if (section.IsEmpty()) return GetParameterName(local);
    return section + " " + GetParameterName(local);
}

KivString KivAutomationAdapter::GetParameterValueName(int32_t) const { return KivString(); }

KivString KivAutomationAdapter::GetParameterValueNameFrom01(int32_t, double) const { return KivString(); }

double KivAutomationAdapter::ParseParameterValueName(int32_t, const KivString& text) const {
    return KivNumber::TextToDouble(text);
}

KivString KivAutomationAdapter::GetParameterUnitsName(int32_t) const { return KivString(); }

bool KivAutomationAdapter::IsInterpolated(int32_t) const { return false; }

void KivAutomationAdapter::SetInterpolating(int32_t, bool) {}

int32_t KivAutomationAdapter::GetParameterType(int32_t) const { return 1; }

double KivAutomationAdapter::GetParameterDefaultValue(int32_t) const { return 0.5; }

bool KivAutomationAdapter::CanRandomize(int32_t) const { return true; }

void KivAutomationAdapter::Randomize(double amount) {
    // Below full strength each host value moves by at most `amount` around where it is;
    // at full strength every one is drawn anew.
    for (int32_t local = 0; local < static_cast<int32_t>(count_); ++local) {
        if (!CanRandomize(local)) continue;
        double draw = KivRandomGenerator::Draw();
        double value = amount < 1.0 ? std::clamp(GetParameter(local) + (draw - 0.5) * 2.0 * amount, 0.0, 1.0) : draw;
        SetParameter(local, value, false);
    }
}

KivString KivAutomationAdapter::GetParameterHostName(int32_t local) const { return GetParameterName(local); }

KivString KivAutomationAdapter::GetParameterShortLabel(int32_t) const { return KivString(); }

KivString KivAutomationAdapter::GetParameterCategory(int32_t local) const { return GetParameterSection(local); }

int32_t KivAutomationAdapter::GetParameterStepCount(int32_t) const { return 0; }

KivString KivAutomationAdapter::GetParameterUnit(int32_t) const { return KivString(); }
