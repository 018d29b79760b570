#pragma once
// Helpers of the tests that drive the built TandrelMini file as a VST 2.4 host does: parameters
// found by the names hosts see, host values of the linear scales, product settings switched
// in the plug-in's own state chunk, steady test signals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/render/kiv_parameter_lookup.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

namespace tandrel_mini_test {

// Host values of the linear parameter scales.
inline double Linear(double value, double low, double high) { return (value - low) / (high - low); }
// Thresholds are root amplitudes 0.01 .. 1: the level is the value squared.
inline double Threshold(double decibels) { return Linear(std::sqrt(std::pow(10.0, decibels / 20.0)), 0.01, 1.0); }
inline double RatioCode(double code) { return Linear(code, -1.0, 20.0); }

// By its full name "name (group)", its host name ("P1 Threshold") or a prefix of one only it
// has, as tandrel-render finds it.
inline int32_t ParameterIndex(KivVst2Plugin& plugin, const std::string& name) {
    return KivParameterLookup::FindIndex(plugin, name);
}

inline void Set(KivVst2Plugin& plugin, const std::string& name, double hostValue) {
    plugin.SetParameter(ParameterIndex(plugin, name), static_cast<float>(hostValue));
}

// Sets product settings (attributes of the plug-in's own chunk) to 1 or 0.
inline void SetInState(KivVst2Plugin& plugin, const std::vector<const char*>& flags, bool on = true) {
    if (flags.empty()) return;
    const std::vector<uint8_t> chunk = plugin.GetChunk();
    std::string text(chunk.begin(), chunk.end());
    for (const char* flag : flags) {
        const std::string from = std::string(flag) + (on ? "=\"0\"" : "=\"1\"");
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << flag << " not in the state";
        text.replace(at, from.size(), std::string(flag) + (on ? "=\"1\"" : "=\"0\""));
    }
    ASSERT_TRUE(plugin.SetChunk(std::vector<uint8_t>(text.begin(), text.end())));
}

// Gives an attribute of the plug-in's own chunk a new value.
inline void SetAttributeInState(KivVst2Plugin& plugin, const std::string& key, const std::string& value) {
    const std::vector<uint8_t> chunk = plugin.GetChunk();
    std::string text(chunk.begin(), chunk.end());
    const size_t at = text.find(" " + key + "=\"");
    ASSERT_NE(at, std::string::npos) << key << " not in the state";
    const size_t start = at + key.size() + 3;
    const size_t end = text.find('"', start);
    text.replace(start, end - start, value);
    ASSERT_TRUE(plugin.SetChunk(std::vector<uint8_t>(text.begin(), text.end())));
}

inline double Amplitude(double decibels) { return decibels <= -140.0 ? 0.0 : std::pow(10.0, decibels / 20.0); }
inline double Decibels(double level) { return level > 0.0 ? 20.0 * std::log10(level) : -1000.0; }

}  // namespace tandrel_mini_test
