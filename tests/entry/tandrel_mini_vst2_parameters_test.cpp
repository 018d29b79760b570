// TandrelMini's parameters as a VST 2.4 host sees them through the built library: names that
// fit and can be told apart, the properties with the full name and a category per panel, and
// typed display texts that set the value showing them.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "hosts/vst2/vst2_abi.h"
#include "tests/support/kiv_sanitizer.h"
#include "tools/render/kiv_parameter_lookup.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

// Under ThreadSanitizer a tenth of the values, every one still set from the host's thread
// while the instance's own thread tells the host of it.
constexpr int32_t kSamplesPerParameter = KivSanitizer::kThreads ? 50 : 500;

class TandrelMiniVst2Parameters : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(plugin.Load(KIV_TANDREL_MINI_PATH)) << plugin.ErrorText();
        plugin.Open();
    }
    VstParameterProperties Properties(int32_t index) {
        VstParameterProperties properties{};
        EXPECT_EQ(plugin.Dispatch(effGetParameterProperties, index, 0, &properties), 1) << index;
        return properties;
    }
    int32_t Named(const std::string& name) {
        for (int32_t index = 0; index < plugin.NumParams(); ++index)
            if (plugin.ParameterName(index) == name) return index;
        ADD_FAILURE() << "no parameter named " << name;
        return 0;
    }
    // effString2Parameter with `text`; false when the plug-in refuses it.
    bool Type(int32_t index, const std::string& text) {
        std::vector<char> buffer(text.begin(), text.end());
        buffer.resize(buffer.size() + 1, '\0');
        return plugin.Dispatch(effString2Parameter, index, 0, buffer.data()) == 1;
    }

    KivVst2Plugin plugin;
};

TEST_F(TandrelMiniVst2Parameters, NamesFitWholeAndAreUnique) {
    ASSERT_EQ(plugin.NumParams(), 52);  // 29 simple, 20 shape points, Side-chain, Channel mode, Bypass
    std::set<std::string> names;
    for (int32_t index = 0; index < plugin.NumParams(); ++index) {
        const std::string name = plugin.ParameterName(index);
        EXPECT_LE(name.size(), 24u) << name;
        EXPECT_EQ(name.find('('), std::string::npos) << name;
        EXPECT_TRUE(names.insert(name).second) << "repeated name " << name;
    }
    EXPECT_EQ(plugin.ParameterName(0), "Input gain");
    EXPECT_EQ(plugin.ParameterName(20), "P1 Threshold");
    EXPECT_EQ(plugin.ParameterName(15), "Gate threshold");
    EXPECT_EQ(plugin.ParameterName(29), "Point 1 X");
}

TEST_F(TandrelMiniVst2Parameters, PropertiesGiveFullNamesAndOneCategoryPerPanel) {
    struct Expected {
        const char* label;
        int16_t first;  // first parameter of the category
        int16_t count;
    };
    // Panels in parameter order: 7 general, 7 detection, 5 gate, 5 + 5 processors, 20 points.
    const Expected categories[] = {{"General parameters", 0, 7}, {"Dynamic detection", 7, 7}, {"Gate", 14, 5},
                                   {"Processor 1", 19, 5},       {"Processor 2", 24, 5},      {"Custom shape", 29, 20}};
    int16_t number = 0;
    for (const Expected& category : categories) {
        ++number;
        for (int16_t index = category.first; index < category.first + category.count; ++index) {
            const VstParameterProperties properties = Properties(index);
            EXPECT_TRUE(properties.flags & kVstParameterSupportsDisplayCategory);
            EXPECT_EQ(properties.category, number) << index;
            EXPECT_EQ(properties.numParametersInCategory, category.count) << index;
            EXPECT_STREQ(properties.categoryLabel, category.label) << index;
            EXPECT_FALSE(std::string(properties.shortLabel).empty()) << index;
        }
    }
    EXPECT_STREQ(Properties(20).label, "Threshold (Processor 1)");
    EXPECT_STREQ(Properties(5).label, "Maximize signal strength to 0dB (General parameters)");
    EXPECT_STREQ(Properties(20).shortLabel, "P1 Thr");
    EXPECT_TRUE(Properties(Named("Processor 2")).flags & kVstParameterIsSwitch);
    const VstParameterProperties release = Properties(Named("Release mode"));
    EXPECT_TRUE(release.flags & kVstParameterUsesIntegerMinMax);
    EXPECT_EQ(release.minInteger, 0);
    EXPECT_EQ(release.maxInteger, 5);
    VstParameterProperties untouched{};
    EXPECT_EQ(plugin.Dispatch(effGetParameterProperties, plugin.NumParams(), 0, &untouched), 0);
}

