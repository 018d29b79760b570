// Any bytes given to a plug-in as its state: nothing may crash, hang or leak, and a document
// that does not load must leave the state exactly as it was.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/kiv_exception.h"
#include "plugin/state/kiv_state_document.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"

namespace {

std::string Saved(KivAudioPlugin& plugin) {
    const KivByteBuffer bytes = KivStateDocument::Save(plugin);
    return std::string(reinterpret_cast<const char*>(bytes.Data()), static_cast<size_t>(bytes.Size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static UnityGainPlugin* unity = new UnityGainPlugin();
    if (size > 65536) return 0;
    KivAudioPlugin& plugin = unity->plugin;
    const std::string before = Saved(plugin);
    try {
        KivStateDocument::Load(plugin, data, static_cast<int32_t>(size));
    } catch (const KivException&) {
        if (Saved(plugin) != before) std::abort();
    }
    return 0;
}
