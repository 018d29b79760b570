#include "hosts/vst2/kiv_audio_plugin_vst_adapter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "base/kiv_boundary.h"
#include "base/kiv_trace.h"
#include "hosts/bridge/kiv_host_setup.h"
#include "hosts/vst2/vst2_text.h"
#include "threads/kiv_thread_role.h"

std::atomic<int32_t> KivAudioPluginVSTAdapter::liveCount_{0};

namespace {

// Hosts of the 2.4 interface give a name 24 characters, more than the SDK's 8 and what
// every host shows; the host names are made to fit it.
constexpr int32_t kMaxParameterNameCharacters = 24;
constexpr int32_t kEnumerationParameterType = 3;
constexpr int32_t kOnOffParameterType = 4;
constexpr int32_t kOldestCountedHost = 100;
constexpr const char* kHostType = "VST";
// Program 0 of the host's list: the settings as they are.
constexpr const char* kCurrentSettingsProgram = "Current settings";

void CopyWhole(char* destination, const KivString& text) {
    const std::string bytes = text.ToUTF8();
    std::memcpy(destination, bytes.c_str(), bytes.size() + 1);
}

// Runs a text operation; on failure the host's buffer is left empty.
template <typename Operation>
void WriteText(const char* qualifiedName, char* text, Operation&& operation) {
    *text = '\0';
    KivGuard(qualifiedName, [&] { CopyWhole(text, operation()); });
}

// The plug-in's own bypass, with latency compensation, follows its parameters as one more
// switch: VST 2.4 gives a plug-in no other way to tell its host that the editor switched it,
// nor to make that one gesture the host can record and undo.
const char* const kBypassName = "Bypass";
const char* const kOn = "On";
const char* const kOff = "Off";

bool IsOneOf(const char* text, std::initializer_list<const char*> candidates) {
    for (const char* candidate : candidates)
        if (std::strcmp(text, candidate) == 0) return true;
    return false;
}

}  // namespace

KivAudioPluginVSTAdapter::KivAudioPluginVSTAdapter(audioMasterCallback audioMaster,
                                                   std::unique_ptr<KivAudioPlugin> plugin)
    : AudioEffectX(audioMaster, 0, plugin->GetParameterCount() + 1),
      plugin_(std::move(plugin)),
      description_(*plugin_) {
    // VST 2.4 names no main thread; the one that creates the instance is the host's.
    BindMainThread();
    KivGuard("KivAudioPluginVSTAdapter::KivAudioPluginVSTAdapter", [&] {
        PrepareNotifications(plugin_->GetParameterCount());
        outgoingEvents_.resize(KivHostMidiQueue::kCapacity);
        outgoingBlock_.resize(2 + KivHostMidiQueue::kCapacity);
    });
    plugin_->SetPluginHost(this);
    plugin_->SetHostType(KivString(kHostType));
    ++liveCount_;
    KivGuard("KivAudioPluginVSTAdapter::KivAudioPluginVSTAdapter", [&] { Construct(); });
}

KivAudioPluginVSTAdapter::~KivAudioPluginVSTAdapter() {
    Retire();
    KivGuard("KivAudioPluginVSTAdapter::~KivAudioPluginVSTAdapter", [&] {
        setEditor(nullptr);
        plugin_->DestroyEditor();
        plugin_->StopAutomationUpdates();
        plugin_->SetPluginHost(nullptr);
        plugin_.reset();
    });
    --liveCount_;
}

void KivAudioPluginVSTAdapter::Construct() {
    if (getAudioMaster()) {
        const intptr_t answer = callHost(audioMasterVersion);
        DeclareChannels(answer ? static_cast<int32_t>(answer) : 1);
        WriteIdentity();
        // The host reads initialDelay once it has the instance: nothing to tell yet.
        setInitialDelay(plugin_->GetLatency());
        ResumePlugin();
    }
    setEditor(new KivEditor(*this));
    plugin_->InitProcessing();
}

