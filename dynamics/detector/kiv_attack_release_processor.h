#pragma once
#include <cstdint>

#include "dynamics/detector/kiv_follower_shape.h"
#include "dynamics/detector/kiv_release_mode.h"
#include "dynamics/parameters/kiv_attack_release_mode.h"

// The part of a channel the envelope loop carries from sample to sample.
struct KivEnvelopeChannel {
    double envelope = 0.0;
    KivReleaseModeChannel release = {0.0, 0.0};
    uint8_t stepCounter = 0;
    // The logarithmic release goes on from the logarithm it left (a release in progress at the
    // end of a block or chunk), not from the logarithm of the rounded envelope, so where the
    // blocks fall never changes a bit of the result. Valid while `envelope` still equals
    // `logarithmOf` (anyone who sets the envelope thereby drops it).
    double logarithm = 0.0;
    double logarithmOf = -1.0;
};

// What the loop needs from the follower for one block.
struct KivEnvelopeContext {
    double attackCoefficient;
    KivFollowerShape* attackShape;
    KivFollowerShape* releaseShape;
    KivReleaseModeUpdate releaseModeUpdate;  // null: the release never changes (Manual)
    const KivReleaseModeBlock* releaseModeBlock;
    // Asks a loop that keeps logarithms anyway (HasLogarithmicRelease) for the envelopes'
    // natural logarithms instead of the envelopes.
    bool logarithmicOutput = false;
};

// Smooths detector values into the envelope with the chosen attack and release shapes. The
// loop is compiled for every attack/release pair, so a sample costs the two inlined steps
// and a comparison, never an indirect call; the release-mode update runs on every 16th
// sample only.
class KivAttackReleaseProcessor {
public:
    using Mode = KivAttackReleaseMode;
    // Replaces values[i] by the envelope after that value and returns the largest envelope
    // of the block (the envelope itself for an empty block).
    using Loop = double (*)(KivEnvelopeChannel& channel, double* values, int32_t count,
                            const KivEnvelopeContext& context);

    void Select(Mode attack, Mode release) noexcept;
    // The selected release keeps the envelope as its logarithm, so the loop can hand out
    // logarithms at little cost.
    bool HasLogarithmicRelease() const noexcept { return logarithmicRelease_; }
    double Run(KivEnvelopeChannel& channel, double* values, int32_t count,
               const KivEnvelopeContext& context) const noexcept {
        return loop_(channel, values, count, context);
    }

private:
    Loop loop_ = nullptr;
    bool logarithmicRelease_ = false;
};