// "Bypass" is the last parameter: a switch that shows On and Off, reads typed text and
// bypasses the audio as the editor's button does. A -60 dB input, below every threshold, with
// +6 dB output gain comes out at 0.001 x 10^(6/20) = 0.0019953 processed and at 0.001 bypassed
// (no look-ahead: the dry side is not delayed).
TEST_F(TandrelMiniVst2Parameters, BypassIsTheLastParameterAndBypassesTheAudio) {
    const int32_t bypass = plugin.NumParams() - 1;
    EXPECT_EQ(plugin.ParameterName(bypass), "Bypass");
    const VstParameterProperties properties = Properties(bypass);
    EXPECT_TRUE(properties.flags & kVstParameterIsSwitch);
    EXPECT_STREQ(properties.label, "Bypass");
    EXPECT_EQ(plugin.ParameterDisplay(bypass), "Off");
    KivParameterLookup::ValueForDisplay(plugin, KivParameterLookup::FindIndex(plugin, "Output gain"), "+6.00 dB");
    const std::vector<std::vector<float>> quiet(2, std::vector<float>(4096, 0.001f));
    std::vector<std::vector<float>> out;
    plugin.ProcessInBlocks(quiet, out, 4096);
    EXPECT_NEAR(out[0].back(), 0.0019953, 1e-6);

    plugin.SetParameter(bypass, 1.0f);
    EXPECT_EQ(plugin.GetParameter(bypass), 1.0f);
    EXPECT_EQ(plugin.ParameterDisplay(bypass), "On");
    plugin.ProcessInBlocks(quiet, out, 4096);
    EXPECT_FLOAT_EQ(out[0].back(), 0.001f);
    EXPECT_FLOAT_EQ(out[1].back(), 0.001f);

    EXPECT_TRUE(Type(bypass, "off"));
    EXPECT_EQ(plugin.GetParameter(bypass), 0.0f);
    EXPECT_FALSE(Type(bypass, "maybe"));
    EXPECT_EQ(plugin.GetParameter(bypass), 0.0f);
}

// Every text a display shows, typed into the host, sets the value that shows it again.
TEST_F(TandrelMiniVst2Parameters, EveryDisplayTextTypedBackShowsItself) {
    int32_t texts = 0;
    for (int32_t index = 0; index < plugin.NumParams(); ++index) {
        for (int32_t step = 0; step <= kSamplesPerParameter; ++step) {
            const float value = static_cast<float>(step) / kSamplesPerParameter;
            plugin.SetParameter(index, value);
            const std::string shown = plugin.ParameterDisplay(index);
            plugin.SetParameter(index, 1.0f - value);
            ++texts;
            ASSERT_TRUE(Type(index, shown)) << plugin.ParameterName(index) << ": " << shown;
            ASSERT_EQ(plugin.ParameterDisplay(index), shown) << plugin.ParameterName(index);
        }
    }
    EXPECT_GT(texts, 40 * kSamplesPerParameter);
    // What the examples of tandrel-render's help show, and text that means nothing.
    const int32_t ratio = Named("P1 Ratio");
    ASSERT_TRUE(Type(ratio, "4.00 : 1"));
    EXPECT_EQ(plugin.ParameterDisplay(ratio), "4.00 : 1");
    // -1 .. 20 in 0..1: 4 sits at 5/21.
    EXPECT_NEAR(plugin.GetParameter(ratio), 5.0 / 21.0, 1e-6);
    ASSERT_TRUE(Type(Named("Gate bottom"), "silence"));
    EXPECT_EQ(plugin.GetParameter(Named("Gate bottom")), 0.0f);
    ASSERT_TRUE(Type(Named("Input gain"), "-6"));
    EXPECT_EQ(plugin.ParameterDisplay(0), "-6.00 dB");
    EXPECT_FALSE(Type(0, "loud please"));
    EXPECT_FALSE(Type(Named("Mode"), "Cubic"));
    EXPECT_EQ(plugin.ParameterDisplay(0), "-6.00 dB");
}

// tandrel-render's --set: names, full names and prefixes that name one parameter, and any
// display text as the value.
TEST_F(TandrelMiniVst2Parameters, RenderToolFindsNamesFullNamesAndUniquePrefixes) {
    using namespace KivParameterLookup;
    EXPECT_EQ(FindIndex(plugin, "P1 Threshold"), 20);
    EXPECT_EQ(FindIndex(plugin, "threshold (processor 1)"), 20);
    EXPECT_EQ(FindIndex(plugin, "Threshold (Processor 1"), 20);  // as hosts once cut it
    EXPECT_EQ(FindIndex(plugin, "p2 thr"), 25);
    EXPECT_EQ(FindIndex(plugin, "Maximize signal"), 5);
    EXPECT_EQ(FindIndex(plugin, "Mode"), 4);
    EXPECT_THROW(FindIndex(plugin, "Threshold"), std::runtime_error);  // gate, P1, P2
    EXPECT_THROW(FindIndex(plugin, "Loudness"), std::runtime_error);
    EXPECT_EQ(FullName(plugin, 0), "Input gain (General parameters)");
    ValueForDisplay(plugin, FindIndex(plugin, "Ratio (Processor 2)"), "4.00 : 1");
    EXPECT_EQ(plugin.ParameterDisplay(26), "4.00 : 1");
    ValueForDisplay(plugin, FindIndex(plugin, "Gate bottom"), "silence");
    EXPECT_EQ(plugin.ParameterDisplay(18), "silence");
}

}  // namespace
