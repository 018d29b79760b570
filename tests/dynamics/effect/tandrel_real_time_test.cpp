#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "plugin/kiv_channel_mode.h"
#include "tests/dynamics/processing/tandrel_rig.h"
#include "tests/dynamics/processing/tandrel_silent_meter_view.h"
#include "tests/plugin/state/state_test_support.h"
#include "threads/kiv_thread_role.h"

#include "tests/support/kiv_allocation_counting.h"

using KivAllocationCounting::allocations;
using KivAllocationCounting::counting;

namespace {

void ProcessBlock(TandrelRig& rig, int32_t frames) {
    float* inputs[2] = {rig.in[0].data(), rig.in[1].data()};
    float* outputs[2] = {rig.out[0].data(), rig.out[1].data()};
    rig.plugin.ProcessAudio(inputs, outputs, frames, true);
}

// Blocks go on until the automation update thread has handed over a setup made after
// `before` setups; a count, not a clock, bounds the wait.
bool ProcessUntilInstalled(TandrelRig& rig, int64_t before) {
    for (int32_t block = 0; block < 2000000; ++block) {
        ProcessBlock(rig, 64);
        if (rig.effect().GetInstalledSetups() > before) return true;
        std::this_thread::yield();
    }
    return false;
}

// Deterministic stand-in for random values: the same sequence on every run.
double NextValue(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / 16777216.0;
}

}  // namespace

// Host automation inside blocks, as a VST 3 host delivers it: every parameter moved, among
// them the thresholds and ratios that rebuild the transfer shape, the RMS length that resizes
// the true RMS rings, the look-ahead that resizes the delay queues and the channel mode that
// changes the channels processed. The audio thread
// allocates nothing; the setups prepared by the automation update thread still arrive, and the
// look-ahead the host is told is the one set last (0.5 normalised on the fourth-power curve
// over 0..1 s: 0.0625 s, 3000 samples at 48 kHz).
TEST(TandrelRealTime, AutomationInsideBlocksAllocatesNothingOnTheAudioThread) {
    KivAllocationCounting::CountingMemoryTable memory;
    TandrelRig rig(48000, 512);
    TandrelSilentMeterView view;
    rig.effect().AttachEditor(&view);
    for (auto& channel : rig.in) {
        for (int32_t i = 0; i < 512; ++i) channel[i] = 0.5f * static_cast<float>((i % 37) - 18) / 18.0f;
    }
    ProcessBlock(rig, 512);  // the first block may allocate

    const int32_t count = rig.plugin.GetParameterCount();
    const int32_t lookAhead = [&] {
        for (int32_t index = 0; index < count; ++index) {
            if (rig.plugin.GetParameterName(index).Find(KivString("Look-ahead")) >= 0) return index;
        }
        return -1;
    }();
    ASSERT_GE(lookAhead, 0);
    const int64_t installedBefore = rig.effect().GetInstalledSetups();
    KivThreadRole::ResetRecords();
    uint32_t random = 7;
    allocations = 0;
    counting = true;
    for (int32_t round = 0; round < 3; ++round) {
        for (int32_t index = 0; index < count; ++index) {
            {
                KivThreadRole::AudioScope audioThread;
                rig.plugin.SetParameter(index, NextValue(random), false);
            }
            ProcessBlock(rig, 512);
        }
    }
    {
        KivThreadRole::AudioScope audioThread;
        rig.plugin.SetParameter(rig.plugin.GetChannelModeParameterIndex(), 0.5, false);  // "Mid"
        rig.plugin.SetParameter(lookAhead, 0.5, false);
    }
    const int64_t installedAfterChanges = rig.effect().GetInstalledSetups();
    const bool arrived = ProcessUntilInstalled(rig, installedAfterChanges);
    // The last change may have been prepared with an earlier request: wait once more when
    // the look-ahead is not there yet.
    if (arrived && rig.plugin.GetLatency() != 3000) ProcessUntilInstalled(rig, rig.effect().GetInstalledSetups());
    // The mode is taken once the output has faded into the delayed input: 10 ms, 8 blocks.
    for (int32_t block = 0; block < 9; ++block) ProcessBlock(rig, 64);
    counting = false;
    rig.effect().DetachEditor();
    EXPECT_EQ(allocations.load(), 0);
    // The drawn shape's points among them: their writes wait in atomics, no lock is taken.
    EXPECT_EQ(KivThreadRole::Violations(), 0) << KivThreadRole::LastRecord();
    EXPECT_EQ(KivThreadRole::Contentions(), 0) << KivThreadRole::LastRecord();
    EXPECT_TRUE(arrived);
    EXPECT_GT(rig.effect().GetInstalledSetups(), installedBefore);
    EXPECT_EQ(rig.plugin.GetLatency(), 3000);
    EXPECT_EQ(rig.plugin.GetPlayingChannelMode(), kKivChannelModeMid);
}

