#pragma once
#include <string>

#include "hosts/vst3/interfaces/ieditcontroller.h"

namespace Steinberg::Vst {

// One parameter of an edit controller: its description and its normalised value. The
// default texts show the value with `precision` decimals, of the plain value for stepped
// parameters.
class Parameter {
public:
    Parameter(ParamID id, std::u16string_view title, int32 stepCount, ParamValue defaultNormalized, int32 flags,
              UnitID unitId = kRootUnitId);
    virtual ~Parameter() = default;

    const ParameterInfo& GetInfo() const noexcept { return info_; }
    ParamValue GetNormalized() const noexcept { return value_; }
    // Keeps `value` within 0..1; false when it is unchanged.
    virtual bool SetNormalized(ParamValue value);
    void SetPrecision(int32 decimals) noexcept { precision_ = decimals; }
    void SetShortTitle(std::u16string_view text);
    void SetUnits(std::u16string_view text);
    int32 GetPrecision() const noexcept { return precision_; }

    virtual ParamValue ToPlain(ParamValue normalized) const;
    virtual ParamValue ToNormalized(ParamValue plain) const;
    virtual std::u16string ToString(ParamValue normalized) const;
    // False when `text` holds no number.
    virtual bool FromString(std::u16string_view text, ParamValue& normalized) const;

private:
    ParameterInfo info_{};
    ParamValue value_;
    int32 precision_ = 4;
};

}  // namespace Steinberg::Vst
