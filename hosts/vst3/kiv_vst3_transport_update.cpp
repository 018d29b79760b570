#include "hosts/vst3/kiv_vst3_transport_update.h"

#include <algorithm>
#include <cmath>

using Steinberg::Vst::ProcessContext;

namespace {

// Further than this between two blocks is a relocation, as for VST 2.4 hosts.
constexpr double kJumpBeats = 2.0;

bool Has(const ProcessContext& context, Steinberg::uint32 flag) { return (context.state & flag) != 0; }

double RoundHalfUp(double value) { return std::floor(value + 0.5); }

// Bar starts are kept on the grid of the time signature's beat unit.
double BarStart(double barPosition, int32_t denominator) {
    const double unitsPerQuarter = std::max(1, denominator / 4);
    return RoundHalfUp(unitsPerQuarter * barPosition) / unitsPerQuarter;
}

void ApplyCycle(const ProcessContext& context, KivTransport& transport) {
    const bool active = Has(context, ProcessContext::kCycleActive);
    transport.cycleStart = active ? context.cycleStartMusic : -1.0;
    transport.cycleEnd = active ? context.cycleEndMusic : -1.0;
}

void ApplyPlaying(const ProcessContext& context, KivTransport& transport, double lastPosition) {
    const bool wasPlaying = transport.playing;
    transport.positionJumped = false;
    if (!Has(context, ProcessContext::kPlaying)) transport.playing = false;
    else if (std::fabs(transport.songPosition - lastPosition) > kJumpBeats) transport.positionJumped = true;
    else transport.playing = true;
    transport.playingChanged = transport.playing != wasPlaying;
}

}  // namespace

namespace KivVst3TransportUpdate {

void Apply(const ProcessContext& context, KivTransport& transport, double& lastPosition) noexcept {
    if (Has(context, ProcessContext::kTempoValid)) transport.tempo = context.tempo;
    if (Has(context, ProcessContext::kProjectTimeMusicValid)) transport.songPosition = context.projectTimeMusic;
    if (Has(context, ProcessContext::kTimeSigValid)) {
        transport.timeSignatureNumerator = context.timeSigNumerator;
        transport.timeSignatureDenominator = context.timeSigDenominator;
    }
    if (Has(context, ProcessContext::kBarPositionValid))
        transport.barStartPosition = BarStart(context.barPositionMusic, transport.timeSignatureDenominator);
    ApplyCycle(context, transport);
    ApplyPlaying(context, transport, lastPosition);
    lastPosition = transport.songPosition;
}

}  // namespace KivVst3TransportUpdate
