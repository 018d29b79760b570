#include "tools/render/kiv_parameter_lookup.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <set>
#include <stdexcept>
#include <vector>

#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

constexpr int32_t kScanSteps = 200;
constexpr int32_t kBisections = 40;

std::string Normalized(const std::string& text) {
    std::string result;
    for (unsigned char c : text)
        if (!std::isspace(c)) result += static_cast<char>(std::tolower(c));
    return result;
}

std::optional<double> LeadingNumber(const std::string& text) {
    const char* start = text.c_str();
    while (*start == ' ') ++start;
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    if (end == start || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string DisplayAt(KivVst2Plugin& plugin, int32_t index, float value) {
    plugin.SetParameter(index, value);
    return plugin.ParameterDisplay(index);
}

std::optional<float> AskPlugin(KivVst2Plugin& plugin, int32_t index, const std::string& text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.resize(std::max<size_t>(buffer.size() + 1, 256), '\0');
    if (plugin.Dispatch(effString2Parameter, index, 0, buffer.data()) == 0) return std::nullopt;
    return plugin.GetParameter(index);
}

std::optional<float> FindByText(KivVst2Plugin& plugin, int32_t index, const std::string& text) {
    const std::string wanted = Normalized(text);
    for (int32_t step = 0; step <= kScanSteps; ++step) {
        const float value = static_cast<float>(step) / kScanSteps;
        if (Normalized(DisplayAt(plugin, index, value)) == wanted) return value;
    }
    return std::nullopt;
}

std::optional<float> FindByNumber(KivVst2Plugin& plugin, int32_t index, double wanted) {
    const std::optional<double> low = LeadingNumber(DisplayAt(plugin, index, 0.0f));
    const std::optional<double> high = LeadingNumber(DisplayAt(plugin, index, 1.0f));
    if (!low || !high || *low == *high) return std::nullopt;
    const bool rising = *high > *low;
    if (wanted < std::min(*low, *high) || wanted > std::max(*low, *high)) return std::nullopt;
    float below = 0.0f, above = 1.0f;
    for (int32_t i = 0; i < kBisections; ++i) {
        const float middle = 0.5f * (below + above);
        const std::optional<double> shown = LeadingNumber(DisplayAt(plugin, index, middle));
        if (!shown) return std::nullopt;
        if ((*shown < wanted) == rising) below = middle;
        else above = middle;
    }
    return above;
}

// The middle of the run of host values that show the same text as `value`: "-6.00 dB" covers
// -6.005 to -5.995 dB, and its middle is the -6 dB the user meant.
float CentreOfDisplay(KivVst2Plugin& plugin, int32_t index, float value) {
    const std::string shown = DisplayAt(plugin, index, value);
    // A run that reaches an end of the range means that end (the minimum or the maximum).
    if (DisplayAt(plugin, index, 0.0f) == shown) return 0.0f;
    if (DisplayAt(plugin, index, 1.0f) == shown) return 1.0f;
    float lowOutside = 0.0f, lowInside = value, highInside = value, highOutside = 1.0f;
    for (int32_t i = 0; i < kBisections; ++i) {
        const float low = 0.5f * (lowOutside + lowInside);
        (DisplayAt(plugin, index, low) == shown ? lowInside : lowOutside) = low;
        const float high = 0.5f * (highInside + highOutside);
        (DisplayAt(plugin, index, high) == shown ? highInside : highOutside) = high;
    }
    return 0.5f * (lowInside + highInside);
}

}  // namespace

namespace KivParameterLookup {

std::string FullName(KivVst2Plugin& plugin, int32_t index) {
    VstParameterProperties properties{};
    if (plugin.Dispatch(effGetParameterProperties, index, 0, &properties) == 0) return plugin.ParameterName(index);
    properties.label[sizeof(properties.label) - 1] = '\0';
    return properties.label[0] ? properties.label : plugin.ParameterName(index);
}

int32_t FindIndex(KivVst2Plugin& plugin, const std::string& name) {
    const std::string wanted = Normalized(name);
    if (wanted.empty()) throw std::runtime_error("no parameter named \"\"");
    std::set<int32_t> starting;
    for (int32_t index = 0; index < plugin.NumParams(); ++index) {
        for (const std::string& known : {Normalized(plugin.ParameterName(index)), Normalized(FullName(plugin, index))}) {
            if (known == wanted) return index;
            if (known.compare(0, wanted.size(), wanted) == 0) starting.insert(index);
        }
    }
    if (starting.size() == 1) return *starting.begin();
    if (starting.empty()) throw std::runtime_error("no parameter named \"" + name + "\"");
    std::string candidates;
    for (int32_t index : starting) candidates += "\n  " + FullName(plugin, index);
    throw std::runtime_error("\"" + name + "\" begins the names of several parameters:" + candidates);
}

float ValueForDisplay(KivVst2Plugin& plugin, int32_t index, const std::string& text) {
    std::optional<float> value = AskPlugin(plugin, index, text);
    if (!value) value = FindByText(plugin, index, text);
    if (!value) {
        if (const std::optional<double> number = LeadingNumber(text)) value = FindByNumber(plugin, index, *number);
        if (value) value = CentreOfDisplay(plugin, index, *value);
    }
    if (!value) throw std::runtime_error("parameter " + plugin.ParameterName(index) + " cannot show \"" + text + "\"");
    plugin.SetParameter(index, *value);
    return *value;
}

}  // namespace KivParameterLookup
