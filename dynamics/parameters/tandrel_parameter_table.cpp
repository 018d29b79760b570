#include "dynamics/parameters/tandrel_parameter_table.h"

#include "parameters/kiv_record_value.h"

#include "dynamics/parameters/tandrel_enumerations.h"
#include "dynamics/parameters/tandrel_help_texts.h"
#include "dynamics/parameters/tandrel_parameter_slot.h"
#include "dynamics/parameters/tandrel_value_functions.h"
#include "parameters/kiv_parameter_value_functions.h"

static_assert(kTandrelSlotCount == 33, "the table declares 33 simple records");

namespace {

constexpr const char* kDecibels = "{+0.2} dB";

struct FloatDeclaration {
    int32_t slot;
    const char* identifier;
    const char* name;
    double minimum;
    double maximum;
    double defaultValue;
    uint32_t curve;
    const char* format;                          // or null when a value function shows it
    KivEffectParameter::ValueFunction function;  // or null when the format shows it
};

constexpr uint32_t kLinear = kKivParameterCurveLinear;
constexpr uint32_t kSquare = kKivParameterCurveSquare;
constexpr uint32_t kFourth = kKivParameterCurveFourthPower;

const FloatDeclaration kFloats[] = {
    {kTandrelInputGain, "gain", "Input gain", -24.0, 24.0, 0.0, kLinear, kDecibels, nullptr},
    {kTandrelOutputGain, "outputgain", "Output gain", -24.0, 24.0, 0.0, kLinear, kDecibels, nullptr},
    {kTandrelTempGain, "subgain", "Temp gain", -24.0, 24.0, 0.0, kLinear, kDecibels, nullptr},
    {kTandrelDryWet, "depth", "Dry/wet", 0.0, 1.0, 1.0, kLinear, nullptr, KivPercentValueFunction},
    {kTandrelLinkChannels, "linkchannels", "Link channels", 0.0, 1.0, 1.0, kLinear, nullptr, KivPercentValueFunction},
    {kTandrelAttack, "attack", "Attack", 0.0, 1.0, 0.01, kFourth, nullptr, KivTimeValueFunction},
    {kTandrelRelease, "release", "Release", 0.001, 5.0, 0.1, kFourth, nullptr, KivTimeValueFunction},
    {kTandrelAutoSpeed, "speed", "Auto speed", 0.001, 10.0, 1.0, kSquare, nullptr, KivTimeValueFunction},
    {kTandrelPeakHold, "peakhold", "Peak hold", 0.0, 1.0, 0.0, kFourth, nullptr, KivTimeValueFunction},
    {kTandrelRMSLength, "rmslength", "RMS length", 0.0, 0.1, 0.001, kSquare, nullptr, TandrelPeakTimeValueFunction},
    {kTandrelLookAhead, "lookahead", "Look-ahead", 0.0, 1.0, 0.0, kFourth, nullptr, TandrelDisabledTimeValueFunction},
    {kTandrelGateThreshold, "gatethreshold", "Threshold", 0.01, 1.0, 0.2, kLinear, nullptr, KivVolumeValueFunction},
    {kTandrelGateSize, "gatesize", "Size", 0.0, 24.0, 6.0, kLinear, kDecibels, nullptr},
    {kTandrelGateKnee, "gateknee", "Knee", 0.0, 1.0, 0.25, kLinear, nullptr, KivPercentValueFunction},
    {kTandrelGateBottom, "gatebottom", "Bottom", 0.0, 0.01, 0.0, kLinear, nullptr, KivVolumeValueFunction},
    {kTandrelThreshold1, "threshold1", "Threshold", 0.01, 1.0, 0.5, kLinear, nullptr, KivVolumeValueFunction},
    {kTandrelRatio1, "ratio1", "Ratio", -1.0, 20.0, 1.0, kLinear, nullptr, TandrelRatioValueFunction},
    {kTandrelKneeSize1, "kneesize1", "Knee size", 0.0, 1.0, 0.25, kLinear, nullptr, KivPercentValueFunction},
    {kTandrelRange1, "range1", "Range", 1.0, 96.0, 96.0, kLinear, kDecibels, nullptr},
    {kTandrelThreshold2, "threshold2", "Threshold", 0.01, 1.0, 0.25, kLinear, nullptr, KivVolumeValueFunction},
    {kTandrelRatio2, "ratio2", "Ratio", -1.0, 20.0, 1.0, kLinear, nullptr, TandrelRatioValueFunction},
    {kTandrelKneeSize2, "kneesize2", "Knee size", 0.0, 1.0, 0.25, kLinear, nullptr, KivPercentValueFunction},
    {kTandrelRange2, "range2", "Range", 1.0, 96.0, 96.0, kLinear, kDecibels, nullptr},
};

// What hosts list. Several panels share knob names ("Threshold" three times), so each name a
// host shows carries its panel ("P1 Threshold"); all fit the 24 characters of a VST 2.4 name
// and the short labels the 7 characters of a VST 2.4 short label. Units are the ones every display of
// the parameter ends in (or replaces by a word, "silence", "Disabled").
struct HostNaming {
    int32_t slot;
    const char* hostName;  // null: the name itself
    const char* shortLabel;
    const char* units;     // null: the displays carry no single unit
};

const HostNaming kHostNames[] = {
    {kTandrelInputGain, nullptr, "In gain", "dB"},
    {kTandrelOutputGain, nullptr, "OutGain", "dB"},
    {kTandrelTempGain, nullptr, "TmpGain", "dB"},
    {kTandrelDryWet, nullptr, "Dry/wet", "%"},
    {kTandrelShapeMode, nullptr, "Mode", nullptr},
    {kTandrelMaximize, "Maximize to 0 dB", "Max 0dB", nullptr},
    {kTandrelLinkChannels, nullptr, "Link", "%"},
    {kTandrelAttack, nullptr, "Attack", "ms"},
    {kTandrelRelease, nullptr, "Release", "ms"},
    {kTandrelReleaseMode, nullptr, "RelMode", nullptr},
    {kTandrelAutoSpeed, nullptr, "AutoSpd", "ms"},
    {kTandrelPeakHold, nullptr, "PkHold", "ms"},
    {kTandrelRMSLength, nullptr, "RMS len", "ms"},
    {kTandrelLookAhead, nullptr, "LookAhd", "ms"},
    {kTandrelGateGroup, nullptr, "Gate", nullptr},
    {kTandrelGateThreshold, "Gate threshold", "G Thres", "dB"},
    {kTandrelGateSize, "Gate size", "G Size", "dB"},
    {kTandrelGateKnee, "Gate knee", "G Knee", "%"},
    {kTandrelGateBottom, "Gate bottom", "G Floor", "dB"},
    {kTandrelProcessor1Group, nullptr, "P1", nullptr},
    {kTandrelThreshold1, "P1 Threshold", "P1 Thr", "dB"},
    {kTandrelRatio1, "P1 Ratio", "P1 Rat", nullptr},
    {kTandrelKneeSize1, "P1 Knee size", "P1 Knee", "%"},
    {kTandrelRange1, "P1 Range", "P1 Rng", "dB"},
    {kTandrelProcessor2Group, nullptr, "P2", nullptr},
    {kTandrelThreshold2, "P2 Threshold", "P2 Thr", "dB"},
    {kTandrelRatio2, "P2 Ratio", "P2 Rat", nullptr},
    {kTandrelKneeSize2, "P2 Knee size", "P2 Knee", "%"},
    {kTandrelRange2, "P2 Range", "P2 Rng", "dB"},
};

void Name(KivEffectParameter& record, int32_t slot, const char* identifier, const char* name, uint32_t type) {
    record.flags = KivEffectParameter::kDeclared;
    record.type = type;
    record.identifier = identifier;
    record.name = name;
    record.help = TandrelHelpText(slot);
}

void DeclareGroup(KivEffectParameter& record, int32_t slot, const char* identifier, const char* name,
                  uint8_t* enabled) {
    Name(record, slot, identifier, name, kKivParameterTypeGroup);
    record.values.asGroup.enabled = enabled;
    record.layout[0] = 1;
    record.layout[1] = 2;
}

void DeclareFloat(KivEffectParameter& record, const FloatDeclaration& declaration) {
    Name(record, declaration.slot, declaration.identifier, declaration.name, kKivParameterTypeFloat);
    double value = declaration.defaultValue;
    record.values.asFloat = {declaration.minimum, declaration.maximum, value, value, value, value, declaration.curve};
    if (declaration.format) record.format = declaration.format;
    record.valueFunction = declaration.function;
}

void DeclareEnumeration(KivEffectParameter& record, int32_t slot, const char* identifier, const char* name,
                        const char* const* items, int32_t count, int32_t defaultIndex) {
    Name(record, slot, identifier, name, kKivParameterTypeEnumeration);
    record.values.asEnumeration = {items, count, defaultIndex, defaultIndex, defaultIndex};
}

}  // namespace

