#include <gtest/gtest.h>

#include <memory>

#include "tests/plugin/fixtures/stereo_material.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"

namespace {

// A parameter object an editor keeps for its own lifetime: two values of its own.
class EditorValues : public KivAutomationAdapter {
public:
    explicit EditorValues(int32_t& alive) : KivAutomationAdapter(2, nullptr, KivString()), alive_(alive) { ++alive_; }
    ~EditorValues() override { --alive_; }

    void SetParameter(int32_t local, double value, bool) override { values_[local] = value; }
    double GetParameter(int32_t local) const override { return values_[local]; }
    KivString GetParameterName(int32_t local) const override { return local == 0 ? "Zoom" : "Scroll"; }

private:
    int32_t& alive_;
    double values_[2] = {};
};

TEST(TemporaryAutomationAdapters, NumberedAfterThePluginsOwnUntilDestroyed) {
    UnityGainPlugin unity;
    KivKestruneAudioEffectPlugin& plugin = unity.plugin;
    const int32_t own = plugin.GetParameterCount();
    int32_t alive = 0;
    plugin.AddTemporaryAutomationAdapter(std::make_unique<EditorValues>(alive));
    plugin.AddTemporaryAutomationAdapter(std::make_unique<EditorValues>(alive));
    ASSERT_EQ(plugin.GetParameterCount(), own + 4);
    EXPECT_EQ(plugin.GetParameterName(own + 1), KivString("Scroll"));
    plugin.SetParameter(own + 2, 0.5, true);
    EXPECT_EQ(plugin.GetParameter(own + 2), 0.5);
    EXPECT_EQ(plugin.GetParameter(own), 0.0);

    plugin.DestroyTemporaryAutomationAdapters();
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(plugin.GetParameterCount(), own);

    // The plug-in's own gain still ramps over a block of 512 in two sub-blocks of 256:
    // 1 at the start, 1 + (0.25 - 1) / 2 = 0.625 half-way.
    StereoMaterial material(512);
    HostBlock block(2, 512);
    block.Load(material, 0);
    plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), 512, true);
    plugin.SetParameter(0, 0.25, false);
    unity.effect().ForgetCalls();
    plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), 512, true);
    ASSERT_EQ(unity.effect().Calls(), 2);
    EXPECT_FLOAT_EQ(unity.effect().CallGain(0), 1.0f);
    EXPECT_FLOAT_EQ(unity.effect().CallGain(1), 0.625f);
}

}  // namespace
