#include <vector>

#include "base/kiv_boundary.h"
#include "base/kiv_byte_buffer.h"
#include "plugin/state/kiv_state_document.h"
#include "hosts/vst3/kiv_audio_plugin_vst3_adapter.h"

using namespace Steinberg;

namespace {

constexpr int32 kReadPiece = 65536;

// Everything the host's stream holds from its current position on.
std::vector<uint8_t> ReadWhole(IBStream& stream) {
    std::vector<uint8_t> bytes;
    for (;;) {
        const size_t start = bytes.size();
        bytes.resize(start + kReadPiece);
        int32 read = 0;
        const tresult result = stream.read(bytes.data() + start, kReadPiece, &read);
        bytes.resize(start + static_cast<size_t>(read > 0 ? read : 0));
        if (result != kResultOk || read <= 0) return bytes;
    }
}

}  // namespace

// The plug-in's settings as a UTF-8 XML document, the same bytes a VST 2.4 host keeps as
// the chunk, written in one piece.
tresult KivAudioPluginVST3Adapter::getState(IBStream* state) {
    return KivGuard("KivAudioPluginVST3Adapter::getState", kResultFalse, [&] {
        if (!state) return kInvalidArgument;
        DeliverNotifications();
        const KivByteBuffer document = KivStateDocument::Save(*plugin_);
        int32 written = 0;
        const tresult result = state->write(const_cast<uint8_t*>(document.Data()), document.Size(), &written);
        return result == kResultOk && written == document.Size() ? kResultOk : kResultFalse;
    });
}

tresult KivAudioPluginVST3Adapter::setState(IBStream* state) {
    return KivGuard("KivAudioPluginVST3Adapter::setState", kResultFalse, [&] {
        if (!state) return kInvalidArgument;
        const std::vector<uint8_t> bytes = ReadWhole(*state);
        if (bytes.empty()) return kResultFalse;
        KivStateDocument::Load(*plugin_, bytes.data(), static_cast<int32_t>(bytes.size()));
        SettingsChanged();
        return kResultOk;
    });
}