TandrelParameterTable::TandrelParameterTable(KivObject* customShape, KivParameterEditorLink shapeEditor) {
    DeclareGroups();
    DeclareFloats();
    DeclareChoices();
    NameForHosts();
    MarkRecords();
    DeclareCustomShape(customShape, shapeEditor);
}

void TandrelParameterTable::DeclareGroups() {
    DeclareGroup(records_[kTandrelGeneralGroup], kTandrelGeneralGroup, "", "General parameters", nullptr);
    DeclareGroup(records_[kTandrelDetectionGroup], kTandrelDetectionGroup, "", "Dynamic detection", nullptr);
    DeclareGroup(records_[kTandrelGateGroup], kTandrelGateGroup, "Gate", "Gate", &switches_.gate);
    DeclareGroup(records_[kTandrelProcessor1Group], kTandrelProcessor1Group, "Processor1", "Processor 1",
                 &switches_.processor1);
    DeclareGroup(records_[kTandrelProcessor2Group], kTandrelProcessor2Group, "Processor2", "Processor 2",
                 &switches_.processor2);
}

void TandrelParameterTable::DeclareFloats() {
    for (const FloatDeclaration& declaration : kFloats) DeclareFloat(records_[declaration.slot], declaration);
}

void TandrelParameterTable::DeclareChoices() {
    DeclareEnumeration(records_[kTandrelShapeMode], kTandrelShapeMode, "shapemode", "Mode", kTandrelShapeModeTexts,
                       kTandrelShapeModeCount, kKivShapeSquared);
    DeclareEnumeration(records_[kTandrelReleaseMode], kTandrelReleaseMode, "releasemode", "Release mode",
                       kTandrelReleaseModeTexts, kTandrelReleaseModeCount, kTandrelReleaseManual);
    KivEffectParameter& maximize = records_[kTandrelMaximize];
    Name(maximize, kTandrelMaximize, "maximize", "Maximize signal strength to 0dB", kKivParameterTypeBool);
    maximize.values.asBool = {0, 0};
    KivEffectParameter& sideChain = records_[kTandrelSideChain];
    DeclareEnumeration(sideChain, kTandrelSideChain, "sidechain", "Side-chain", kTandrelSideChainTexts,
                       kTandrelSideChainCount, kTandrelSideChainInternal);
    // Numbered after the drawn shape, it belongs to no panel's section.
    sideChain.flags2 = static_cast<uint8_t>(sideChain.flags2 | KivEffectParameter::kEndsSection);
}

