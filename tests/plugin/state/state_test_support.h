#pragma once
#include <cmath>
#include <cstdint>
#include <string>

#include "base/kiv_exception.h"
#include "plugin/state/kiv_state_document.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"

// A host's view of the state: the document's bytes as a string, given back the same way.
inline std::string SaveChunk(KivAudioPlugin& plugin) {
    const KivByteBuffer bytes = KivStateDocument::Save(plugin);
    return std::string(reinterpret_cast<const char*>(bytes.Data()), static_cast<size_t>(bytes.Size()));
}

// What a host sees: true when the plug-in took the document.
inline bool LoadChunk(KivAudioPlugin& plugin, const std::string& text) {
    try {
        KivStateDocument::Load(plugin, text.data(), static_cast<int32_t>(text.size()));
        return true;
    } catch (const KivException&) {
        return false;
    }
}

// Two doubles agree in their first 12 significant digits.
inline bool SameTo12Digits(double a, double b) {
    return std::fabs(a - b) <= 5e-12 * std::fmax(std::fabs(a), std::fabs(b)) + 1e-300;
}