// Old hosts know only stereo groups and at most two outputs.
void KivAudioPluginVSTAdapter::DeclareChannels(int32_t hostVersion) {
    int32_t inputs = description_.InputChannels();
    int32_t outputs = description_.OutputChannels();
    const int32_t perGroup = std::max(1, plugin_->GetChannelsPerGroup());
    if (hostVersion < kFirstMultiChannelHost && inputs > 0) {
        inputs = std::min(inputs, (inputs / perGroup) * 2);
        outputs = std::min(outputs, 2);
        plugin_->SetChannelsPerGroup(2);
    }
    if (hostVersion < kOldestCountedHost) inputs = std::max(inputs, 2);
    setNumInputs(inputs);
    setNumOutputs(outputs);
    plugin_->SetHostChannels(inputs, outputs);
}

void KivAudioPluginVSTAdapter::WriteIdentity() {
    setUniqueID(kUniqueId);
    canProcessReplacing();
    programsAreChunks();
    isSynth(IsSynth());
}

bool KivAudioPluginVSTAdapter::IsSynth() const {
    return description_.AcceptsMIDIInput() && getAeffect()->numInputs == 0;
}

// ---- Parameters -------------------------------------------------------------------------

// VST 2.4 hosts play automation by calling setParameter on their audio thread between blocks.
// The host says which thread it is calling from: a change from its real-time thread is applied
// as one arriving inside a block (prepared off the audio thread), any other, offline renders
// included, is prepared by the calling thread.
void KivAudioPluginVSTAdapter::setParameter(int32_t index, float value) {
    if (IsEcho(index)) return;
    if (index == BypassSlot()) {
        plugin_->SetBypass(value > 0.5f);
        return;
    }
    KivGuard("KivAudioPluginVSTAdapter::setParameter", [&] {
        if (getCurrentProcessLevel() == kVstProcessLevelRealtime) {
            KivThreadRole::AudioScope audioThread;
            plugin_->SetParameter(index, static_cast<double>(value), false);
        } else {
            plugin_->SetParameter(index, static_cast<double>(value), false);
        }
    });
}

float KivAudioPluginVSTAdapter::getParameter(int32_t index) {
    if (index == BypassSlot()) return plugin_->IsBypassed() ? 1.0f : 0.0f;
    return KivGuard("KivAudioPluginVSTAdapter::getParameter", 0.0f,
                    [&] { return static_cast<float>(plugin_->GetParameter(index)); });
}

// The host names, unique and whole within 24 characters: the full names with their section
// ("Input gain (General parameters)") would be cut mid-word and repeat their first 24
// characters. The full name is the label of the parameter's properties.
void KivAudioPluginVSTAdapter::getParameterName(int32_t index, char* text) {
    WriteText("KivAudioPluginVSTAdapter::getParameterName", text, [&] {
        if (index == BypassSlot()) return KivString(kBypassName);
        return plugin_->GetParameterHostName(index).Substring(0, kMaxParameterNameCharacters);
    });
}

bool KivAudioPluginVSTAdapter::getParameterProperties(int32_t index, VstParameterProperties* properties) {
    return KivGuard("KivAudioPluginVSTAdapter::getParameterProperties", false, [&] {
        if (!properties || index < 0 || index > BypassSlot()) return false;
        std::memset(properties, 0, sizeof(*properties));
        if (index == BypassSlot()) {
            Vst2CopyText(properties->label, kBypassName, kVstMaxLabelLen);
            Vst2CopyText(properties->shortLabel, kBypassName, kVstMaxShortLabelLen);
            properties->flags |= kVstParameterIsSwitch;
            return true;
        }
        Vst2CopyText(properties->label, plugin_->GetParameterID(index).ToUTF8().c_str(), kVstMaxLabelLen);
        Vst2CopyText(properties->shortLabel, plugin_->GetParameterShortName(index).ToUTF8().c_str(),
                     kVstMaxShortLabelLen);
        DescribeCategory(index, *properties);
        DescribeSteps(index, *properties);
        return true;
    });
}

