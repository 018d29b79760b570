#include <algorithm>

#include "base/kiv_boundary.h"
#include "base/kiv_number.h"
#include "plugin/kiv_audio_plugin.h"
#include "plugin/kiv_plugin_host.h"
#include "threads/kiv_synchronizer_guard.h"

// Per-index requests go to the parameter list, which finds the covering object by binary
// search and keeps every exception from the host.

int32_t KivAudioPlugin::GetParameterCount() { return static_cast<int32_t>(parameters_.GetParameterCount()); }

void KivAudioPlugin::OnInterpolatedParametersWritten() {}

void KivAudioPlugin::SetParameter(int32_t index, double value, bool silent) {
    parameters_.SetParameter(index, value, silent);
}

void KivAudioPlugin::SetParameterIfChanged(int32_t index, double value, bool silent) {
    parameters_.SetParameterIfChanged(index, value, silent);
}

double KivAudioPlugin::GetParameter(int32_t index) { return parameters_.GetParameter(index); }

KivString KivAudioPlugin::GetParameterName(int32_t index) { return parameters_.GetParameterName(index); }

KivString KivAudioPlugin::GetParameterLongName(int32_t index) { return GetParameterName(index); }

KivString KivAudioPlugin::GetParameterShortName(int32_t index) { return parameters_.GetParameterShortLabel(index); }

KivString KivAudioPlugin::GetParameterID(int32_t index) { return parameters_.GetParameterID(index); }

KivString KivAudioPlugin::GetParameterValueName(int32_t index) { return parameters_.GetParameterValueName(index); }

KivString KivAudioPlugin::GetParameterValueNameFrom01(int32_t index, double value) {
    return parameters_.GetParameterValueNameFrom01(index, value);
}

double KivAudioPlugin::ParseParameterValueName(int32_t index, const KivString& text) {
    return parameters_.ParseParameterValueName(index, text);
}

KivString KivAudioPlugin::GetParameterUnitsName(int32_t index) { return parameters_.GetParameterUnitsName(index); }

bool KivAudioPlugin::HasParameterListChanged() { return false; }

void KivAudioPlugin::OnParameterListChanged() {}

int32_t KivAudioPlugin::GetParameterType(int32_t index) { return parameters_.GetParameterType(index); }

double KivAudioPlugin::GetParameterDefaultValue(int32_t index) { return parameters_.GetParameterDefaultValue(index); }

KivString KivAudioPlugin::GetParameterSection(int32_t index) { return parameters_.GetParameterSection(index); }

KivString KivAudioPlugin::GetParameterNameWithoutSection(int32_t index) {
    return parameters_.GetParameterNameWithoutSection(index);
}

KivString KivAudioPlugin::GetParameterHostName(int32_t index) { return parameters_.GetParameterHostName(index); }

KivString KivAudioPlugin::GetParameterCategory(int32_t index) { return parameters_.GetParameterCategory(index); }

int32_t KivAudioPlugin::GetParameterStepCount(int32_t index) { return parameters_.GetParameterStepCount(index); }

KivString KivAudioPlugin::GetParameterUnit(int32_t index) { return parameters_.GetParameterUnit(index); }

bool KivAudioPlugin::TryParseParameterValueName(int32_t index, const KivString& text, double& value) {
    return KivGuard("KivAudioPlugin::TryParseParameterValueName", false, [&] {
        if (index < 0 || index >= GetParameterCount()) return false;
        const KivString typed = text.Trimmed();
        if (typed.IsEmpty()) return false;
        // A text at either end of the range comes back through pow and sqrt, which may round a
        // hair outside it ("-80.0 dB" at the top of the gate's bottom does with MinGW's pow):
        // such a value is the end itself.
        constexpr double kRounding = 1e-9;
        double parsed = ParseParameterValueName(index, typed);
        if (!(parsed >= -kRounding && parsed <= 1.0 + kRounding)) return false;
        parsed = std::clamp(parsed, 0.0, 1.0);
        int32_t consumed = 0;
        KivNumber::TextToDouble(typed, &consumed);
        if (consumed == 0 && !GetParameterValueNameFrom01(index, parsed).Trimmed().EqualsFolded(typed)) return false;
        value = parsed;
        return true;
    });
}

void KivAudioPlugin::NeedUpdateEditor(AutomationAdapter&) { automationUpdates_.Request(false); }

void KivAudioPlugin::SendAllAutomation(AutomationAdapter& parameter) {
    KivPluginHost* host = GetPluginHost();
    if (!host) return;
    for (uint32_t local = 0; local < parameter.GetCount(); ++local) {
        const auto index = static_cast<int32_t>(parameter.GetFirstIndex() + local);
        const double value = parameter.GetParameter(static_cast<int32_t>(local));
        KivGuard("KivAudioPlugin::AutomationAdapter::SendAllAutomation",
                 [&] { host->SendAutomation(index, value); });
    }
}

void KivAudioPlugin::StoreParameters(KivXMLItem&, bool) {}

void KivAudioPlugin::StoreSettings(KivXMLItem&, bool) {}

void KivAudioPlugin::ClearParameters() noexcept {
    KivGuard("KivAudioPlugin::ClearParameters", [&] {
        KivSynchronizerGuard lock(processingMutex_);
        interpolation_.Clear();
        parameters_.Clear();
    });
}

void KivAudioPlugin::AddTemporaryAutomationAdapter(std::unique_ptr<AutomationAdapter> object) {
    KivSynchronizerGuard lock(processingMutex_);
    parameters_.AddTemporary(std::move(object));
    BuildParameterIndex();
}

void KivAudioPlugin::DestroyTemporaryAutomationAdapters() {
    KivSynchronizerGuard lock(processingMutex_);
    parameters_.RemoveTemporary();
    BuildParameterIndex();
}

void KivAudioPlugin::BuildParameterIndex() {
    KivSynchronizerGuard lock(processingMutex_);
    parameters_.AssignIndices();
    interpolation_.Clear();
    for (int32_t position = 0; position < parameters_.GetObjectCount(); ++position) {
        AutomationAdapter& object = parameters_.GetObject(position);
        // Objects whose values follow a compound (the drawn shape's points) report its changes.
        object.Subscribe();
        for (uint32_t local = 0; local < object.GetCount(); ++local) {
            if (object.IsInterpolated(static_cast<int32_t>(local))) interpolation_.Add(object, static_cast<int32_t>(local));
        }
    }
    interpolation_.RequestReset();
}
