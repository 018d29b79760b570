#pragma once

// The user's custom attack or release shape as the detector sees it: a function of the
// distance between signal and envelope whose square sets how much of that distance one
// sample covers. The product binds it to a compiled envelope; the detector only needs the
// value.
class KivFollowerShape {
public:
    virtual ~KivFollowerShape() = default;
    virtual double Value(double distance) noexcept = 0;
};
