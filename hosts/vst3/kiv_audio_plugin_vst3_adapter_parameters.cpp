#include <string>
#include <vector>

#include "base/kiv_boundary.h"
#include "hosts/vst3/kiv_audio_plugin_vst3_adapter.h"
#include "hosts/vst3/sdk/vst3_text.h"
#include "parameters/kiv_parameter_bool.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int32_t kOnOffParameterType = 4;
constexpr int32_t kMaxTitleUnits = 128;
constexpr int32_t kControllerPrecision = 4;

std::u16string ControllerTitle(int32_t controller) {
    std::u16string title(u"Controller ");
    for (char c : std::to_string(controller + 1)) title.push_back(static_cast<char16_t>(c));
    return title;
}

std::u16string Title(const KivString& text) { return text.Substring(0, kMaxTitleUnits).ToU16(); }

}  // namespace

// The plug-in's parameters, then "Bypass", then the MIDI controllers. Each section of the
// plug-in (the category a VST 2.4 host sees: "General", "Processor 1", ...) is a unit of its
// own below the root, numbered from 1 in parameter order, so that a host can group the
// parameters as the editor does; Bypass and the controllers stay in the root.
// Titles are the host names, unique across the plug-in: the names without their section
// repeat ("Threshold" of the gate and of both processors), and a host listing three
// "Threshold"s leaves its user guessing. Switches declare their one step and are lists of
// "Off" and "On". Choices of more than two items stay continuous for now: Ardour 7 gives a
// reopened session a stepped choice at another item than it saved (Mode came back as
// "Logarithmic" instead of "Squared"), and a session that changes its sound when reopened
// is worse than a choice shown as a knob.
void KivAudioPluginVST3Adapter::CreateParameters() {
    ParameterContainer& parameters = GetParameters();
    AddUnit(Unit(kRootUnitId, kNoParentUnitId, u"Root"));
    std::vector<KivString> sections;
    const int32_t count = plugin_->GetParameterCount();
    for (int32_t index = 0; index < count; ++index) {
        const bool isList = plugin_->GetParameterType(index) == kOnOffParameterType;
        const int32 steps = isList ? plugin_->GetParameterStepCount(index) : 0;
        const int32 flags = ParameterInfo::kCanAutomate | (isList && steps > 0 ? ParameterInfo::kIsList : 0);
        Parameter& parameter = parameters.Add(std::make_unique<Parameter>(
            static_cast<ParamID>(index), Title(plugin_->GetParameterHostName(index)), steps,
            plugin_->GetParameterDefaultValue(index), flags, SectionUnit(plugin_->GetParameterCategory(index), sections)));
        parameter.SetShortTitle(Title(plugin_->GetParameterShortName(index)));
        parameter.SetUnits(Title(plugin_->GetParameterUnit(index)));
    }
    parameters.Add(std::make_unique<Parameter>(kBypassId, u"Bypass", 1, 0.0,
                                               ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass));
    for (int32_t controller = 0; controller < kControllerCount; ++controller) {
        Parameter& parameter = parameters.Add(std::make_unique<Parameter>(
            kFirstControllerId + static_cast<ParamID>(controller), ControllerTitle(controller), 0, 0.0,
            ParameterInfo::kNoFlags));
        parameter.SetPrecision(kControllerPrecision);
    }
}

// The unit of `section`, made when the section first appears; a parameter without a section
// belongs to the root.
UnitID KivAudioPluginVST3Adapter::SectionUnit(const KivString& section, std::vector<KivString>& sections) {
    if (section.IsEmpty()) return kRootUnitId;
    for (size_t known = 0; known < sections.size(); ++known)
        if (sections[known] == section) return static_cast<UnitID>(known + 1);
    sections.push_back(section);
    const UnitID unit = static_cast<UnitID>(sections.size());
    AddUnit(Unit(unit, kRootUnitId, Title(section)));
    return unit;
}

bool KivAudioPluginVST3Adapter::IsPluginParameter(ParamID id) {
    return id < kFirstControllerId && static_cast<int64_t>(id) < plugin_->GetParameterCount();
}

bool KivAudioPluginVST3Adapter::IsControllerParameter(ParamID id) noexcept {
    return id >= kFirstControllerId && id < kFirstControllerId + kControllerCount;
}

