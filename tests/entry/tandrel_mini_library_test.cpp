// The built plug-in file, loaded and entered exactly as a host does: through its exports.
#include <gtest/gtest.h>

#include <string>

#include "entry/kiv_library_initialization.h"
#include "hosts/vst2/vst2_abi.h"
#include "platform/kiv_dynamic_library.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

intptr_t SilentHost(AEffect*, int32_t, int32_t, intptr_t, void*, float) { return 0; }

// The library's own module as another framework library would ask for it: a record without
// memory functions or lock leaves the library's own in place.
void* ModuleOf(KivPlatform::DynamicLibrary& library) {
    using Initialize = void* (*)(KivLibraryInitRecord*);
    auto initialize = reinterpret_cast<Initialize>(library.Symbol("KivLibraryDLLInitialize"));
    KivLibraryInitRecord record{nullptr, nullptr, nullptr};
    return initialize ? initialize(&record) : nullptr;
}

TEST(TandrelMiniLibrary, ExportsEveryEntryPoint) {
    KivPlatform::DynamicLibrary library;
    ASSERT_TRUE(library.Load(KIV_TANDREL_MINI_PATH)) << library.ErrorText();
    for (const char* name : {"VSTPluginMain", "main", "GetPluginFactory", "InitDll", "ExitDll",
                             "KivLibraryDLLInitialize", "TandrelAudioEffectPluginInterface"})
        EXPECT_NE(library.Symbol(name), nullptr) << name;
    // Framework classes stay inside: two plug-ins of the framework must not share them.
    EXPECT_EQ(library.Symbol("_ZN9KivStringD1Ev"), nullptr);
    using Exit = bool (*)();
    EXPECT_TRUE(reinterpret_cast<Exit>(library.Symbol("ExitDll"))());
}

TEST(TandrelMiniLibrary, HostWithoutVersionAnswerGetsNothing) {
    KivPlatform::DynamicLibrary library;
    ASSERT_TRUE(library.Load(KIV_TANDREL_MINI_PATH));
    auto entry = reinterpret_cast<VstPluginMainProc>(library.Symbol("VSTPluginMain"));
    EXPECT_EQ(entry(&SilentHost), nullptr);
    EXPECT_EQ(entry(nullptr), nullptr);
}

TEST(TandrelMiniLibrary, IdentityParametersAndChannels) {
    KivVst2Plugin plugin;
    ASSERT_TRUE(plugin.Load(KIV_TANDREL_MINI_PATH)) << plugin.ErrorText();
    plugin.Open();
    EXPECT_EQ(plugin.EffectName(), "TandrelMini");
    EXPECT_EQ(plugin.ProductString(), "TandrelMini");
    EXPECT_EQ(plugin.VendorString(), "Kestrune");
    EXPECT_EQ(plugin.UniqueId(), VstFourCharCode('K', 'A', 'e', '@'));
    EXPECT_EQ(plugin.Version(), 1);
    EXPECT_EQ(plugin.VendorVersion(), 1);
    EXPECT_EQ(plugin.NumInputs(), 4);  // the main pair and the side-chain pair
    EXPECT_EQ(plugin.NumOutputs(), 2);
    ASSERT_EQ(plugin.NumParams(), 52);  // 29 simple parameters, the custom shape's 20, "Side-chain", "Channel mode", "Bypass"
    EXPECT_EQ(plugin.ParameterName(0), "Input gain");
    EXPECT_EQ(plugin.ParameterDisplay(0), "0.00 dB");
    EXPECT_EQ(plugin.CanDo("bypass"), 1);
    EXPECT_EQ(plugin.CanDo("Bypass"), 0);
    EXPECT_EQ(plugin.CanDo("receiveVstTimeInfo"), 1);
}

TEST(TandrelMiniLibrary, TwoInstancesAreIndependentButShareOneModule) {
    KivPlatform::DynamicLibrary library;
    ASSERT_TRUE(library.Load(KIV_TANDREL_MINI_PATH));
    KivVst2Plugin first, second;
    ASSERT_TRUE(first.Load(KIV_TANDREL_MINI_PATH));
    void* moduleAfterFirst = ModuleOf(library);
    ASSERT_TRUE(second.Load(KIV_TANDREL_MINI_PATH));
    EXPECT_NE(moduleAfterFirst, nullptr);
    EXPECT_EQ(ModuleOf(library), moduleAfterFirst);
    EXPECT_NE(first.Effect(), second.Effect());
    first.SetParameter(0, 1.0f);
    EXPECT_EQ(first.ParameterDisplay(0), "+24.00 dB");
    EXPECT_EQ(second.ParameterDisplay(0), "0.00 dB");
}

TEST(TandrelMiniLibrary, RendersTheGainItShows) {
    KivVst2Plugin plugin;
    ASSERT_TRUE(plugin.Load(KIV_TANDREL_MINI_PATH));
    plugin.Open();
    plugin.SetParameter(0, 0.375f);  // -6 dB over -24..+24
    std::vector<std::vector<float>> inputs(2, std::vector<float>(2000, 0.5f)), outputs;
    plugin.ProcessInBlocks(inputs, outputs, 2000);
    ASSERT_EQ(outputs.size(), 2u);
    // Processor 1 at its default 1:1 keeps the level but for the bend of its 25% knee.
    EXPECT_NEAR(outputs[1][1999], 0.5f * 0.501187f, 0.01f);
}

TEST(TandrelMiniLibrary, EffectInterfaceCreatesEffectsForNullObjects) {
    KivPlatform::DynamicLibrary library;
    ASSERT_TRUE(library.Load(KIV_TANDREL_MINI_PATH));
    using Interface = intptr_t (*)(void*, int32_t, void*);
    auto interface = reinterpret_cast<Interface>(library.Symbol("TandrelAudioEffectPluginInterface"));
    const intptr_t first = interface(nullptr, 7, nullptr);
    const intptr_t second = interface(nullptr, 7, nullptr);
    ASSERT_NE(first, 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(interface(reinterpret_cast<void*>(first), 7, nullptr), first);
    EXPECT_EQ(interface(reinterpret_cast<void*>(first), 2, nullptr), first);  // its interface is itself
    EXPECT_EQ(interface(reinterpret_cast<void*>(first), 50, nullptr), -1);    // no such operation
    interface(reinterpret_cast<void*>(first), 1, nullptr);
    interface(reinterpret_cast<void*>(second), 1, nullptr);
}

}  // namespace
