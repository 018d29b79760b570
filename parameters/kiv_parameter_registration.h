#pragma once
#include <cstdint>

#include "parameters/kiv_effect_parameter.h"
#include "parameters/kiv_effect_special_parameter.h"
#include "parameters/kiv_parameter_view.h"

class KivParameterBuckets;
class KivParameterCoreLink;
class KivParameterEffectLink;
class KivParameterList;

// An effect's parameter declarations: the simple records, held in one array or reached
// through an array of references, then the compound declarations.
struct KivEffectParameterTable {
    KivEffectParameter* records = nullptr;
    KivEffectParameter* const* recordReferences = nullptr;
    int32_t recordCount = 0;
    KivEffectSpecialParameter* specials = nullptr;
    int32_t specialCount = 0;
    // The last this many records are registered after the compound declarations: records a
    // product adds later take host numbers after every existing one, so saved projects and
    // host automation keep their meaning.
    int32_t trailingRecordCount = 0;

    KivEffectParameter& Record(int32_t index) const noexcept {
        return recordReferences ? *recordReferences[index] : records[index];
    }
};

// Who the new parameter objects talk to.
struct KivParameterRegistrationContext {
    KivParameterCoreLink* core = nullptr;
    KivParameterEffectLink* effect = nullptr;
    KivParameterEditorLink editorLink = nullptr;
    KivString prefix;
    KivParameterBuckets* buckets = nullptr;  // optional
};

// Builds one parameter object per declared simple record, in table order, then one per
// compound declaration, then those of the trailing records, and appends them to `list`. Each simple object's section is the name
// of the latest group record, cleared by a record that ends its section. A declared record of
// an unknown type raises "Invalid plugin parameter type.".
void KivRegisterParameters(KivParameterList& list, const KivEffectParameterTable& table,
                           const KivParameterRegistrationContext& context);
