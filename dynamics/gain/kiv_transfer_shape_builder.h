#pragma once
#include <cstdint>

#include "dynamics/gain/kiv_dynamics_descriptions.h"

class KivEnvelope;

// Fills the empty `shape` with the transfer shape of the given processors (in their order)
// and of the gate (null when off): x is the input level, y the output level, both linear
// amplitude, from (0, 0) up to `topLevel` dB input. With `extendAbove0dB` a last point at
// +64 dB continues the last segment; without it levels above the top are held at its output.
// Every breakpoint carries the knee as curvature and smoothness; the end points are locked.
// Answers the lowest processor threshold (linear amplitude), 1.7e308 without processors.
double BuildTransferShape(const KivDynamicsProcessorDescription* processors, int32_t count,
                          const KivDynamicsGateDescription* gate, KivEnvelope& shape, double topLevel,
                          bool extendAbove0dB);
