#include "dynamics/gain/tandrel_linear_gains.h"

#include <cmath>

#include "dynamics/parameters/tandrel_parameter_slot.h"
#include "dynamics/parameters/tandrel_parameter_table.h"

TandrelLinearGains TandrelComputeLinearGains(double inputDecibels, double outputDecibels, double tempDecibels,
                                             bool processor1Enabled, double ratioCode1) {
    double compensation = tempDecibels;
    if (processor1Enabled && tempDecibels > 0.0 && ratioCode1 > 1.0) compensation = tempDecibels / ratioCode1;
    return {std::pow(10.0, (inputDecibels + tempDecibels) / 20.0),
            std::pow(10.0, (outputDecibels - compensation) / 20.0)};
}

TandrelLinearGains TandrelComputeLinearGains(const TandrelParameterTable& table) {
    return TandrelComputeLinearGains(table.Value(kTandrelInputGain), table.Value(kTandrelOutputGain),
                                     table.Value(kTandrelTempGain), table.IsOn(kTandrelProcessor1Group),
                                     table.Value(kTandrelRatio1));
}
