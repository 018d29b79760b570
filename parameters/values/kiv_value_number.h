#pragma once
#include <cstdint>

#include "parameters/values/kiv_value.h"

// A number value over a variable of type Stored, computed in type Computed (double for the
// float and double variables). Integral selects whole-number text and truncating positions;
// Variant only tells two otherwise identical double families apart for the toolkit.
//
// Derived classes change the display through FormatNumber, the parsing through ParseNumber
// and the grid or notification through Validate.
template <typename Stored, typename Computed, int Integral, int Variant>
class KivValueNumber : public KivValue {
public:
    explicit KivValueNumber(Stored& variable);
    KivValueNumber(Stored& variable, Computed minimum, Computed maximum, Computed defaultValue);

    KivString GetText() const override;
    void SetText(const KivString& text) override;
    bool Reset() override;
    void Store(KivXMLItem& settings, const KivString& name) const override;
    void Load(const KivXMLItem& settings, const KivString& name) override;
    void LoadDefinition(const KivXMLItem& definition) override;
    KivString FormatValue() const override;
    KivString GetDisplayTextFrom01(double position) const override;
    bool ParseDisplayText(const KivString& text) override;
    void Validate() override;
    void StepAccelerated(int32_t count, int32_t level) override;
    void Step(int32_t count) override;
    double Get01() const override;
    void Set01(double position) override;
    int32_t GetStepCount() const override;

    Computed GetValue() const noexcept { return static_cast<Computed>(*variable_); }
    // Writes, marks changed and validates, like every other write.
    void SetValue(Computed value);
    Computed GetMinimum() const noexcept { return minimum_; }
    Computed GetMaximum() const noexcept { return maximum_; }
    Computed GetDefault() const noexcept { return default_; }
    Computed GetIncrement() const noexcept { return increment_; }
    Computed GetMaximumIncrement() const noexcept { return maximumIncrement_; }
    const KivString& GetFormat() const noexcept { return format_; }
    void SetRange(Computed minimum, Computed maximum);
    void SetDefault(Computed value) noexcept { default_ = value; }
    // The maximum increment is never below the increment.
    void SetIncrements(Computed increment, Computed maximumIncrement) noexcept;
    void SetFormat(const KivString& format) { format_ = format; }

protected:
    // The class's display text of any value of the variable's range.
    virtual KivString FormatNumber(Computed value) const;
    // The class's display parsing; answers false when the text leaves the variable as it is.
    virtual bool ParseNumber(const KivString& text, Computed& value) const;
    // Called when minimum or maximum change, for classes that derive data from them.
    virtual void OnRangeChanged() {}
    // Attributes a derived class reads beyond the common ones.
    virtual void LoadExtraDefinition(const KivXMLItem&) {}

    // The plain number reader: the leading number of the text.
    static Computed ReadLeadingNumber(const KivString& text);
    // The text matched against the format; false when the match captured nothing.
    bool ReadThroughFormat(const KivString& text, Computed& value) const;
    static Computed FromDouble(double value) noexcept { return static_cast<Computed>(value); }
    void Write(Computed value);

    Stored* variable_;
    Computed minimum_;
    Computed maximum_;
    Computed increment_;
    Computed maximumIncrement_;
    Computed default_;
    KivString format_;
};

extern template class KivValueNumber<double, double, 0, 0>;
extern template class KivValueNumber<double, double, 0, 1>;
extern template class KivValueNumber<float, double, 0, 0>;
extern template class KivValueNumber<int, int, 1, 0>;
extern template class KivValueNumber<short int, int, 1, 0>;
extern template class KivValueNumber<long long, long long, 1, 0>;

using KivValueDouble = KivValueNumber<double, double, 0, 0>;
using KivValueFloat = KivValueNumber<float, double, 0, 0>;
using KivValueInt = KivValueNumber<int, int, 1, 0>;
