#pragma once
#include "hosts/vst2/vst2_abi.h"
#include "plugin/kiv_transport.h"

// Carries a host's VstTimeInfo into the plug-in's transport. `lastPosition` is the song
// position of the previous block: a move of more than 2 beats while playing counts as a
// jump, not as playing on.
namespace KivVstTransportUpdate {

// The fields a plug-in asks the host for.
constexpr int32_t kRequestedFields =
    kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;

void Apply(const VstTimeInfo& info, KivTransport& transport, double& lastPosition) noexcept;

}  // namespace KivVstTransportUpdate
