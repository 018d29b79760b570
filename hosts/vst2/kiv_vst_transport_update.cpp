#include "hosts/vst2/kiv_vst_transport_update.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kJumpBeats = 2.0;
constexpr double kCycleTolerance = 1e-20;

double RoundHalfUp(double value) { return std::floor(value + 0.5); }

// Bar starts are kept on the grid of the time signature's beat unit.
double BarStart(double barStartPosition, int32_t denominator) {
    const double unitsPerQuarter = std::max(1, denominator / 4);
    return RoundHalfUp(unitsPerQuarter * barStartPosition) / unitsPerQuarter;
}

void ApplyCycle(const VstTimeInfo& info, KivTransport& transport) {
    const bool valid = info.cycleEndPos - info.cycleStartPos > kCycleTolerance;
    transport.cycleStart = valid ? info.cycleStartPos : -1.0;
    transport.cycleEnd = valid ? info.cycleEndPos : -1.0;
}

void ApplyPlaying(const VstTimeInfo& info, KivTransport& transport, double lastPosition) {
    const bool wasPlaying = transport.playing;
    transport.positionJumped = false;
    if (!(info.flags & kVstTransportPlaying)) transport.playing = false;
    else if (std::fabs(info.ppqPos - lastPosition) > kJumpBeats) transport.positionJumped = true;
    else transport.playing = true;
    transport.playingChanged = transport.playing != wasPlaying;
}

}  // namespace

namespace KivVstTransportUpdate {

void Apply(const VstTimeInfo& info, KivTransport& transport, double& lastPosition) noexcept {
    transport.songPosition = info.ppqPos;
    transport.tempo = info.tempo;
    transport.timeSignatureNumerator = info.timeSigNumerator;
    transport.timeSignatureDenominator = info.timeSigDenominator;
    transport.barStartPosition = BarStart(info.barStartPos, info.timeSigDenominator);
    ApplyCycle(info, transport);
    ApplyPlaying(info, transport, lastPosition);
    lastPosition = info.ppqPos;
}

}  // namespace KivVstTransportUpdate
