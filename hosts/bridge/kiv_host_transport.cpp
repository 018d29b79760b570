#include "hosts/bridge/kiv_host_transport.h"

#include <algorithm>
#include <cmath>

namespace {

// Further than this between two blocks is a relocation.
constexpr double kJumpBeats = 2.0;
constexpr double kCycleTolerance = 1e-20;

double RoundHalfUp(double value) { return std::floor(value + 0.5); }

double BarStart(double barPosition, int32_t denominator) {
    const double unitsPerQuarter = std::max(1, denominator / 4);
    return RoundHalfUp(unitsPerQuarter * barPosition) / unitsPerQuarter;
}

void ApplyCycle(const KivHostTime& time, KivTransport& transport) {
    const bool active = time.cycleActive && time.cycleEnd - time.cycleStart > kCycleTolerance;
    transport.cycleStart = active ? time.cycleStart : -1.0;
    transport.cycleEnd = active ? time.cycleEnd : -1.0;
}

void ApplyPlaying(const KivHostTime& time, KivTransport& transport, double lastPosition) {
    const bool wasPlaying = transport.playing;
    transport.positionJumped = false;
    if (!time.playing) transport.playing = false;
    else if (std::fabs(transport.songPosition - lastPosition) > kJumpBeats) transport.positionJumped = true;
    else transport.playing = true;
    transport.playingChanged = transport.playing != wasPlaying;
}

}  // namespace

void KivApplyHostTime(const KivHostTime& time, KivTransport& transport, double& lastPosition) noexcept {
    if (time.hasTempo) transport.tempo = time.tempo;
    if (time.hasPosition) transport.songPosition = time.position;
    if (time.hasTimeSignature) {
        transport.timeSignatureNumerator = time.timeSignatureNumerator;
        transport.timeSignatureDenominator = time.timeSignatureDenominator;
    }
    if (time.hasBarStart) transport.barStartPosition = BarStart(time.barStart, transport.timeSignatureDenominator);
    ApplyCycle(time, transport);
    ApplyPlaying(time, transport, lastPosition);
    lastPosition = transport.songPosition;
}
