#pragma once
#include <cstdint>

#include "base/kiv_string.h"

class KivXMLItem;

// How single values travel in a settings item's attributes. Each routine serves both
// directions: `storing` writes the variable into the attribute, otherwise an attribute that is
// present and readable replaces the variable and an absent one leaves it alone.
namespace KivSettingsValues {

// Twelve significant digits in general notation, the same digits on every platform. A text
// that holds no finite number is not taken over.
void StoreDouble(KivXMLItem& item, const KivString& name, double& value, bool storing);
// Decimal. A text without digits is not taken over.
void StoreInteger(KivXMLItem& item, const KivString& name, int32_t& value, bool storing);
// 0 or 1; reading takes any number but 0 as on.
void StoreFlag(KivXMLItem& item, const KivString& name, bool& value, bool storing);

}  // namespace KivSettingsValues
