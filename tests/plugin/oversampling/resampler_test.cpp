#include "plugin/oversampling/kiv_resampler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <random>
#include <vector>

#include "base/kiv_exception.h"
#include "base/kiv_memory.h"
#include "tests/plugin/oversampling/tone_analysis.h"

namespace {

using ToneAnalysis::Decibels;

constexpr double kBaseRate = 44100.0;
constexpr int kBlock = 512;
constexpr int kSettle = 512;   // base samples skipped before measuring (beyond every latency)
constexpr int kWindow = 4410;  // 0.1 s: whole cycles of every multiple of 10 Hz

struct Setting {
    int factor;
    bool high;
    KivResamplerSlope slope;
    double stopBandDb() const { return high ? 90.0 : 60.0; }
    // The top of the band that must stay flat and free of aliases, in Hz.
    double passEdge() const { return slope == KivResamplerSlope::kSteep ? 19900.0 : 17600.0; }
};

std::vector<Setting> AllOversamplingSettings() {
    std::vector<Setting> settings;
    for (int factor : {2, 4, 8}) {
        for (bool high : {true, false}) {
            for (auto slope : {KivResamplerSlope::kSteep, KivResamplerSlope::kGentle}) {
                settings.push_back({factor, high, slope});
            }
        }
    }
    return settings;
}

void Configure(KivResampler& resampler, const Setting& setting) {
    resampler.Prepare(kBlock);
    resampler.SetFactor(setting.factor);
    resampler.SetQuality(setting.high);
    resampler.SetSlope(setting.slope);
}

std::string Describe(const Setting& s) {
    return "factor " + std::to_string(s.factor) + (s.high ? " high" : " low") +
           (s.slope == KivResamplerSlope::kSteep ? " steep" : " gentle");
}

// Up, an identity in place of the effect, and down again, in blocks of `block` samples.
std::vector<float> RoundTrip(KivResampler& resampler, const std::vector<float>& input, int block) {
    std::vector<float> output(input.size());
    for (size_t start = 0; start < input.size(); start += block) {
        const int n = static_cast<int>(std::min<size_t>(block, input.size() - start));
        resampler.Upsample(input.data() + start, n);
        const int oversampled = n * resampler.GetFactor();
        std::memcpy(resampler.GetOutputBuffer(), resampler.GetInputBuffer(), sizeof(float) * oversampled);
        resampler.Downsample(output.data() + start, n, false);
    }
    return output;
}

std::vector<float> BaseTone(double hertz, int count) {
    std::vector<float> tone(count);
    for (int i = 0; i < count; ++i) tone[i] = ToneAnalysis::ToneSample(hertz / kBaseRate, i);
    return tone;
}

std::vector<float> Noise(int count, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> noise(count);
    for (float& sample : noise) sample = uniform(generator);
    return noise;
}

TEST(KivResamplerTest, RoundTripKeepsPassBandTonesAndDelaysThemByTheLatency) {
    for (const Setting& setting : AllOversamplingSettings()) {
        for (double hertz : {1000.0, setting.passEdge()}) {
            SCOPED_TRACE(Describe(setting) + ", " + std::to_string(hertz) + " Hz");
            KivResampler resampler;
            Configure(resampler, setting);
            const std::vector<float> input = BaseTone(hertz, kSettle + kWindow);
            const std::vector<float> output = RoundTrip(resampler, input, kBlock);
            const int latency = resampler.GetLatency();
            const double frequency = hertz / kBaseRate;
            const auto returned = ToneAnalysis::Component(output.data() + kSettle, kWindow, frequency);
            const auto expected = ToneAnalysis::Component(input.data() + kSettle - latency, kWindow, frequency);
            EXPECT_LT(std::abs(Decibels(std::abs(returned) / std::abs(expected))), 0.1);
            EXPECT_LT(std::abs(std::arg(returned / expected)), 1e-4);  // one sample off is 0.14 rad at 1 kHz
        }
    }
}

TEST(KivResamplerTest, ImpulseResponseIsSymmetricAboutTheLatencyAndZeroOutside) {
    for (const Setting& setting : AllOversamplingSettings()) {
        SCOPED_TRACE(Describe(setting));
        KivResampler resampler;
        Configure(resampler, setting);
        const int at = 100;
        std::vector<float> input(1024, 0.0f);
        input[at] = 1.0f;
        const std::vector<float> output = RoundTrip(resampler, input, 37);
        const int centre = at + resampler.GetLatency();
        const auto peak = std::max_element(output.begin(), output.end(),
                                           [](float a, float b) { return std::abs(a) < std::abs(b); });
        EXPECT_EQ(peak - output.begin(), centre);
        for (int m = 1; m <= resampler.GetLatency(); ++m) {
            ASSERT_NEAR(output[centre + m], output[centre - m], 1e-6) << "at distance " << m;
        }
        for (int i = 0; i < static_cast<int>(output.size()); ++i) {
            if (std::abs(i - centre) > resampler.GetLatency()) {
                ASSERT_EQ(output[i], 0.0f) << "at " << i;
            }
        }
    }
}

TEST(KivResamplerTest, UpsampledTonesHaveNoAudibleImages) {
    for (const Setting& setting : AllOversamplingSettings()) {
        for (double hertz : {1000.0, 10000.0, setting.passEdge()}) {
            SCOPED_TRACE(Describe(setting) + ", " + std::to_string(hertz) + " Hz");
            KivResampler resampler;
            Configure(resampler, setting);
            const int f = setting.factor;
            std::vector<float> oversampled;
            const std::vector<float> input = BaseTone(hertz, kSettle + kWindow);
            for (size_t start = 0; start < input.size(); start += kBlock) {
                const int n = static_cast<int>(std::min<size_t>(kBlock, input.size() - start));
                resampler.Upsample(input.data() + start, n);
                oversampled.insert(oversampled.end(), resampler.GetInputBuffer(), resampler.GetInputBuffer() + n * f);
            }
            const float* window = oversampled.data() + kSettle * f;
            const double images = ToneAnalysis::ResidualRms(window, kWindow * f, hertz / (kBaseRate * f));
            EXPECT_LT(Decibels(images / std::sqrt(0.5)), -setting.stopBandDb());
        }
    }
}

// Tones above the base Nyquist frequency whose aliases would land in the pass band.
std::vector<double> AliasingTones(const Setting& setting) {
    std::vector<double> tones;
    for (int m = 1; m <= setting.factor / 2; ++m) {
        for (double alias : {1000.0, 10000.0, setting.passEdge()}) {
            for (double tone : {m * kBaseRate - alias, m * kBaseRate + alias}) {
                if (tone > kBaseRate / 2 && tone < setting.factor * kBaseRate / 2) tones.push_back(tone);
            }
        }
    }
    return tones;
}

TEST(KivResamplerTest, DownsamplingSuppressesAliasesIntoThePassBand) {
    for (const Setting& setting : AllOversamplingSettings()) {
        for (double hertz : AliasingTones(setting)) {
            SCOPED_TRACE(Describe(setting) + ", " + std::to_string(hertz) + " Hz");
            KivResampler resampler;
            Configure(resampler, setting);
            const int f = setting.factor;
            const double frequency = hertz / (kBaseRate * f);
            std::vector<float> output(kSettle + kWindow);
            for (int start = 0; start < static_cast<int>(output.size()); start += kBlock) {
                const int n = std::min(kBlock, static_cast<int>(output.size()) - start);
                float* buffer = resampler.GetOutputBuffer();
                for (int i = 0; i < n * f; ++i) buffer[i] = ToneAnalysis::ToneSample(frequency, long(start) * f + i);
                resampler.Downsample(output.data() + start, n, false);
            }
            const double aliases = ToneAnalysis::Rms(output.data() + kSettle, kWindow);
            EXPECT_LT(Decibels(aliases / std::sqrt(0.5)), -setting.stopBandDb());
        }
    }
}

TEST(KivResamplerTest, SameSamplesWhateverTheBlockSizeTheLoopsOrTheRun) {
    const std::vector<float> input = Noise(3000, 7);
    for (int factor : {1, 2, 4, 8}) {
        SCOPED_TRACE(factor);
        KivResampler reference;
        Configure(reference, {factor, true, KivResamplerSlope::kSteep});
        const std::vector<float> expected = RoundTrip(reference, input, kBlock);
        KivResampler scalar;
        Configure(scalar, {factor, true, KivResamplerSlope::kSteep});
        scalar.SetKernelPath(KivHalfbandKernels::Path::kScalar);
        for (int block : {1, 3, 7, 64, kBlock}) {
            EXPECT_EQ(RoundTrip(scalar, input, block), expected) << "blocks of " << block;
            scalar.Reset();
        }
    }
}

TEST(KivResamplerTest, ResetForgetsThePastAndSettingsChangesStartClean) {
    std::vector<float> impulse(600, 0.0f);
    impulse[0] = 1.0f;
    KivResampler fresh;
    Configure(fresh, {4, true, KivResamplerSlope::kSteep});
    const std::vector<float> expected = RoundTrip(fresh, impulse, kBlock);

    KivResampler used;
    Configure(used, {4, true, KivResamplerSlope::kSteep});
    RoundTrip(used, Noise(700, 3), kBlock);
    used.Reset();
    EXPECT_EQ(RoundTrip(used, impulse, kBlock), expected);

    RoundTrip(used, Noise(700, 4), kBlock);
    used.SetQuality(false);
    used.SetFactor(8);
    used.SetFactor(4);
    used.SetQuality(true);
    EXPECT_EQ(RoundTrip(used, impulse, kBlock), expected);
}

// The module's memory table with counting entries, while it exists.
class AllocationCounter {
public:
    AllocationCounter() : saved_(KivMemory::Table()) {
        count_ = 0;
        KivMemory::Table().Allocate = [](size_t size) { ++count_; return saved().Allocate(size); };
        KivMemory::Table().Reallocate = [](void* block, size_t size) { ++count_; return saved().Reallocate(block, size); };
    }
    ~AllocationCounter() { KivMemory::Table() = saved_; }
    int Count() const { return count_; }

private:
    static const KivMemoryFunctions& saved() { return KivMemory::RuntimeTable(); }
    static inline int count_ = 0;
    KivMemoryFunctions saved_;
};

TEST(KivResamplerTest, NothingAllocatesAfterPrepare) {
    KivResampler resampler;
    resampler.Prepare(kBlock);
    const std::vector<float> input = Noise(kBlock, 5);
    std::vector<float> output(kBlock);
    AllocationCounter counter;
    for (int factor : {8, 2, 4, 1}) {
        resampler.SetFactor(factor);
        resampler.SetQuality(factor != 4);
        resampler.SetSlope(factor == 2 ? KivResamplerSlope::kGentle : KivResamplerSlope::kSteep);
        resampler.Upsample(input.data(), kBlock);
        resampler.Downsample(output.data(), kBlock, true);
    }
    resampler.Prepare(kBlock / 2);
    EXPECT_EQ(counter.Count(), 0);
}

TEST(KivResamplerTest, TinyInputsNeverProduceDenormals) {
    for (int factor : {2, 8}) {
        KivResampler resampler;
        Configure(resampler, {factor, true, KivResamplerSlope::kSteep});
        std::vector<float> input = Noise(2048, 11);
        for (size_t i = 0; i < input.size(); ++i) input[i] *= std::pow(10.0f, -14.0f - 0.01f * (i % 2400));
        input[5] = 1e-40f;  // a denormal from the host
        for (float sample : RoundTrip(resampler, input, kBlock)) {
            ASSERT_NE(std::fpclassify(sample), FP_SUBNORMAL);
        }
    }
}

TEST(KivResamplerTest, RejectsUnsupportedFactorsAndOverlongBlocks) {
    KivResampler resampler;
    resampler.Prepare(64);
    resampler.SetFactor(2);
    EXPECT_THROW(resampler.SetFactor(3), KivException);
    EXPECT_THROW(resampler.SetFactor(16), KivException);
    EXPECT_EQ(resampler.GetFactor(), 2);
    std::vector<float> block(65);
    EXPECT_THROW(resampler.Upsample(block.data(), 65), KivException);
    EXPECT_THROW(resampler.Downsample(block.data(), 65, false), KivException);
}

}  // namespace
