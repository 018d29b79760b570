#pragma once
#include <cstdint>

#include "dynamics/detector/kiv_dynamics_processor_follower.h"
#include "dynamics/detector/kiv_true_rms_ring.h"
#include "dynamics/gain/kiv_dynamics_gain_stage.h"
#include "dynamics/processing/kiv_envelope_follower_shape.h"

// The sizes of channel memory a setup asks for; -1 when unknown, which makes the next setup
// bring its own. The look-ahead's delay lines are made once for the longest look-ahead.
struct TandrelSetupSizes {
    int32_t trueRmsLength = -1;  // 0: no true RMS ring in use
    int32_t lookAhead = -1;
};

// Everything applying the parameters decides for the signal path, made complete off the audio
// thread (coefficients, filter designs, compiled transfer and custom shapes, and the channel
// memory whose size changes) so that the audio thread only has to install it between two
// blocks, which neither allocates nor waits.
struct TandrelPipelineSetup {
    static constexpr int32_t kChannels = KivDynamicsProcessorFollower::kChannelCount;

    TandrelPipelineSetup() { follower.SetCustomShapes(&customAttack, &customRelease); }
    TandrelPipelineSetup(const TandrelPipelineSetup&) = delete;
    TandrelPipelineSetup& operator=(const TandrelPipelineSetup&) = delete;

    KivDynamicsProcessorFollower follower;
    KivDynamicsGainStage gainStage;
    KivEnvelopeFollowerShape customAttack;
    KivEnvelopeFollowerShape customRelease;
    bool gainOnly = false;
    // "Side-chain" is External: the detector follows the side-chain whenever one is present.
    bool keysOnSideChain = false;
    double gainOnlyFactor = 1.0;
    // The switches that change the gain path as a whole (see TandrelProcessingSetup): a setup
    // whose switches differ from the one it replaces is faded in over it.
    uint32_t pathSwitches = 0;
    TandrelSetupSizes sizes;
    // Made only when the size differs from the setup the audio thread will leave; installing
    // swaps them into the channels, and the memory they replace leaves with this setup.
    bool hasRings = false;
    KivTrueRmsRing rings[kChannels];
    // The channels start again from silence when it is installed (new settings loaded).
    bool resetChannels = false;
    // Links setups the audio thread has left, for the preparing side to free.
    TandrelPipelineSetup* nextRetired = nullptr;
};
