#include "hosts/bridge/kiv_host_setup.h"

#include <cmath>

namespace KivHostSetup {

int32_t RoundSampleRate(double hostRate) noexcept {
    if (!(hostRate >= kMinimumSampleRate - 0.5) || hostRate > 2147483647.0) return 0;
    return static_cast<int32_t>(std::floor(hostRate + 0.5));
}

KivAudioPlugin::KivEditor* EditorOf(KivAudioPlugin& plugin) {
    return plugin.GetEditor() ? plugin.GetEditor() : plugin.CreateEditor(nullptr);
}

}  // namespace KivHostSetup
