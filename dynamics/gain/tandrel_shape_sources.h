#pragma once
#include <cstdint>

#include "dynamics/gain/kiv_dynamics_descriptions.h"

class TandrelParameterTable;

// What the automatic transfer shape is built from: the enabled processors in the order
// processor 1, processor 2, and the gate when it is on.
struct TandrelShapeSources {
    KivDynamicsProcessorDescription processors[2];
    int32_t processorCount = 0;
    KivDynamicsGateDescription gate;
    bool gateEnabled = false;

    const KivDynamicsGateDescription* Gate() const noexcept { return gateEnabled ? &gate : nullptr; }
    bool IsEmpty() const noexcept { return processorCount == 0 && !gateEnabled; }
};

// Reads the records: thresholds and the gate bottom are root amplitudes and get squared,
// ratio codes become effective ratios. `expander1` and `expander2` are the product settings
// that turn a processor into an expander.
TandrelShapeSources TandrelDescribeShapeSources(const TandrelParameterTable& table, bool expander1, bool expander2);
