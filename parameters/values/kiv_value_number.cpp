#include "parameters/values/kiv_value_number.h"

#include <algorithm>
#include <cmath>

#include "base/kiv_format.h"
#include "base/kiv_format_scanner.h"
#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"

namespace {

// Until a definition says otherwise a double moves in hundredths and an integer by one.
template <typename Computed>
constexpr Computed DefaultIncrement(bool integral) {
    return integral ? Computed(1) : static_cast<Computed>(0.01);
}

// Settings keep 12 decimals so that a stored double reads back practically unchanged.
constexpr int32_t kSettingsDecimals = 12;
// The plain display of a double carries 6 decimals.
constexpr int32_t kPlainDecimals = 6;

}  // namespace

#define KIV_VALUE_NUMBER template <typename Stored, typename Computed, int Integral, int Variant>
#define KIV_VALUE_NUMBER_CLASS KivValueNumber<Stored, Computed, Integral, Variant>

KIV_VALUE_NUMBER
KIV_VALUE_NUMBER_CLASS::KivValueNumber(Stored& variable)
    : KivValueNumber(variable, Computed(0), Computed(1), Computed(0)) {}

KIV_VALUE_NUMBER
KIV_VALUE_NUMBER_CLASS::KivValueNumber(Stored& variable, Computed minimum, Computed maximum, Computed defaultValue)
    : variable_(&variable),
      minimum_(minimum),
      maximum_(maximum),
      increment_(DefaultIncrement<Computed>(Integral != 0)),
      maximumIncrement_(increment_ * 10),
      default_(defaultValue) {}

KIV_VALUE_NUMBER
void KIV_VALUE_NUMBER_CLASS::Write(Computed value) {
    *variable_ = static_cast<Stored>(value);
    MarkChanged();
    Validate();
}

KIV_VALUE_NUMBER
void KIV_VALUE_NUMBER_CLASS::SetValue(Computed value) { Write(value); }

KIV_VALUE_NUMBER
void KIV_VALUE_NUMBER_CLASS::SetRange(Computed minimum, Computed maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    OnRangeChanged();
}

KIV_VALUE_NUMBER
void KIV_VALUE_NUMBER_CLASS::SetIncrements(Computed increment, Computed maximumIncrement) noexcept {
    increment_ = increment;
    maximumIncrement_ = std::max(increment, maximumIncrement);
}

KIV_VALUE_NUMBER
KivString KIV_VALUE_NUMBER_CLASS::GetText() const {
    if constexpr (Integral != 0) return KivNumber::IntegerToText(GetValue());
    else return KivNumber::DoubleToText(GetValue(), kPlainDecimals);
}

KIV_VALUE_NUMBER
void KIV_VALUE_NUMBER_CLASS::SetText(const KivString& text) { Write(ReadLeadingNumber(text)); }

KIV_VALUE_NUMBER
bool KIV_VALUE_NUMBER_CLASS::Reset() {
    Computed old = GetValue();
    Write(default_);
    return GetValue() != old;
}

KIV_VALUE_NUMBER
void KIV_VALUE_NUMBER_CLASS::Store(KivXMLItem& settings, const KivString& name) const {
    if constexpr (Integral != 0) settings.SetAttribute(name, KivNumber::IntegerToText(GetValue()));
    else settings.SetAttribute(name, KivNumber::DoubleToText(GetValue(), kSettingsDecimals));
}

KIV_VALUE_NUMBER
void KIV_VALUE_NUMBER_CLASS::Load(const KivXMLItem& settings, const KivString& name) {
    if (settings.HasAttribute(name)) Write(ReadLeadingNumber(settings.GetAttribute()));
    else Reset();
}

KIV_VALUE_NUMBER
void KIV_VALUE_NUMBER_CLASS::LoadDefinition(const KivXMLItem& definition) {
    if (definition.HasAttribute("id")) identifier_ = definition.GetAttribute();
    Computed minimum = minimum_;
    Computed maximum = maximum_;
    if (definition.HasAttribute("min")) minimum = ReadLeadingNumber(definition.GetAttribute());
    if (definition.HasAttribute("max")) maximum = ReadLeadingNumber(definition.GetAttribute());
    SetRange(minimum, maximum);
    bool hasDefault = definition.HasAttribute("default");
    if (hasDefault) default_ = ReadLeadingNumber(definition.GetAttribute());
    if (definition.HasAttribute("value")) {
        Computed initial = ReadLeadingNumber(definition.GetAttribute());
        if (!hasDefault) default_ = initial;
        *variable_ = static_cast<Stored>(initial);
    }
    Computed increment = increment_;
    Computed maximumIncrement = maximumIncrement_;
    if (definition.HasAttribute("inc")) increment = ReadLeadingNumber(definition.GetAttribute());
    if (definition.HasAttribute("maxinc")) maximumIncrement = ReadLeadingNumber(definition.GetAttribute());
    SetIncrements(increment, maximumIncrement);
    if (definition.HasAttribute("format")) format_ = definition.GetAttribute();
    LoadExtraDefinition(definition);
    Validate();
}

