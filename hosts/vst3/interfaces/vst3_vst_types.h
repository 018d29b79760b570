#pragma once
#include "hosts/vst3/interfaces/vst3_types.h"

// The audio-specific vocabulary shared by the Steinberg::Vst interfaces.
namespace Steinberg::Vst {

using ParamID = uint32;
using ParamValue = double;
using UnitID = int32;
using ProgramListID = int32;
using MediaType = int32;
using BusDirection = int32;
using BusType = int32;
using IoMode = int32;
using KnobMode = int32;
using CtrlNumber = int16;
using Sample32 = float;
using Sample64 = double;
using SampleRate = double;
using TSamples = int64;
using TQuarterNotes = double;
using Speaker = uint64;
using SpeakerArrangement = uint64;

enum MediaTypes { kAudio = 0, kEvent, kNumMediaTypes };
enum BusDirections { kInput = 0, kOutput };
enum BusTypes { kMain = 0, kAux };
enum IoModes { kSimple = 0, kAdvanced, kOfflineProcessing };
enum ProcessModes { kRealtime = 0, kPrefetch, kOffline };
enum SymbolicSampleSizes { kSample32 = 0, kSample64 };
enum ControllerNumbers { kAfterTouch = 128, kPitchBend = 129, kCountCtrlNumber = 130 };

constexpr UnitID kRootUnitId = 0;
constexpr UnitID kNoParentUnitId = -1;
constexpr ProgramListID kNoProgramListId = -1;
constexpr uint32 kNoTail = 0;

namespace SpeakerArr {
constexpr SpeakerArrangement kEmpty = 0;
constexpr SpeakerArrangement kMono = 1 << 19;  // the centre speaker
constexpr SpeakerArrangement kStereo = (1 << 0) | (1 << 1);
}  // namespace SpeakerArr

// The view type a host asks for to show the plug-in's editor.
namespace ViewType {
constexpr const char* kEditor = "editor";
}

}  // namespace Steinberg::Vst
