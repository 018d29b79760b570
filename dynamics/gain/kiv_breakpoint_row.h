#pragma once
#include "base/kiv_list.h"

// Levels at or below this count as silence throughout the transfer shape.
inline constexpr double kKivSilenceDecibels = -140.0;
// A range of 96 dB means "unlimited".
inline constexpr double kKivFullRange = 96.0;
// Ratio-below of a row that is no expander threshold.
inline constexpr double kKivNoRatio = -1.0;

// One breakpoint of the transfer shape while it is built, in decibels.
struct KivBreakpointRow {
    double x;           // input level
    double ratioBelow;  // expansion ratio below an expander threshold; <= 0 elsewhere
    double ratioAbove;  // the segment towards the next row has slope 1 / ratioAbove
    double knee;
    double range;
    double y;  // output level
};

// Two processors, the gate and the rows they insert stay well inside the inline storage,
// so building a shape allocates nothing for its rows.
using KivBreakpointRows = KivList<KivBreakpointRow, 16>;
