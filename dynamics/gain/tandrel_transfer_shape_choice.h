#pragma once
#include "dynamics/gain/tandrel_shape_sources.h"

class KivEnvelope;

enum class TandrelShapeKind {
    kGainOnly,   // nothing enabled: the audio only gets the gains and the dry/wet
    kAutomatic,  // built from the processors and the gate
    kCustom      // drawn by the user
};

struct TandrelShapeOptions {
    bool customShape = false;         // "EnabledCustomShape"
    bool maximize = false;            // "maximize"
    bool doNotLimitAbove0dB = false;  // "DoNotLimitAbove0dB"
};

struct TandrelChosenShape {
    TandrelShapeKind kind;
    double lowestThreshold;  // linear amplitude, for the detector's automatic release
};

// The level the detector's automatic release measures against when no threshold applies.
inline constexpr double kTandrelDefaultLowestThreshold = 0.3;

// Decides the transfer shape when parameters are applied and fills the empty `shape` with it
// in linear amplitude. `drawnShape` is the user's shape in root-amplitude coordinates: it
// is read when the custom shape is on, reset to the straight line when nothing is enabled,
// and otherwise replaced by the automatic shape, so that switching the custom shape on
// starts from what the user heard and the editor shows it.
TandrelChosenShape TandrelChooseTransferShape(const TandrelShapeSources& sources, const TandrelShapeOptions& options,
                                              KivEnvelope& drawnShape, KivEnvelope& shape);
