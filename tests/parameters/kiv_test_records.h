#pragma once
#include "parameters/kiv_effect_parameter.h"

// Declaration records as an effect would fill them, for the parameter tests.
inline KivEffectParameter KivTestFloat(const char* name, double minimum, double maximum, double value,
                                       uint32_t curve = kKivParameterCurveLinear) {
    KivEffectParameter record;
    record.flags = KivEffectParameter::kDeclared;
    record.type = kKivParameterTypeFloat;
    record.name = name;
    record.values.asFloat = {minimum, maximum, value, value, value, value, curve};
    return record;
}

inline KivEffectParameter KivTestInteger(const char* name, int32_t minimum, int32_t maximum, int32_t value) {
    KivEffectParameter record;
    record.flags = KivEffectParameter::kDeclared;
    record.type = kKivParameterTypeInteger;
    record.name = name;
    record.values.asInteger = {minimum, maximum, value, value, value};
    return record;
}

inline KivEffectParameter KivTestEnumeration(const char* name, const char* const* items, int32_t count,
                                             int32_t index) {
    KivEffectParameter record;
    record.flags = KivEffectParameter::kDeclared;
    record.type = kKivParameterTypeEnumeration;
    record.name = name;
    record.values.asEnumeration = {items, count, index, index, index};
    return record;
}

inline KivEffectParameter KivTestBool(const char* name, bool on) {
    KivEffectParameter record;
    record.flags = KivEffectParameter::kDeclared;
    record.type = kKivParameterTypeBool;
    record.name = name;
    record.values.asBool = {static_cast<uint8_t>(on), static_cast<uint8_t>(on)};
    return record;
}

inline KivEffectParameter KivTestGroup(const char* name, uint8_t* enabled) {
    KivEffectParameter record;
    record.flags = KivEffectParameter::kDeclared;
    record.type = kKivParameterTypeGroup;
    record.name = name;
    record.values.asGroup.enabled = enabled;
    return record;
}
