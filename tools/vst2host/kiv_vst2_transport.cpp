#include "tools/vst2host/kiv_vst2_transport.h"

#include <cmath>
#include <cstring>

double KivVst2Transport::QuarterPosition() const {
    return sampleRate > 0.0 ? samplePosition / sampleRate * tempo / 60.0 : 0.0;
}

double KivVst2Transport::BarStartPosition() const {
    const double quartersPerBar = 4.0 * timeSignatureNumerator / timeSignatureDenominator;
    if (quartersPerBar <= 0.0) return 0.0;
    return std::floor(QuarterPosition() / quartersPerBar) * quartersPerBar;
}

void KivVst2Transport::Describe(VstTimeInfo& info) {
    std::memset(&info, 0, sizeof(info));
    info.samplePos = samplePosition;
    info.sampleRate = sampleRate;
    info.ppqPos = QuarterPosition();
    info.tempo = tempo;
    info.barStartPos = BarStartPosition();
    info.timeSigNumerator = timeSignatureNumerator;
    info.timeSigDenominator = timeSignatureDenominator;
    info.flags = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstTimeSigValid;
    if (playing) info.flags |= kVstTransportPlaying;
    if (!described_ || playing != lastDescribedPlaying_) info.flags |= kVstTransportChanged;
    described_ = true;
    lastDescribedPlaying_ = playing;
}