// Another host thread saving and loading the state, moving parameters, switching preset slots
// and refreshing the editor while the audio thread plays 64-frame blocks and automates a point
// of the drawn shape before each: the audio thread never finds a lock held and never reaches
// code that is not its own.
TEST(TandrelRealTime, LoadsOnOtherThreadsNeverHoldUpTheAudioThread) {
    TandrelRig rig(48000, 64);
    TandrelSilentMeterView view;
    rig.effect().AttachEditor(&view);
    int32_t point = -1;
    for (int32_t index = 0; index < rig.plugin.GetParameterCount() && point < 0; ++index) {
        if (rig.plugin.GetParameterName(index).Find(KivString("Point 2 Y")) >= 0) point = index;
    }
    ASSERT_GE(point, 0);
    KivThreadRole::ResetRecords();
    std::atomic<bool> playing{true};
    std::atomic<int64_t> blocks{0};
    std::thread audio([&] {
        uint32_t automation = 3;
        while (playing.load()) {
            {
                KivThreadRole::AudioScope audioThread;
                rig.plugin.SetParameter(point, NextValue(automation), false);
                rig.plugin.GetParameter(point);
            }
            ProcessBlock(rig, 64);
            blocks.fetch_add(1);
        }
    });
    // On a busy machine the audio thread may not start before the loads are over.
    while (blocks.load() == 0) std::this_thread::yield();
    uint32_t random = 11;
    const int32_t count = rig.plugin.GetParameterCount();
    for (int32_t round = 0; round < 40; ++round) {
        const std::string chunk = SaveChunk(rig.plugin);
        EXPECT_TRUE(LoadChunk(rig.plugin, chunk));
        for (int32_t change = 0; change < 10; ++change) {
            const auto index = static_cast<int32_t>(NextValue(random) * count);
            rig.plugin.SetParameter(index, NextValue(random), false);
            // The channel mode as well, which every host can automate and the editor's menu sets.
            rig.plugin.SetParameter(rig.plugin.GetChannelModeParameterIndex(), NextValue(random), false);
        }
        rig.plugin.GetPresetSlots().Select(round % 3);
        rig.plugin.OnChangePreset();
        rig.effect().ProcessUpdate();
    }
    playing.store(false);
    audio.join();
    rig.effect().DetachEditor();
    EXPECT_GT(blocks.load(), 0);
    EXPECT_EQ(KivThreadRole::Contentions(), 0) << KivThreadRole::LastRecord();
    EXPECT_EQ(KivThreadRole::Violations(), 0) << KivThreadRole::LastRecord();
}

// The records catch what the test above must never see: the audio thread building a settings
// document (and taking the kernel mutexes on the way), and a block that finds the processing
// lock held by a thread changing the configuration.
TEST(TandrelRealTime, WrongThreadsAndContendedLocksAreRecorded) {
    TandrelRig rig(48000, 64);
    KivThreadRole::ResetRecords();
    {
        KivThreadRole::AudioScope audioThread;
        SaveChunk(rig.plugin);
    }
    EXPECT_GT(KivThreadRole::Violations(), 0);
    EXPECT_EQ(KivThreadRole::Contentions(), 0);

    std::atomic<bool> done{false};
    KivProcessingLock& lock = rig.plugin.GetProcessingMutex();
    ASSERT_EQ(lock.Acquire(), 0);  // a configuration change in progress
    std::thread audio([&] {
        ProcessBlock(rig, 64);
        done.store(true);
    });
    while (KivThreadRole::Contentions() == 0) std::this_thread::yield();
    EXPECT_FALSE(done.load());  // the block waits for the lock
    lock.Release();
    audio.join();
    EXPECT_TRUE(done.load());
}
