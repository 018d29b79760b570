#include "parameters/kiv_parameter_signal_generator.h"

namespace {

const char* const kSuffixes[] = {"", " custom morph", " step sequencer", " smoothness"};

bool IsCovered(int32_t local) { return local >= 0 && local < KivSignalGeneratorModel::kSettingCount; }

}  // namespace

template <typename Base>
double ParameterSignalGeneratorT<Base>::GetParameter(int32_t local) const {
    return IsCovered(local) ? this->Object().GetSetting01(local) : 0.0;
}

template <typename Base>
void ParameterSignalGeneratorT<Base>::SetParameter(int32_t local, double value, bool silent) {
    if (!IsCovered(local)) return;
    this->Object().SetSetting01(local, value);
    this->ReportChange(silent);
}

template <typename Base>
KivString ParameterSignalGeneratorT<Base>::LocalName(int32_t local) const {
    return IsCovered(local) ? this->name_ + kSuffixes[local] : KivString();
}

template class ParameterSignalGeneratorT<ParameterSpecialBase<KivSignalGeneratorModel>>;
