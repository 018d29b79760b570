#include "parameters/kiv_parameter_envelope.h"

#include "base/kiv_format.h"

namespace {

constexpr int32_t kFields = KivEnvelopeModel::kPointFieldCount;

const char* const kNameFormats[kFields] = {"Point {0} X", "Point {0} Y", "Point {0} curvature",
                                           "Point {0} smoothness"};

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

template class ParameterEnvelopeT<ParameterSpecialBase<KivEnvelopeModel>>;
