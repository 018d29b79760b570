#include "plugin/midi/kiv_slot_attributes.h"

#include <cmath>

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"

namespace KivSlotAttributes {

namespace {

constexpr int32_t kDecimals = 12;
constexpr double kEqualityTolerance = 1e-50;

}  // namespace

void WriteNumber(KivXMLItem& item, const KivString& name, double value) {
    if (std::fabs(value) > kEqualityTolerance) item.SetAttribute(name, KivNumber::DoubleToText(value, kDecimals));
}

double ReadNumber(const KivXMLItem& item, const KivString& name) {
    return item.HasAttribute(name) ? KivNumber::TextToDouble(item.GetAttribute()) : 0.0;
}

void WriteInteger(KivXMLItem& item, const KivString& name, int64_t value, int64_t omitted) {
    if (value != omitted) item.SetAttribute(name, KivNumber::IntegerToText(value));
}

int64_t ReadInteger(const KivXMLItem& item, const KivString& name, int64_t omitted) {
    return item.HasAttribute(name) ? KivNumber::TextToInteger(item.GetAttribute()) : omitted;
}

void WriteFlag(KivXMLItem& item, const KivString& name, bool on) {
    if (on) item.SetAttribute(name, KivString("1"));
}

bool ReadFlag(const KivXMLItem& item, const KivString& name) { return ReadInteger(item, name, 0) != 0; }

void WriteText(KivXMLItem& item, const KivString& name, const KivString& text) { item.SetAttribute(name, text); }

KivString ReadText(const KivXMLItem& item, const KivString& name) {
    return item.HasAttribute(name) ? item.GetAttribute() : KivString();
}

}  // namespace KivSlotAttributes
