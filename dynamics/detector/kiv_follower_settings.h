#pragma once
#include <cstdint>

#include "dynamics/detector/kiv_release_mode.h"
#include "dynamics/parameters/kiv_attack_release_mode.h"

// Everything the product hands the follower when parameters are applied. The transfer
// shapes of the gain stage travel with the gain computer's own settings.
struct KivFollowerSettings {
    double sampleRate = 44100.0;
    double attack = 0.001;           // s
    double release = 0.01;           // s
    double autoSpeed = 0.1;          // s
    double lowestThreshold = 0.3;    // linear amplitude
    double rmsLength = 0.0;          // s; 0 is a peak detector
    double peakHold = 0.0;           // s
    bool trueRMS = false;            // copied from the follower's stored setting
    KivReleaseMode releaseMode = KivReleaseMode::kManual;
    KivAttackReleaseMode attackShape = KivAttackReleaseMode::kFast;
    KivAttackReleaseMode releaseShape = KivAttackReleaseMode::kFast;
    double dryWet = 1.0;
    double inputGain = 1.0;          // linear
    double outputGain = 1.0;         // linear
    int32_t shapeMode = 0;           // 0 Linear, 1 Squared, 2 Logarithmic
    bool hasSecondShape = true;
};
