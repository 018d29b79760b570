#include "parameters/kiv_parameter_group.h"

#include "parameters/kiv_record_value.h"

#include "parameters/kiv_parameter_bool.h"

template <typename ParameterBase>
void ParameterGroupT<ParameterBase>::SetParameter(int32_t, double value, bool silent) {
    if (!Switch()) return;
    KivStoreRecordValue(*Switch(), static_cast<uint8_t>(KivIsOnValue(value) ? 1 : 0));
    this->ReportChange(silent);
}

template <typename ParameterBase>
double ParameterGroupT<ParameterBase>::GetParameter(int32_t) const {
    return Switch() && KivLoadRecordValue(*Switch()) ? 1.0 : 0.0;
}

template <typename ParameterBase>
KivString ParameterGroupT<ParameterBase>::GetParameterValueName(int32_t) const {
    return KivOnOffText(Switch() && *Switch());
}

template <typename ParameterBase>
KivString ParameterGroupT<ParameterBase>::GetParameterValueNameFrom01(int32_t, double value) const {
    return KivOnOffText(KivIsOnValue(value));
}

template <typename ParameterBase>
double ParameterGroupT<ParameterBase>::ParseParameterValueName(int32_t, const KivString& text) const {
    return KivParseOnOffText(text);
}

template <typename ParameterBase>
void ParameterGroupT<ParameterBase>::UpdateEditor() {
    if (KivParameterView* view = KivCurrentView(this->editorLink_)) view->RefreshParameterView(*this);
}

template class ParameterGroupT<ParameterRecordBase>;
