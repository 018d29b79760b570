#include "plugin/state/kiv_settings_values.h"

#include <cmath>

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"

namespace {

// Values are written with 12 significant digits, or with 17 where 12 would not read back as
// the same double: a restored project, or a slot switched back, then plays bit for bit as
// the instance it was saved from (with 12 it could differ in the last bit of a sample).
constexpr int32_t kSignificantDigits = 12;

}  // namespace

namespace KivSettingsValues {

void StoreDouble(KivXMLItem& item, const KivString& name, double& value, bool storing) {
    if (storing) {
        item.SetAttribute(name, KivNumber::DoubleToExactText(value, kSignificantDigits));
        return;
    }
    if (!item.HasAttribute(name)) return;
    int32_t consumed = 0;
    const double read = KivNumber::TextToDouble(item.GetAttribute(), &consumed);
    if (consumed > 0 && std::isfinite(read)) value = read;
}

void StoreInteger(KivXMLItem& item, const KivString& name, int32_t& value, bool storing) {
    if (storing) {
        item.SetAttribute(name, KivNumber::IntegerToText(value));
        return;
    }
    if (!item.HasAttribute(name)) return;
    int32_t consumed = 0;
    const int64_t read = KivNumber::TextToInteger(item.GetAttribute(), 10, &consumed);
    if (consumed > 0 && read >= INT32_MIN && read <= INT32_MAX) value = static_cast<int32_t>(read);
}

void StoreFlag(KivXMLItem& item, const KivString& name, bool& value, bool storing) {
    int32_t number = value ? 1 : 0;
    StoreInteger(item, name, number, storing);
    if (!storing) value = number != 0;
}

}  // namespace KivSettingsValues
