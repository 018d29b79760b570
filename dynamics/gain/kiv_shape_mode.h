#pragma once
#include <cstdint>

// The domain in which the transfer shape is interpolated between its points. Logarithmic
// follows the breakpoints in decibels exactly; Linear bends every segment most and needs no
// transcendental function per sample; Squared lies between.
enum KivShapeMode : int32_t { kKivShapeLinear = 0, kKivShapeSquared = 1, kKivShapeLogarithmic = 2 };
inline constexpr int32_t kKivShapeModeCount = 3;