KIV_VALUE_NUMBER
KivString KIV_VALUE_NUMBER_CLASS::FormatValue() const { return FormatNumber(GetValue()); }

KIV_VALUE_NUMBER
KivString KIV_VALUE_NUMBER_CLASS::FormatNumber(Computed value) const {
    if (format_.IsEmpty()) {
        if constexpr (Integral != 0) return KivNumber::IntegerToText(value);
        else return KivNumber::DoubleToText(value, kPlainDecimals);
    }
    if constexpr (Integral != 0) return KivFormat(format_).Argument(static_cast<int64_t>(value)).Result();
    else return KivFormat(format_).Argument(static_cast<double>(value)).Result();
}

KIV_VALUE_NUMBER
KivString KIV_VALUE_NUMBER_CLASS::GetDisplayTextFrom01(double position) const {
    return FormatNumber(FromDouble(minimum_ + (static_cast<double>(maximum_) - minimum_) * position));
}

KIV_VALUE_NUMBER
bool KIV_VALUE_NUMBER_CLASS::ParseDisplayText(const KivString& text) {
    Computed value = GetValue();
    if (!ParseNumber(text, value)) return false;
    Computed old = GetValue();
    Write(value);
    return GetValue() != old;
}

KIV_VALUE_NUMBER
bool KIV_VALUE_NUMBER_CLASS::ParseNumber(const KivString& text, Computed& value) const {
    // Without a format there is nothing to match; the leading number is what was meant.
    if (format_.IsEmpty()) {
        value = ReadLeadingNumber(text);
        return true;
    }
    return ReadThroughFormat(text, value);
}

KIV_VALUE_NUMBER
Computed KIV_VALUE_NUMBER_CLASS::ReadLeadingNumber(const KivString& text) {
    return FromDouble(KivNumber::TextToDouble(text));
}

KIV_VALUE_NUMBER
bool KIV_VALUE_NUMBER_CLASS::ReadThroughFormat(const KivString& text, Computed& value) const {
    KivFormatScanner scanner(format_, text);
    if (scanner.GetArgumentCount() == 0) return false;
    if constexpr (Integral != 0) {
        int64_t read = 0;
        scanner.Read(read);
        value = static_cast<Computed>(read);
    } else {
        double read = 0.0;
        scanner.Read(read);
        value = read;
    }
    return true;
}

KIV_VALUE_NUMBER
void KIV_VALUE_NUMBER_CLASS::Validate() {
    Computed value = GetValue();
    Computed limited = std::min(std::max(value, minimum_), maximum_);
    if (limited != value) {
        *variable_ = static_cast<Stored>(limited);
        MarkChanged();
    }
}

KIV_VALUE_NUMBER
void KIV_VALUE_NUMBER_CLASS::StepAccelerated(int32_t count, int32_t level) {
    Computed accelerated = FromDouble(std::ldexp(static_cast<double>(increment_), level));
    Computed increment = std::min(accelerated, maximumIncrement_);
    Write(GetValue() + static_cast<Computed>(count) * increment);
}

KIV_VALUE_NUMBER
void KIV_VALUE_NUMBER_CLASS::Step(int32_t count) { Write(GetValue() + static_cast<Computed>(count) * increment_); }

KIV_VALUE_NUMBER
double KIV_VALUE_NUMBER_CLASS::Get01() const {
    double range = static_cast<double>(maximum_) - static_cast<double>(minimum_);
    if (range == 0.0) return 0.0;
    return std::clamp((static_cast<double>(GetValue()) - minimum_) / range, 0.0, 1.0);
}

KIV_VALUE_NUMBER
void KIV_VALUE_NUMBER_CLASS::Set01(double position) {
    Write(FromDouble(minimum_ + (static_cast<double>(maximum_) - minimum_) * position));
}

KIV_VALUE_NUMBER
int32_t KIV_VALUE_NUMBER_CLASS::GetStepCount() const {
    double count = std::floor(static_cast<double>(maximum_)) - std::ceil(static_cast<double>(minimum_)) + 1.0;
    return static_cast<int32_t>(count);
}

#undef KIV_VALUE_NUMBER
#undef KIV_VALUE_NUMBER_CLASS

template class KivValueNumber<double, double, 0, 0>;
template class KivValueNumber<double, double, 0, 1>;
template class KivValueNumber<float, double, 0, 0>;
template class KivValueNumber<int, int, 1, 0>;
template class KivValueNumber<short int, int, 1, 0>;
template class KivValueNumber<long long, long long, 1, 0>;
