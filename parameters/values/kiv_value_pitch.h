#pragma once
#include "parameters/values/kiv_value_number.h"

// A pitch number shown and read through its format, kept as a class of its own so that GUI
// descriptions can name it.
class KivValuePitch : public KivValueDouble {
public:
    using KivValueDouble::KivValueDouble;
};
