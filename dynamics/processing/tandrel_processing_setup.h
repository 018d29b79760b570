#pragma once
#include <cstdint>

#include "dynamics/detector/kiv_follower_settings.h"
#include "dynamics/gain/kiv_dynamics_gain_stage.h"
#include "dynamics/gain/tandrel_transfer_shape_choice.h"
#include "dynamics/processing/tandrel_product_settings.h"

class KivEnvelope;
class TandrelParameterTable;

// Everything one application of the parameters hands the pipeline.
struct TandrelProcessingSetup {
    KivFollowerSettings follower;
    KivGainStageSettings gain;
    TandrelShapeKind shapeKind = TandrelShapeKind::kAutomatic;
    double link = 1.0;
    int32_t releaseMode = 0;
    int32_t lookAheadSamples = 0;
    // One bit per switch that changes the transfer shape as a whole: the processors, the gate,
    // maximize, the custom shape, the expander settings (all off: the gain-only path).
    uint32_t switches = 0;
};

// Look-ahead in whole samples, halves rounded up so that 220.5 samples become 221.
int32_t TandrelLookAheadSamples(double seconds, int32_t sampleRate) noexcept;
// The top of the look-ahead parameter's range, in seconds.
inline constexpr double kTandrelLongestLookAhead = 1.0;

// Reads the records (targets while they are being smoothed) and the product settings, and
// builds the transfer shape into the empty `shape`. `drawnShape` is the user's shape, which
// follows the automatic one while the custom shape is off. Allocates: not for steady
// processing.
TandrelProcessingSetup TandrelReadProcessingSetup(const TandrelParameterTable& table,
                                                  const TandrelProductSettings& product, int32_t sampleRate,
                                                  KivEnvelope& drawnShape, KivEnvelope& shape);