// Categories are numbered from 1 in parameter order; the parameters of one section follow
// each other, so a category is a run of equal section names.
void KivAudioPluginVSTAdapter::DescribeCategory(int32_t index, VstParameterProperties& properties) {
    const KivString category = plugin_->GetParameterCategory(index);
    if (category.IsEmpty()) return;
    int16_t number = 0;
    int32_t first = 0;
    KivString previous;
    for (int32_t other = 0; other <= index; ++other) {
        KivString name = plugin_->GetParameterCategory(other);
        if (other == 0 || !(name == previous)) {
            ++number;
            first = other;
        }
        previous = name;
    }
    int32_t end = index + 1;
    while (end < plugin_->GetParameterCount() && plugin_->GetParameterCategory(end) == category) ++end;
    properties.flags |= kVstParameterSupportsDisplayCategory;
    properties.category = number;
    properties.numParametersInCategory = static_cast<int16_t>(end - first);
    Vst2CopyText(properties.categoryLabel, category.ToUTF8().c_str(), kVstMaxCategLabelLen);
}

// Switches say so; choices give their items as whole numbers 0 .. items - 1.
void KivAudioPluginVSTAdapter::DescribeSteps(int32_t index, VstParameterProperties& properties) {
    const int32_t type = plugin_->GetParameterType(index);
    if (type == kOnOffParameterType) {
        properties.flags |= kVstParameterIsSwitch;
    } else if (type == kEnumerationParameterType) {
        properties.flags |= kVstParameterUsesIntegerMinMax | kVstParameterUsesIntStep;
        properties.minInteger = 0;
        properties.maxInteger = plugin_->GetParameterStepCount(index);
        properties.stepInteger = 1;
        properties.largeStepInteger = 1;
    }
}

// Any text a display shows reads back to the value showing it; a null text asks whether the
// plug-in reads text at all.
bool KivAudioPluginVSTAdapter::string2parameter(int32_t index, char* text) {
    return KivGuard("KivAudioPluginVSTAdapter::string2parameter", false, [&] {
        if (index < 0 || index > BypassSlot()) return false;
        if (!text) return true;
        if (index == BypassSlot()) {
            const KivString typed = KivString::FromUTF8(text);
            const bool on = typed.EqualsFolded(KivString(kOn)) || typed == KivString("1");
            if (!on && !typed.EqualsFolded(KivString(kOff)) && !(typed == KivString("0"))) return false;
            plugin_->SetBypass(on);
            return true;
        }
        double value = 0.0;
        if (!plugin_->TryParseParameterValueName(index, KivString::FromUTF8(text), value)) return false;
        plugin_->SetParameter(index, value, false);
        return true;
    });
}

void KivAudioPluginVSTAdapter::getParameterDisplay(int32_t index, char* text) {
    WriteText("KivAudioPluginVSTAdapter::getParameterDisplay", text, [&] {
        if (index == BypassSlot()) return KivString(plugin_->IsBypassed() ? kOn : kOff);
        return plugin_->GetParameterValueName(index);
    });
}

void KivAudioPluginVSTAdapter::getParameterLabel(int32_t index, char* text) {
    WriteText("KivAudioPluginVSTAdapter::getParameterLabel", text, [&] {
        if (index == BypassSlot()) return KivString();
        return plugin_->GetParameterUnitsName(index);
    });
}

// ---- Identity ---------------------------------------------------------------------------

void KivAudioPluginVSTAdapter::SetProgramList(std::unique_ptr<KivVstProgramList> programs) {
    programs_ = std::move(programs);
    setNumPrograms(programs_ ? programs_->Count() + 1 : 0);
}

// Only a change of program loads: a host that selects the current program again (when it
// restores a project, say, after the state it restored) must not replace the settings.
void KivAudioPluginVSTAdapter::setProgram(int32_t program) {
    KivGuard("KivAudioPluginVSTAdapter::setProgram", [&] {
        if (!programs_ || program < 0 || program > programs_->Count() || program == getProgram()) return;
        if (program > 0) programs_->Load(program - 1);
        AudioEffectX::setProgram(program);
    });
}

