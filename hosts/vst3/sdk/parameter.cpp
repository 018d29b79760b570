#include "hosts/vst3/sdk/parameter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "hosts/vst3/sdk/vst3_text.h"

namespace Steinberg::Vst {

Parameter::Parameter(ParamID id, std::u16string_view title, int32 stepCount, ParamValue defaultNormalized,
                     int32 flags, UnitID unitId)
    : value_(defaultNormalized) {
    info_.id = id;
    Text::CopyToString128(info_.title, title);
    Text::CopyToString128(info_.shortTitle, {});
    Text::CopyToString128(info_.units, {});
    info_.stepCount = stepCount;
    info_.defaultNormalizedValue = defaultNormalized;
    info_.unitId = unitId;
    info_.flags = flags;
}

void Parameter::SetShortTitle(std::u16string_view text) { Text::CopyToString128(info_.shortTitle, text); }

void Parameter::SetUnits(std::u16string_view text) { Text::CopyToString128(info_.units, text); }

bool Parameter::SetNormalized(ParamValue value) {
    const ParamValue kept = std::clamp(value, 0.0, 1.0);
    if (kept == value_) return false;
    value_ = kept;
    return true;
}

ParamValue Parameter::ToPlain(ParamValue normalized) const {
    if (info_.stepCount <= 0) return normalized;
    return std::min<ParamValue>(info_.stepCount, std::floor(normalized * (info_.stepCount + 1)));
}

ParamValue Parameter::ToNormalized(ParamValue plain) const {
    if (info_.stepCount <= 0) return plain;
    return plain / info_.stepCount;
}

std::u16string Parameter::ToString(ParamValue normalized) const {
    char text[64];
    if (info_.stepCount > 0) std::snprintf(text, sizeof(text), "%d", static_cast<int>(ToPlain(normalized)));
    else std::snprintf(text, sizeof(text), "%.*f", static_cast<int>(precision_), normalized);
    return Text::Widen(text);
}

bool Parameter::FromString(std::u16string_view text, ParamValue& normalized) const {
    std::string narrow;
    for (char16 unit : text) narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    char* end = nullptr;
    const double number = std::strtod(narrow.c_str(), &end);
    if (end == narrow.c_str()) return false;
    normalized = info_.stepCount > 0 ? ToNormalized(number) : number;
    return true;
}

}  // namespace Steinberg::Vst
