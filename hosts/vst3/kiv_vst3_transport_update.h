#pragma once
#include "hosts/vst3/interfaces/iprocesscontext.h"
#include "plugin/kiv_transport.h"

// Takes a VST 3 host's process context over into the plug-in's transport: only the fields
// the host marks valid, cycle points -1 without an active cycle, and a position that jumped
// reported as a relocation rather than as continuous play.
namespace KivVst3TransportUpdate {

// `lastPosition`: the position of the previous update, replaced by this one's.
void Apply(const Steinberg::Vst::ProcessContext& context, KivTransport& transport, double& lastPosition) noexcept;

}  // namespace KivVst3TransportUpdate
