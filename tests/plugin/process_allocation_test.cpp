#include <gtest/gtest.h>


#include "tests/plugin/fixtures/stereo_material.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"

#include "tests/support/kiv_allocation_counting.h"

using KivAllocationCounting::allocations;
using KivAllocationCounting::counting;

namespace {

class AllocationTest : public ::testing::TestWithParam<int32_t> {
protected:
    KivAllocationCounting::CountingMemoryTable memory_;
};

// After one block at a size, nothing allocates: not with oversampling, not while parameters
// ramp, not in any channel mode, not bypassed.
TEST_P(AllocationTest, SteadyStateProcessingAllocatesNothing) {
    constexpr int32_t kBlock = 512;
    UnityGainPlugin unity(64, kBlock);
    // Made for every mode's channels, the effect takes a new mode's count at a block boundary.
    unity.effect().SetProcessesFewerChannels(true);
    unity.plugin.SetOversampling(GetParam());
    unity.plugin.SetMaxLFOBlockSize(64);
    unity.plugin.InitProcessing();
    StereoMaterial material(kBlock);
    HostBlock block(2, kBlock);
    block.Load(material, 0);
    const auto processBlocks = [&] {
        for (int32_t mode = 0; mode < 7; ++mode) {
            unity.plugin.SetChannelMode(mode);
            unity.plugin.SetParameter(0, (mode % 2) ? 0.2 : 0.9, false);
            unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, true);
            unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock / 2, false);
        }
        unity.plugin.SetBypass(true);
        unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, true);
        unity.plugin.SetBypass(false);
    };
    processBlocks();  // the first blocks may allocate

    allocations = 0;
    counting = true;
    processBlocks();
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_GT(unity.effect().Calls(), 0);
    // Each mode was taken in turn (at a block boundary, the output waiting on the delayed input).
    EXPECT_EQ(unity.plugin.GetPlayingChannelMode(), 6);
    EXPECT_EQ(unity.effect().Channels(), 2);
}

INSTANTIATE_TEST_SUITE_P(Oversampling, AllocationTest, ::testing::Values(1, 2, 4, 8));

// A host that leaves out the right input and output from the first block on: the silence it
// reads and the buffer it writes were made with the others when processing was set up.
// Missing channels, outputs on one buffer and outputs on the other channel's input, replacing
// and adding: the discard buffers and the input copies are ready before the first block.
TEST(AllocationCountingTest, MissingOrSharedChannelsCostNothingFromTheFirstBlock) {
    KivAllocationCounting::CountingMemoryTable memory;
    constexpr int32_t kBlock = 512;
    UnityGainPlugin unity(64, kBlock);
    StereoMaterial material(kBlock);
    HostBlock block(2, kBlock);
    block.Load(material, 0);
    float* inputs[2] = {block.inputs[0], nullptr};
    float* outputs[2] = {block.outputs[0], nullptr};
    float* both[2] = {block.inputs[0], block.inputs[1]};
    float* oneOutput[2] = {block.outputs[0], block.outputs[0]};
    float* crossed[2] = {block.inputs[1], block.inputs[0]};
    allocations = 0;
    counting = true;
    unity.plugin.ProcessAudio(inputs, outputs, kBlock, true);
    unity.plugin.ProcessAudio(both, oneOutput, kBlock, true);
    unity.plugin.ProcessAudio(both, crossed, kBlock, false);
    unity.plugin.SetBypass(true);
    unity.plugin.ProcessAudio(inputs, outputs, kBlock, false);
    unity.plugin.ProcessAudio(both, both, kBlock, false);
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_EQ(unity.effect().Calls(), 5);
}

TEST(AllocationCountingTest, BothRoutesAreCounted) {
    {
        KivAllocationCounting::CountingMemoryTable memory;
        allocations = 0;
        counting = true;
        KivMemory::Free(KivMemory::Allocate(16));
        int* volatile block = new int(1);  // volatile: the pair may not be elided
        delete block;
        counting = false;
    }
    EXPECT_EQ(allocations.load(), 2);
}

}  // namespace