void KivAudioPluginVSTAdapter::getProgramName(char* name) {
    getProgramNameIndexed(-1, getProgram(), name);
}

bool KivAudioPluginVSTAdapter::getProgramNameIndexed(int32_t /*category*/, int32_t index, char* text) {
    return KivGuard("KivAudioPluginVSTAdapter::getProgramNameIndexed", false, [&] {
        if (!text) return false;
        *text = '\0';
        if (!programs_ || index < 0 || index > programs_->Count()) return false;
        const KivString name = index == 0 ? KivString(kCurrentSettingsProgram) : programs_->Name(index - 1);
        Vst2CopyText(text, name.ToUTF8().c_str(), kVstMaxProgNameLen);
        return true;
    });
}

bool KivAudioPluginVSTAdapter::getEffectName(char* name) {
    return KivGuard("KivAudioPluginVSTAdapter::getEffectName", false, [&] {
        Vst2CopyText(name, description_.Name().ToUTF8().c_str(), kVstMaxEffectNameLen);
        return true;
    });
}

bool KivAudioPluginVSTAdapter::getProductString(char* text) {
    return KivGuard("KivAudioPluginVSTAdapter::getProductString", false, [&] {
        Vst2CopyText(text, description_.Name().ToUTF8().c_str(), kVstMaxProductStrLen);
        return true;
    });
}

bool KivAudioPluginVSTAdapter::getVendorString(char* text) {
    return KivGuard("KivAudioPluginVSTAdapter::getVendorString", false, [&] {
        Vst2CopyText(text, description_.Vendor().ToUTF8().c_str(), kVstMaxVendorStrLen);
        return true;
    });
}

int32_t KivAudioPluginVSTAdapter::canDo(char* text) {
    if (!text) return 0;
    if (IsOneOf(text, {"receiveVstEvents", "receiveVstEvent", "receiveVstMidiEvents", "receiveVstMidiEvent"}))
        return description_.AcceptsMIDIInput() ? 1 : -1;
    if (IsOneOf(text, {"sendVstEvents", "sendVstEvent", "sendVstMidiEvents", "sendVstMidiEvent"}))
        return description_.SendsMIDI() ? 1 : -1;
    if (IsOneOf(text, {"plugAsChannelInsert", "canMono", "plugAsSend", "receiveVstTimeInfo"})) return 1;
    // Soft bypass: the host keeps calling processReplacing and the plug-in bypasses itself,
    // aligned with its latency and cross-faded. A host that bypasses a plug-in by itself stops
    // calling it, so the output jumps to the undelayed input and the plug-in's delay lines and
    // detector stand still, replaying their old audio when it comes back.
    if (std::strcmp(text, "bypass") == 0) return kAnswersSoftBypass ? 1 : -1;
    return 0;
}

// The same switch as the editor's bypass button; nothing is reported back, since the host
// set it (and a VST 2.4 host has no bypass parameter to show it on).
bool KivAudioPluginVSTAdapter::setBypass(bool bypass) {
    if (!kAnswersSoftBypass) return false;
    return KivGuard("KivAudioPluginVSTAdapter::setBypass", false, [&] {
        plugin_->SetHostBypass(bypass);
        return true;
    });
}

// ---- Channels ---------------------------------------------------------------------------

bool KivAudioPluginVSTAdapter::DescribePin(int32_t index, int32_t count, const KivString& name,
                                           VstPinProperties* properties) {
    if (index < 0 || index >= count) return false;
    std::memset(properties, 0, sizeof(*properties));
    Vst2CopyText(properties->label, name.ToUTF8().c_str(), kVstMaxLabelLen);
    switch (plugin_->GetChannelsPerGroup()) {
    case 1:
        properties->flags = kVstPinIsActive;
        properties->arrangementType = kSpeakerArrMono;
        break;
    case 2:
        properties->flags = kVstPinIsActive | kVstPinIsStereo;
        properties->arrangementType = kSpeakerArrStereo;
        break;
    default:
        properties->flags = kVstPinIsActive | kVstPinUseSpeaker;
        properties->arrangementType = kSpeakerArr80Music;
        break;
    }
    return true;
}