// A change from the host: bypass, a MIDI controller, or one of the plug-in's parameters
// (unless it is the host's echo of the very value the plug-in is reporting on this thread).
void KivAudioPluginVST3Adapter::ApplyParameterChange(ParamID id, ParamValue value, bool fromProcess) {
    if (id == kBypassId) {
        if (!IsEcho(BypassSlot())) plugin_->SetBypass(value > 0.5);
    } else if (IsControllerParameter(id)) {
        SendController(static_cast<int32_t>(id - kFirstControllerId), value);
    } else if (IsPluginParameter(id) && !IsEcho(static_cast<int32_t>(id))) {
        if (fromProcess) plugin_->SetParameterIfChanged(static_cast<int32_t>(id), value, false);
        else plugin_->SetParameter(static_cast<int32_t>(id), value, false);
    }
}

// Controllers arrive as channel-1 messages at the start of the block.
void KivAudioPluginVST3Adapter::SendController(int32_t controller, ParamValue value) {
    const double position = plugin_->GetTransport().songPosition;
    if (controller == kPitchBendController) plugin_->ProcessPitchBend(0, position, 0, value * 2.0 - 1.0);
    else if (controller == kAftertouchController) plugin_->ProcessAftertouch(0, position, 0, value, kChannelPressureNote);
    else plugin_->ProcessMIDIController(0, position, 0, value, controller);
}

tresult KivAudioPluginVST3Adapter::setParamNormalized(ParamID id, ParamValue value) {
    return KivGuard("KivAudioPluginVST3Adapter::setParamNormalized", kResultFalse, [&] {
        const tresult known = EditControllerEx1::setParamNormalized(id, value);
        ApplyParameterChange(id, value, false);
        return known;
    });
}

// Hosts ask for values on their main thread all the time: a chance to tell them the news.
ParamValue KivAudioPluginVST3Adapter::getParamNormalized(ParamID id) {
    DeliverNotifications();
    return KivGuard("KivAudioPluginVST3Adapter::getParamNormalized", 0.0, [&] {
        if (id == kBypassId) return plugin_->IsBypassed() ? 1.0 : 0.0;
        if (IsPluginParameter(id)) return plugin_->GetParameter(static_cast<int32_t>(id));
        return 0.0;
    });
}

tresult KivAudioPluginVST3Adapter::getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) {
    return KivGuard("KivAudioPluginVST3Adapter::getParamStringByValue", kResultFalse, [&] {
        if (!string) return kInvalidArgument;
        // Bypass reads like the plug-in's own switches.
        if (id == kBypassId) {
            Text::CopyToString128(string, KivOnOffText(KivIsOnValue(valueNormalized)).ToU16());
            return kResultOk;
        }
        if (!IsPluginParameter(id)) return EditControllerEx1::getParamStringByValue(id, valueNormalized, string);
        Text::CopyToString128(string, plugin_->GetParameterValueNameFrom01(static_cast<int32_t>(id), valueNormalized).ToU16());
        return kResultOk;
    });
}

tresult KivAudioPluginVST3Adapter::getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) {
    return KivGuard("KivAudioPluginVST3Adapter::getParamValueByString", kResultFalse, [&] {
        if (!string) return kInvalidArgument;
        if (id == kBypassId) {
            valueNormalized = KivParseOnOffText(KivString(string));
            return kResultOk;
        }
        if (!IsPluginParameter(id)) return EditControllerEx1::getParamValueByString(id, string, valueNormalized);
        // Text the parameter cannot read is refused rather than taken as its lowest value.
        double parsed = 0.0;
        if (!plugin_->TryParseParameterValueName(static_cast<int32_t>(id), KivString(string), parsed))
            return kResultFalse;
        valueNormalized = parsed;
        return kResultOk;
    });
}

tresult KivAudioPluginVST3Adapter::getMidiControllerAssignment(int32 /*busIndex*/, int16 /*channel*/,
                                                                CtrlNumber midiControllerNumber, ParamID& id) {
    if (midiControllerNumber < 0 || midiControllerNumber >= kControllerCount) return kResultFalse;
    id = kFirstControllerId + static_cast<ParamID>(midiControllerNumber);
    return kResultOk;
}
