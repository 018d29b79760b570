#pragma once
#include <cstdint>

#include "plugin/kiv_transport.h"

// The host's time information in the terms both plug-in formats share, each field with the
// host's word on whether it holds anything. A VST 2.4 VstTimeInfo and a VST 3 ProcessContext
// are read into it field by field; KivApplyHostTime carries it into the plug-in's transport.
struct KivHostTime {
    bool playing = false;
    bool hasPosition = false;  // song position in quarter notes
    double position = 0.0;
    bool hasTempo = false;
    double tempo = 120.0;
    bool hasBarStart = false;
    double barStart = 0.0;
    bool hasTimeSignature = false;
    int32_t timeSignatureNumerator = 4;
    int32_t timeSignatureDenominator = 4;
    bool cycleActive = false;  // a cycle is set and its points are valid
    double cycleStart = 0.0;
    double cycleEnd = 0.0;
};

// Takes only the fields the host marks valid; the others keep what the transport had. Bar
// starts are kept on the grid of the time signature's beat unit; a cycle without length
// counts as none (cycle points -1). `lastPosition` is the song position of the previous
// update, replaced by this one's: a move of more than 2 beats while playing is a relocation
// (positionJumped), not continuous play.
void KivApplyHostTime(const KivHostTime& time, KivTransport& transport, double& lastPosition) noexcept;
