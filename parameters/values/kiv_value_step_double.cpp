#include "parameters/values/kiv_value_step_double.h"

#include "base/xml/kiv_xml_item.h"
#include "parameters/values/kiv_rounding.h"

void KivValueStepDouble::Validate() {
    if (reciprocalStep_ != 0.0) {
        double value = GetValue();
        double onGrid = KivRoundHalfUp(value * reciprocalStep_) / reciprocalStep_;
        if (onGrid != value) {
            *variable_ = onGrid;
            MarkChanged();
        }
    }
    KivValueDouble::Validate();
}

void KivValueStepDouble::LoadExtraDefinition(const KivXMLItem& definition) {
    if (definition.HasAttribute("step")) SetGrid(ReadLeadingNumber(definition.GetAttribute()));
}
