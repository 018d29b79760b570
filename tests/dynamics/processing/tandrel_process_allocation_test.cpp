#include <gtest/gtest.h>

#include <limits>

#include "tests/dynamics/processing/tandrel_rig.h"
#include "tests/dynamics/processing/tandrel_silent_meter_view.h"

#include "tests/support/kiv_allocation_counting.h"

using KivAllocationCounting::allocations;
using KivAllocationCounting::counting;

namespace {

class TandrelAllocationTest : public ::testing::TestWithParam<int32_t> {
protected:
    KivAllocationCounting::CountingMemoryTable memory_;
};

}  // namespace

// Once a block of a size has been processed, nothing allocates: not with music, silence,
// denormals or broken samples, not with the meters running and published, in any shape
// mode, with look-ahead, linked or not.
TEST_P(TandrelAllocationTest, SteadyProcessingAllocatesNothing) {
    TandrelRig rig(48000, 512);
    rig.SetItem(kTandrelShapeMode, GetParam());
    rig.Compressor(-20.0, 4.0);
    rig.Set(kTandrelLookAhead, 0.005);
    rig.Set(kTandrelLinkChannels, GetParam() == 1 ? 0.5 : 1.0);
    TandrelSilentMeterView view;
    rig.effect().AttachEditor(&view);
    const float broken = std::numeric_limits<float>::quiet_NaN();
    const auto blocks = [&] {
        rig.Run(4096, [](int32_t i) { return 0.8f * static_cast<float>(std::sin(0.03 * i)); });
        rig.RunConstant(1024, 0.0f);
        rig.RunConstant(1024, 1e-40f);
        rig.Run(512, [broken](int32_t i) { return i % 7 ? 0.5f : broken; });
        rig.Run(300, [](int32_t i) { return 0.01f * i; });
        rig.effect().ProcessUpdate();
    };
    blocks();  // the first blocks may allocate
    counting = true;
    for (int32_t i = 0; i < 4; ++i) {
        for (int32_t start = 0; start < 512 * 4; start += 512) {
            float* inputs[2] = {rig.in[0].data(), rig.in[1].data()};
            float* outputs[2] = {rig.out[0].data(), rig.out[1].data()};
            rig.in[0][7] = i == 2 ? broken : 0.3f;
            rig.plugin.ProcessAudio(inputs, outputs, 512, true);
            rig.plugin.ProcessAudio(inputs, outputs, 300, true);
        }
        rig.effect().ProcessUpdate();
    }
    counting = false;
    rig.effect().DetachEditor();
    EXPECT_EQ(allocations.load(), 0);
}

INSTANTIATE_TEST_SUITE_P(ShapeModes, TandrelAllocationTest, ::testing::Values(0, 1, 2));
