#pragma once
#include <cstdint>

#include "dynamics/detector/kiv_attack_release_processor.h"
#include "dynamics/detector/kiv_detector_buffer.h"
#include "dynamics/detector/kiv_detector_filter.h"
#include "dynamics/detector/kiv_true_rms_ring.h"

class KivDynamicsProcessorFollower;

// Everything the follower remembers about one channel between blocks.
struct KivFollowerChannelState {
    double rmsAccumulator = 0.0;     // power
    KivEnvelopeChannel envelope;     // envelope, release coefficient, automatic time, step counter
    double blockMaximum = 0.0;
    // Fresh from a reset and nothing but exact silence since: silence leaves such a state
    // exactly as it is (see KivDynamicsProcessorFollower::Follow).
    bool atRest = true;
    KivTrueRmsRing trueRms;
    KivDynamicsProcessorFollower* follower = nullptr;
    double gainReduction = 1.0;      // of the last block, linear
    KivDetectorFilterState filter;
    KivDetectorBuffer<float> scratch;   // the filtered detector signal
    KivDetectorBuffer<double> levels;   // power in, envelope out

    // Room for blocks of `samples`, so that processing them never allocates.
    void Reserve(int32_t samples) {
        scratch.Reserve(static_cast<size_t>(samples));
        levels.Reserve(static_cast<size_t>(samples));
    }
};