bool KivAudioPluginVSTAdapter::getInputProperties(int32_t index, VstPinProperties* properties) {
    return KivGuard("KivAudioPluginVSTAdapter::getInputProperties", false, [&] {
        return DescribePin(index, plugin_->GetHostInputChannels(), description_.InputChannelName(index), properties);
    });
}

bool KivAudioPluginVSTAdapter::getOutputProperties(int32_t index, VstPinProperties* properties) {
    return KivGuard("KivAudioPluginVSTAdapter::getOutputProperties", false, [&] {
        return DescribePin(index, plugin_->GetHostOutputChannels(), description_.OutputChannelName(index),
                           properties);
    });
}

int32_t KivAudioPluginVSTAdapter::ArrangedInputChannels(const VstSpeakerArrangement* input) const {
    if (plugin_->GetInputGroups() == 0) return 0;
    if (!input) return -1;
    return std::min(input->numChannels, plugin_->GetChannelsPerGroup());
}

int32_t KivAudioPluginVSTAdapter::ArrangedOutputChannels(const VstSpeakerArrangement* output) const {
    if (!output) return 1;
    return std::max(1, std::min(output->numChannels, plugin_->GetChannelsPerGroup()));
}

bool KivAudioPluginVSTAdapter::setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output) {
    return KivGuard("KivAudioPluginVSTAdapter::setSpeakerArrangement", false, [&] {
        if (input && input->numChannels > plugin_->GetHostInputChannels()) return false;
        if (output && output->numChannels > plugin_->GetHostOutputChannels()) return false;
        plugin_->SetConnectedChannels(ArrangedInputChannels(input), ArrangedOutputChannels(output));
        return true;
    });
}

bool KivAudioPluginVSTAdapter::getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) {
    return AudioEffectX::getSpeakerArrangement(input, output);
}

// ---- Processing set-up ------------------------------------------------------------------

void KivAudioPluginVSTAdapter::setSampleRate(float sampleRate) {
    AudioEffectX::setSampleRate(sampleRate);
    KivGuard("KivAudioPluginVSTAdapter::setSampleRate", [&] {
        const int32_t rounded = KivHostSetup::RoundSampleRate(sampleRate);
        if (rounded == 0) return;
        plugin_->SetSampleRate(rounded);
        plugin_->InitProcessing();
    });
}

void KivAudioPluginVSTAdapter::setBlockSize(int32_t blockSize) {
    AudioEffectX::setBlockSize(blockSize);
    KivGuard("KivAudioPluginVSTAdapter::setBlockSize", [&] {
        if (blockSize > 0) plugin_->SetMaxBlockSize(blockSize);
    });
}

void KivAudioPluginVSTAdapter::resume() {
    KivGuard("KivAudioPluginVSTAdapter::resume", [&] { ResumePlugin(); });
}

// A 2.4 host sends events to whoever says it can receive them; asking keeps older hosts
// sending too.
void KivAudioPluginVSTAdapter::ResumePlugin() {
    char receive[] = "receiveVstMidiEvent";
    if (IsSynth() || canDo(receive) == 1) wantEvents();
    AskForSideChainPins();
    plugin_->InitProcessing();
}

// A host that wires nothing to the side-chain pins and says so leaves the plug-in keyed on its
// own input; hosts that do not answer (0) count as connected, and pass silence when they are not.
void KivAudioPluginVSTAdapter::AskForSideChainPins() {
    const int32_t perGroup = std::max(1, plugin_->GetChannelsPerGroup());
    for (int32_t group = 1; group < plugin_->GetInputGroups(); ++group) {
        const bool connected = callHost(audioMasterPinConnected, group * perGroup, 0) == 0;
        plugin_->SetInputGroupActive(group, connected);
    }
}
