// Its own program: nothing else may have started the module before.
#include <gtest/gtest.h>

#include "entry/kiv_module_startup.h"
#include "entry/kiv_vst2_entry.h"

namespace {

int32_t versionQuestions = 0;

intptr_t HostWithoutVersion(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    if (opcode == audioMasterVersion) ++versionQuestions;
    return 0;
}

intptr_t Host2400(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

TEST(Vst2Entry, HostWithoutVersionAnswerCreatesNoModuleThenOneWithAnswerDoes) {
    EXPECT_EQ(KivVst2Entry::CreateInstance(&HostWithoutVersion), nullptr);
    EXPECT_EQ(versionQuestions, 1);
    EXPECT_EQ(KivModuleStartup::CurrentModule(), nullptr);

    AEffect* effect = KivVst2Entry::CreateInstance(&Host2400);
    ASSERT_NE(effect, nullptr);
    KivModule* module = KivModuleStartup::CurrentModule();
    EXPECT_NE(module, nullptr);
    AEffect* second = KivVst2Entry::CreateInstance(&Host2400);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(KivModuleStartup::CurrentModule(), module);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(KivModuleStartup::CurrentModule(), module);
    // The last instance to close takes the module with it, on the host's thread.
    second->dispatcher(second, effClose, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(KivModuleStartup::CurrentModule(), nullptr);
}

}  // namespace
