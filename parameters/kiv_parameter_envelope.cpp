#include "parameters/kiv_parameter_envelope.h"

#include <algorithm>

#include "base/kiv_format.h"
#include "base/kiv_number.h"

namespace {

constexpr int32_t kFields = KivEnvelopeModel::kPointFieldCount;
constexpr int32_t kShownDecimals = 4;

const char* const kNameFormats[kFields] = {"Point {0} X", "Point {0} Y", "Point {0} curvature",
                                           "Point {0} smoothness"};
// The same within the 7 characters of a short label.
const char* const kShortFormats[kFields] = {"Pt{0} X", "Pt{0} Y", "Pt{0} Crv", "Pt{0} Smo"};

bool IsCovered(int32_t local) { return local >= 0 && local < KivEnvelopeModel::kHostPointCount * kFields; }

KivEnvelopeModel::PointField FieldOf(int32_t local) { return static_cast<KivEnvelopeModel::PointField>(local % kFields); }

}  // namespace

template <typename Base>
double ParameterEnvelopeT<Base>::GetParameter(int32_t local) const {
    return IsCovered(local) ? this->Object().GetPoint01(local / kFields, FieldOf(local)) : 0.0;
}

template <typename Base>
void ParameterEnvelopeT<Base>::SetParameter(int32_t local, double value, bool silent) {
    if (!IsCovered(local)) return;
    this->Object().SetPoint01(local / kFields, FieldOf(local), value);
    this->ReportChange(silent);
}

template <typename Base>
KivString ParameterEnvelopeT<Base>::LocalName(int32_t local) const {
    if (!IsCovered(local)) return KivString();
    return KivFormat(kNameFormats[local % kFields]).Argument(local / kFields + 1).Result();
}

template <typename Base>
KivString ParameterEnvelopeT<Base>::GetParameterShortLabel(int32_t local) const {
    if (!IsCovered(local)) return KivString();
    return KivFormat(kShortFormats[local % kFields]).Argument(local / kFields + 1).Result();
}

template <typename Base>
KivString ParameterEnvelopeT<Base>::GetParameterValueName(int32_t local) const {
    return GetParameterValueNameFrom01(local, GetParameter(local));
}

template <typename Base>
KivString ParameterEnvelopeT<Base>::GetParameterValueNameFrom01(int32_t local, double value) const {
    if (!IsCovered(local)) return KivString();
    return KivNumber::DoubleToText(std::clamp(value, 0.0, 1.0), kShownDecimals);
}

template <typename Base>
double ParameterEnvelopeT<Base>::ParseParameterValueName(int32_t, const KivString& text) const {
    return std::clamp(KivNumber::TextToDouble(text), 0.0, 1.0);
}

template <typename Base>
double ParameterEnvelopeT<Base>::GetParameterDefaultValue(int32_t local) const {
    return IsCovered(local) ? defaults_[local] : 0.0;
}

template class ParameterEnvelopeT<ParameterSpecialBase<KivEnvelopeModel>>;