void TandrelParameterTable::NameForHosts() {
    for (const HostNaming& naming : kHostNames) {
        KivEffectParameter& record = records_[naming.slot];
        record.hostName = naming.hostName;
        record.shortLabel = naming.shortLabel;
        record.units = naming.units;
    }
}

// Every change rebuilds the processing (the transfer shape is built when parameters are
// applied); everything but the two gains takes part in randomisation, because a random
// level jump is never what a user asks for.
void TandrelParameterTable::MarkRecords() {
    for (KivEffectParameter& record : records_) {
        if (!record.HasFlag(KivEffectParameter::kDeclared)) continue;
        record.SetFlag(KivEffectParameter::kReprepares, true);
        record.SetFlag(KivEffectParameter::kRandomisable, true);
    }
    // Nor is a random switch of what the detector listens to.
    for (int32_t slot : {kTandrelInputGain, kTandrelOutputGain, kTandrelSideChain})
        records_[slot].SetFlag(KivEffectParameter::kRandomisable, false);
    for (int32_t slot : {kTandrelInputGain, kTandrelOutputGain, kTandrelTempGain, kTandrelDryWet, kTandrelLinkChannels})
        records_[slot].SetFlag(KivEffectParameter::kProductMarked, true);
    for (int32_t slot : {kTandrelDetectionGroup, kTandrelGateGroup, kTandrelProcessor2Group})
        records_[slot].SetFlag(kFoldedPanelMark, true);
    for (int32_t slot = kTandrelProcessor2Group; slot <= kTandrelRange2; ++slot)
        records_[slot].SetFlag(kSecondProcessorMark, true);
}

void TandrelParameterTable::DeclareCustomShape(KivObject* customShape, KivParameterEditorLink shapeEditor) {
    customShape_.kind = kKivSpecialEnvelopeGraph;
    customShape_.name = "Custom shape";
    customShape_.object = customShape;
    customShape_.editor = shapeEditor;
    customShape_.tag = kCustomShapeTag;
}

KivEffectParameterTable TandrelParameterTable::Declaration() noexcept {
    KivEffectParameterTable table;
    table.records = records_;
    table.recordCount = kTandrelSlotCount;
    table.specials = &customShape_;
    table.specialCount = 1;
    table.trailingRecordCount = kTandrelSlotCount - kTandrelFirstTrailingSlot;
    return table;
}

double TandrelParameterTable::Value(int32_t slot) const noexcept {
    const KivEffectParameter& record = records_[slot];
    const auto& values = record.values.asFloat;
    return KivLoadRecordValue(record.HasFlag(KivEffectParameter::kTargetMode) ? values.target : values.value);
}

int32_t TandrelParameterTable::Item(int32_t slot) const noexcept {
    const KivEffectParameter& record = records_[slot];
    const auto& values = record.values.asEnumeration;
    return KivLoadRecordValue(record.HasFlag(KivEffectParameter::kTargetMode) ? values.targetIndex : values.index);
}

bool TandrelParameterTable::IsOn(int32_t slot) const noexcept {
    const KivEffectParameter& record = records_[slot];
    if (record.type == kKivParameterTypeGroup)
        return record.values.asGroup.enabled && KivLoadRecordValue(*record.values.asGroup.enabled) != 0;
    return KivLoadRecordValue(record.values.asBool.value) != 0;
}

void TandrelParameterTable::MarkAutoSpeedUse(int32_t releaseMode) noexcept {
    uint8_t& flags2 = records_[kTandrelAutoSpeed].flags2;
    bool inUse = TandrelReleaseModeUsesAutoSpeed(releaseMode);
    flags2 = static_cast<uint8_t>(inUse ? flags2 | kInUseMark : flags2 & ~kInUseMark);
}
