#include "parameters/kiv_parameter_adsr.h"

#include <cmath>

namespace {

constexpr double kLongestTime = 10.0;
constexpr int32_t kLastTime = KivADSRModel::kRelease;
constexpr int32_t kLastLevel = KivADSRModel::kSmoothing;
constexpr int32_t kSpare = KivADSRModel::kFieldCount;

const char* const kSuffixes[] = {" delay",   " attack",    " hold",         " decay",
                                 " release", " sustain",   " smoothing",    " attack shape",
                                 " decay shape", " release shape", " reserved"};

double TimeToHost(double seconds) { return std::sqrt(std::sqrt(seconds / kLongestTime)); }
double HostToTime(double value) { return kLongestTime * value * value * value * value; }

}  // namespace

template <typename Base>
double ParameterADSRT<Base>::GetParameter(int32_t local) const {
    if (local < 0 || local > kSpare) return 0.0;
    if (local == kSpare) return spare_;
    double field = this->Object().GetField(static_cast<KivADSRModel::Field>(local));
    if (local <= kLastTime) return TimeToHost(field);
    if (local <= kLastLevel) return field;
    return (field + 1.0) * 0.5;
}

template <typename Base>
void ParameterADSRT<Base>::SetParameter(int32_t local, double value, bool silent) {
    if (local < 0 || local > kSpare) return;
    if (local == kSpare) {
        spare_ = value;
    } else {
        double field = local <= kLastTime ? HostToTime(value) : local <= kLastLevel ? value : value * 2.0 - 1.0;
        this->Object().SetField(static_cast<KivADSRModel::Field>(local), field);
    }
    this->ReportChange(silent);
}

template <typename Base>
KivString ParameterADSRT<Base>::LocalName(int32_t local) const {
    if (local < 0 || local > kSpare) return KivString();
    return this->name_ + kSuffixes[local];
}

template class ParameterADSRT<ParameterSpecialBase<KivADSRModel>>;
