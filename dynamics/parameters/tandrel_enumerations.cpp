#include "dynamics/parameters/tandrel_enumerations.h"

const char* const kTandrelShapeModeTexts[kTandrelShapeModeCount] = {"Linear", "Squared", "Logarithmic"};
const char* const kTandrelSideChainTexts[kTandrelSideChainCount] = {"Internal", "External"};

const char* const kTandrelReleaseModeTexts[kTandrelReleaseModeCount] = {
    "Manual", "Automatic", "Automatic fast", "Linear 1", "Linear 2", "Opto"};
