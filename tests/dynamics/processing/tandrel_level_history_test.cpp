// The level history's columns: sixty a second whatever the block size, each with the block's
// loudest input and output sample and deepest reduction; nothing for silence; a reader that
// fell behind gets the newest columns; and columns cross from the audio thread to the
// reader whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "dynamics/processing/tandrel_level_history.h"

namespace {

using Column = TandrelLevelHistory::Column;

// Runs `frames` samples of stereo through the history in blocks of `block`: input at `in`,
// output at `out`, with `reduction`.
void Play(TandrelLevelHistory& history, int32_t frames, int32_t block, float in, float out, double reduction) {
    std::vector<float> input(static_cast<size_t>(block), in), output(static_cast<size_t>(block), out);
    const float* inputs[2] = {input.data(), input.data()};
    const float* outputs[2] = {output.data(), output.data()};
    for (int32_t done = 0; done < frames; done += block) {
        const int32_t count = std::min(block, frames - done);
        history.MeasureInput(inputs, 2, count);
        history.MeasureOutput(outputs, 2, count, reduction);
    }
}

TEST(TandrelLevelHistory, SixtyColumnsASecondOfTheLoudestSamplesAndTheDeepestReduction) {
    TandrelLevelHistory history;
    history.SetSampleRate(44100);
    // One second in blocks of 512: 44100 / 735 = 60 columns.
    Play(history, 44100, 512, 0.5f, 0.25f, 0.5);
    EXPECT_EQ(history.ColumnsWritten(), 60);
    std::vector<Column> columns(100);
    ASSERT_EQ(history.Take(columns.data(), 100), 60);
    EXPECT_EQ(columns[59].input, 0.5f);
    EXPECT_EQ(columns[59].output, 0.25f);
    EXPECT_EQ(columns[59].reduction, 0.5f);

    // One loud sample in the right channel makes the column's input; the deepest reduction of
    // the blocks in a column is kept.
    std::vector<float> quiet(735, 0.01f), loud(735, 0.01f), out(735, 0.1f);
    loud[300] = -0.9f;
    const float* inputs[2] = {quiet.data(), loud.data()};
    const float* outputs[2] = {out.data(), out.data()};
    history.MeasureInput(inputs, 2, 400);
    history.MeasureOutput(outputs, 2, 400, 0.25);
    history.MeasureInput(inputs, 2, 335);
    history.MeasureOutput(outputs, 2, 335, 0.75);
    ASSERT_EQ(history.Take(columns.data(), 100), 1);
    EXPECT_EQ(columns[0].input, 0.9f);
    EXPECT_EQ(columns[0].output, 0.1f);
    EXPECT_EQ(columns[0].reduction, 0.25f);

    // Blocks of 4096 keep time: ten of them are 40960 samples, 55 whole columns of 735.
    TandrelLevelHistory longBlocks;
    longBlocks.SetSampleRate(44100);
    Play(longBlocks, 40960, 4096, 0.5f, 0.5f, 1.0);
    EXPECT_EQ(longBlocks.ColumnsWritten(), 55);
    // 48 kHz: columns of 800 samples.
    TandrelLevelHistory at48;
    at48.SetSampleRate(48000);
    Play(at48, 48000, 480, 0.5f, 0.5f, 1.0);
    EXPECT_EQ(at48.ColumnsWritten(), 60);
}

TEST(TandrelLevelHistory, SilenceWritesNothingAndALateReaderGetsTheNewestColumns) {
    TandrelLevelHistory history;
    history.SetSampleRate(44100);
    // -110 dB in and out is silence: ten seconds of it write nothing.
    Play(history, 441000, 512, 3e-6f, 3e-6f, 1.0);
    EXPECT_EQ(history.ColumnsWritten(), 0);
    // -90 dB at the output alone is not.
    Play(history, 735, 735, 0.0f, 3e-5f, 1.0);
    EXPECT_EQ(history.ColumnsWritten(), 1);

    // 2000 columns with their number as the input level, never read: the reader gets the
    // newest, at most half the ring (512) and at most what it asks for.
    TandrelLevelHistory late;
    late.SetSampleRate(44100);
    for (int i = 1; i <= 2000; ++i) Play(late, 735, 735, static_cast<float>(i), 1.0f, 1.0);
    std::vector<Column> columns(TandrelLevelHistory::kCapacity);
    ASSERT_EQ(late.Take(columns.data(), TandrelLevelHistory::kCapacity), TandrelLevelHistory::kCapacity / 2);
    EXPECT_EQ(columns[0].input, 1489.0f);
    EXPECT_EQ(columns[511].input, 2000.0f);
    for (int i = 2001; i <= 2010; ++i) Play(late, 735, 735, static_cast<float>(i), 1.0f, 1.0);
    ASSERT_EQ(late.Take(columns.data(), 4), 4);
    EXPECT_EQ(columns[0].input, 2007.0f);
    EXPECT_EQ(columns[3].input, 2010.0f);
    // Restart forgets what was written.
    Play(late, 735, 735, 5.0f, 1.0f, 1.0);
    late.Restart();
    EXPECT_EQ(late.Take(columns.data(), 4), 0);
}

// A writer thread numbers its columns (input and output both the number) while a reader takes
// them as fast as it can: every column read is whole (its two figures agree) and the numbers
// only grow.
TEST(TandrelLevelHistory, ColumnsCrossFromTheAudioThreadWhole) {
    TandrelLevelHistory history;
    history.SetSampleRate(44100);
    constexpr int kColumns = 20000;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 1; i <= kColumns; ++i) Play(history, 735, 735, static_cast<float>(i), static_cast<float>(i), 1.0);
        done.store(true);
    });
    std::vector<Column> columns(64);
    float last = 0.0f;
    int64_t taken = 0, torn = 0, backwards = 0;
    for (;;) {
        const bool finished = done.load();
        const int32_t count = history.Take(columns.data(), 64);
        for (int32_t i = 0; i < count; ++i) {
            if (columns[i].input != columns[i].output) ++torn;
            if (columns[i].input <= last) ++backwards;
            last = columns[i].input;
        }
        taken += count;
        if (finished && count == 0) break;
    }
    writer.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(backwards, 0);
    EXPECT_EQ(last, static_cast<float>(kColumns));
    EXPECT_GT(taken, 0);
}

}  // namespace
