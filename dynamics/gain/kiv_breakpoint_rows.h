#pragma once
#include <cstdint>

#include "dynamics/gain/kiv_breakpoint_row.h"
#include "dynamics/gain/kiv_dynamics_descriptions.h"

// The transfer shape in decibels: a row for silence, one per processor threshold, one for
// `topLevel`, then the rows that ranges, expansion, the silence floor and the gate add.
// Answers the lowest processor threshold (linear amplitude), 1.7e308 without processors.
double KivBuildBreakpointRows(const KivDynamicsProcessorDescription* processors, int32_t count,
                              const KivDynamicsGateDescription* gate, double topLevel, KivBreakpointRows& rows);
