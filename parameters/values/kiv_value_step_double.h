#pragma once
#include "parameters/values/kiv_value_number.h"

// A double kept on a grid of `step`: 0.6 on a grid of 0.25 becomes 0.5, 0.625 becomes 0.75.
class KivValueStepDouble : public KivValueDouble {
public:
    using KivValueDouble::KivValueDouble;

    // The grid's spacing ("step" in GUI descriptions); 0 switches the grid off.
    void SetGrid(double step) noexcept { reciprocalStep_ = step != 0.0 ? 1.0 / step : 0.0; }

    void Validate() override;

protected:
    void LoadExtraDefinition(const KivXMLItem& definition) override;

private:
    // Dividing by the step is done as a multiplication by its reciprocal, kept for that.
    double reciprocalStep_ = 0.0;
};
