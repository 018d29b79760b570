#include "parameters/kiv_parameter_registration.h"

#include <algorithm>
#include <memory>

#include "base/kiv_exception.h"
#include "parameters/kiv_parameter_adsr.h"
#include "parameters/kiv_parameter_bool.h"
#include "parameters/kiv_parameter_buckets.h"
#include "parameters/kiv_parameter_enum.h"
#include "parameters/kiv_parameter_envelope.h"
#include "parameters/kiv_parameter_float.h"
#include "parameters/kiv_parameter_group.h"
#include "parameters/kiv_parameter_int.h"
#include "parameters/kiv_parameter_list.h"
#include "parameters/kiv_parameter_signal_generator.h"
#include "parameters/kiv_text_join.h"

namespace {

[[noreturn]] void RaiseInvalidType() {
    throw KivException("Invalid plugin parameter type.", KivException::kInvalidArgument);
}

template <typename Parameter>
std::unique_ptr<ParameterRecordBase> MakeSimple(const KivParameterRegistrationContext& context,
                                                KivEffectParameter& record, uint32_t index, const KivString& section) {
    return std::make_unique<Parameter>(context.core, context.effect, record, context.editorLink, index,
                                       context.prefix, section);
}

// The parameter object for one declared record, or null for the types that declare none.
std::unique_ptr<ParameterRecordBase> MakeSimpleParameter(const KivParameterRegistrationContext& context,
                                                         KivEffectParameter& record, uint32_t index,
                                                         const KivString& section) {
    switch (record.type) {
        case kKivParameterTypeNone:
        case kKivParameterTypeSkipped: return nullptr;
        case kKivParameterTypeFloat: return MakeSimple<KivParameterFloat>(context, record, index, section);
        case kKivParameterTypeInteger: return MakeSimple<KivParameterInt>(context, record, index, section);
        case kKivParameterTypeEnumeration: return MakeSimple<KivParameterEnum>(context, record, index, section);
        case kKivParameterTypeBool: return MakeSimple<KivParameterBool>(context, record, index, section);
        case kKivParameterTypeGroup:
            if (!record.values.asGroup.enabled) return nullptr;
            return MakeSimple<KivParameterGroup>(context, record, index, section);
        default: RaiseInvalidType();
    }
}

// Sections run through the whole table, so a record registered later keeps its section.
void RegisterSimpleParameters(KivParameterList& list, const KivEffectParameterTable& table,
                              const KivParameterRegistrationContext& context, int32_t first, int32_t end) {
    KivString section;
    for (int32_t index = 0; index < end; ++index) {
        KivEffectParameter& record = table.Record(index);
        if (record.HasFlag2(KivEffectParameter::kEndsSection)) section.Clear();
        if (record.type == kKivParameterTypeGroup) section = record.name;
        if (index < first || !record.HasFlag(KivEffectParameter::kDeclared)) continue;
        auto parameter = MakeSimpleParameter(context, record, static_cast<uint32_t>(index), section);
        if (!parameter) continue;
        ParameterRecordBase& added = *parameter;
        list.Add(std::move(parameter));
        if (context.buckets) context.buckets->Add(added);
    }
}

// The compound object seen through the model its kind needs.
template <typename Model>
Model& ModelOf(const KivEffectSpecialParameter& special) {
    auto* model = dynamic_cast<Model*>(special.object);
    if (!model) RaiseInvalidType();
    return *model;
}

std::unique_ptr<KivAutomationAdapter> MakeSpecialParameter(const KivParameterRegistrationContext& context,
                                                           const KivEffectSpecialParameter& special) {
    KivString qualifier = KivJoinNonEmpty(special.qualifier1, special.qualifier2, " - ");
    switch (special.kind) {
        case kKivSpecialSignalGenerator:
            return std::make_unique<KivParameterSignalGenerator>(context.core, context.effect,
                                                                 ModelOf<KivSignalGeneratorModel>(special),
                                                                 special.editor, context.prefix, special.name,
                                                                 qualifier);
        case kKivSpecialADSR:
            return std::make_unique<KivParameterADSR>(context.core, context.effect, ModelOf<KivADSRModel>(special),
                                                      special.editor, context.prefix, special.name, qualifier);
        case kKivSpecialEnvelope:
            return std::make_unique<KivParameterEnvelope>(context.core, context.effect,
                                                          ModelOf<KivEnvelopeModel>(special), special.editor,
                                                          context.prefix, special.name, qualifier,
                                                          special.startValue);
        case kKivSpecialEnvelopeGraph:
            return std::make_unique<KivParameterEnvelope>(context.core, context.effect,
                                                          ModelOf<KivEnvelopeModel>(special), special.editor,
                                                          context.prefix, special.name, qualifier);
        default: RaiseInvalidType();
    }
}

void RegisterSpecialParameters(KivParameterList& list, const KivEffectParameterTable& table,
                               const KivParameterRegistrationContext& context) {
    for (int32_t index = 0; index < table.specialCount; ++index) {
        const KivEffectSpecialParameter& special = table.specials[index];
        if (special.kind == kKivSpecialSuppliedParameter) {
            // A ready-made object stays the effect's, and starts out inactive.
            auto* supplied = dynamic_cast<KivAutomationAdapter*>(special.object);
            if (!supplied) RaiseInvalidType();
            supplied->SetActive(false);
            list.AddBorrowed(*supplied);
            continue;
        }
        list.Add(MakeSpecialParameter(context, special));
    }
}

}  // namespace

void KivRegisterParameters(KivParameterList& list, const KivEffectParameterTable& table,
                           const KivParameterRegistrationContext& context) {
    const int32_t leading = table.recordCount - std::clamp(table.trailingRecordCount, 0, table.recordCount);
    RegisterSimpleParameters(list, table, context, 0, leading);
    RegisterSpecialParameters(list, table, context);
    RegisterSimpleParameters(list, table, context, leading, table.recordCount);
}
