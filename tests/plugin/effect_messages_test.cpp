#include <gtest/gtest.h>

#include "base/kiv_exception.h"
#include "plugin/kiv_audio_effect_plugin_host.h"
#include "plugin/kiv_channel_names.h"
#include "plugin/kiv_plugin_system.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"
#include "tests/support/kiv_test_print.h"

namespace {

intptr_t RefusingInterface(void*, int32_t, void*) { return 0; }

TEST(PluginSystemTest, CreatesConnectsAndInitialisesTheEffect) {
    KivPluginSystem system;
    KivAudioEffectPluginHost* host = nullptr;
    ASSERT_EQ(system.CreateEffect("UnityGain", &UnityGainEffectInterface, host), KivPluginSystem::kCreated);
    ASSERT_NE(host, nullptr);
    KivAudioEffectPlugin* effect = host->GetEffect();
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->GetHostObject(), host);
    // The effect reaches its host through the callback it was given.
    EXPECT_EQ(effect->CallHost(0), -1);
    EXPECT_EQ(effect->CallHost(3), 0);  // no handler installed
    EXPECT_EQ(effect->CallHost(8), -1);
    delete host;  // destroys the effect through message 1
}

TEST(PluginSystemTest, ReportsFiveWhenConnectingFails) {
    KivPluginSystem system;
    KivAudioEffectPluginHost* host = nullptr;
    EXPECT_EQ(system.CreateEffect("Nothing", &RefusingInterface, host), KivPluginSystem::kConnectFailed);
    EXPECT_EQ(host, nullptr);
}

TEST(PluginSystemTest, AdapterRaisesWhenTheEffectCannotBeCreated) {
    KivKestruneAudioEffectPlugin plugin;
    try {
        plugin.Initialize("Nothing", "Kestrune", &RefusingInterface);
        FAIL() << "no exception";
    } catch (const KivException& exception) {
        EXPECT_EQ(exception.GetMessage(), KivString("Error creating plugin."));
    }
}

intptr_t CountingHandler(KivAudioEffectPluginHost& host, int32_t message, void* argument) {
    auto* record = static_cast<KivEffectMessageRecord*>(argument);
    host.SetUserData(reinterpret_cast<void*>(static_cast<intptr_t>(message * 100 + record->GetInt32(1))));
    return 1;
}

TEST(EffectMessageTest, MessagesReachTheirOperations) {
    KivAudioEffectPluginHost host(&UnityGainEffectInterface);
    ASSERT_TRUE(host.Connect());
    host.InitializeEffect();
    auto& effect = *static_cast<UnityGainEffect*>(host.GetEffect());
    effect.SetLatency(12);

    KivEffectMessageRecord init;
    init.SetInt32(1, 2);
    init.SetInt32(3, 96000);
    EXPECT_EQ(host.Send(kKivEffectInitProcessing, &init), 0);
    EXPECT_EQ(effect.Channels(), 2);
    EXPECT_EQ(effect.SampleRate(), 96000);
    EXPECT_EQ(effect.Reprepares(), 1);  // 100 re-prepares as well

    EXPECT_EQ(host.Send(kKivEffectGetLatency), 12);
    EXPECT_EQ(host.Send(kKivEffectQuery102), 1);
    EXPECT_EQ(host.Send(kKivEffectQuery105), 0);
    EXPECT_EQ(host.Send(kKivEffectQuery14), -1);
    EXPECT_EQ(host.Send(50), -1);  // between 20 and 100: no operation
    EXPECT_EQ(host.Send(kKivEffectReturnSelf), reinterpret_cast<intptr_t>(host.GetEffect()));

    float in[4] = {1, 2, 3, 4};
    float out[4] = {};
    float* inputs[2] = {in, in};
    float* outputs[2] = {out, out};
    KivProcessingContext context;
    KivEffectMessageRecord process;
    process.SetPointer(1, &context);
    process.SetPointer(3, inputs);
    process.SetPointer(5, outputs);
    process.SetInt32(7, 4);
    EXPECT_EQ(host.Send(kKivEffectProcess, &process), 0);
    EXPECT_EQ(effect.CallLength(0), 4);

    host.SetHandler(3, &CountingHandler);
    KivEffectMessageRecord callback;
    callback.SetInt32(1, 7);
    EXPECT_EQ(effect.CallHost(3, &callback), 1);
    EXPECT_EQ(host.GetUserData(), reinterpret_cast<void*>(307));
}

TEST(EffectMessageTest, FailuresInsideTheInterfaceFunctionAnswerMinusOne) {
    UnityGainPlugin unity;
    unity.effect().FailNextProcess(UnityGainEffect::Failure::kSystem);
    float samples[4] = {};
    float* channels[2] = {samples, samples};
    KivProcessingContext context;
    KivEffectMessageRecord process;
    process.SetPointer(1, &context);
    process.SetPointer(3, channels);
    process.SetPointer(5, channels);
    process.SetInt32(7, 4);
    EXPECT_EQ(UnityGainEffectInterface(&unity.effect(), kKivEffectProcess, &process), -1);
}

TEST(ChannelNamesTest, StereoSideChainAndSurround) {
    EXPECT_EQ(KivChannelNames::Input(0, 1, 2), KivString("In L"));
    EXPECT_EQ(KivChannelNames::Input(1, 1, 2), KivString("In R"));
    EXPECT_EQ(KivChannelNames::Input(2, 2, 2), KivString("Sidechain L"));
    EXPECT_EQ(KivChannelNames::Input(3, 2, 2), KivString("Sidechain R"));
    EXPECT_EQ(KivChannelNames::Input(5, 3, 2), KivString("Sidechain R 2"));
    EXPECT_EQ(KivChannelNames::Output(1, 2), KivString("Out R"));
    EXPECT_EQ(KivChannelNames::Input(3, 1, 8), KivString("In 3"));
    EXPECT_EQ(KivChannelNames::Input(10, 2, 8), KivString("Sidechain 1 2"));
    EXPECT_EQ(KivChannelNames::Output(7, 8), KivString("Out 7"));
}

}  // namespace
