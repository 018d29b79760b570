// The knee of the built plug-in library, driven through each face as a host drives it. A knee rounds the
// corner of the transfer shape at each breakpoint and nothing else: at ratio 1:1 the signal
// passes unchanged whatever the knee and mode, and a static curve follows the straight-line
// shape except within the knee's width around a corner, where it is the parabola tangent to
// both lines (in decibels, with the Logarithmic mode, the classic soft knee
// y = x + (1/R - 1)(x - T + W/2)^2 / (2W)). The expected levels are worked out here from the
// hand-derived breakpoints, independently of the plug-in's shape code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tests/support/tandrel_mini_faces.h"
#include "tests/support/tandrel_mini_interpolation_domains.h"
#include "tests/support/tandrel_mini_vst2_session.h"

namespace {

using namespace tandrel_mini_test;

constexpr double kSampleRate = 48000.0;
constexpr int32_t kSettleFrames = 2048;
constexpr int32_t kMeasureFrames = 256;
constexpr double kToleranceDb = 0.05;

struct Corner {
    double x, y;  // dB
    double knee;  // 0 .. 1
};

// The output level for an input level in the mode's domain: straight lines between the
// corners, and around each inner corner of width W = knee x (distance to the nearer
// neighbour), the parabola y = line_before(u) + (m2 - m1)(u - c + W/2)^2 / (2W).
double ExpectedLevel(const std::vector<Corner>& corners, Mode mode, double level) {
    struct P {
        double x, y, knee;
    };
    std::vector<P> p;
    for (const Corner& c : corners) p.push_back({ToDomain(mode, Amplitude(c.x)), ToDomain(mode, Amplitude(c.y)), c.knee});
    const double u = ToDomain(mode, level);
    auto line = [&](size_t k, double at) { return p[k].y + (at - p[k].x) * (p[k + 1].y - p[k].y) / (p[k + 1].x - p[k].x); };
    for (size_t k = 1; k + 1 < p.size(); ++k) {
        const double w = p[k].knee * std::min(p[k].x - p[k - 1].x, p[k + 1].x - p[k].x);
        if (w <= 0.0 || std::fabs(u - p[k].x) > w / 2) continue;
        const double m1 = (p[k].y - p[k - 1].y) / (p[k].x - p[k - 1].x);
        const double m2 = (p[k + 1].y - p[k].y) / (p[k + 1].x - p[k].x);
        const double d = u - p[k].x + w / 2;
        return FromDomain(mode, line(k - 1, u) + (m2 - m1) * d * d / (2 * w));
    }
    if (u <= p.front().x) return FromDomain(mode, p.front().y);
    for (size_t k = 0; k + 1 < p.size(); ++k)
        if (u < p[k + 1].x) return FromDomain(mode, line(k, u));
    return FromDomain(mode, p.back().y);
}

class Plugin {
public:
    Plugin(FaceKind kind, Mode mode) : face_(MakeFace(kind)) {
        EXPECT_TRUE(face_->Open({kSampleRate, 512})) << face_->Error();
        face_->Set("Mode (General parameters)", static_cast<int>(mode) * 0.5);
        EXPECT_EQ(face_->Display("Mode (General parameters)"), kModeNames[mode]);
        // Fast detection, so DC settles on its own level at once.
        face_->Set("Attack (Dynamic detection)", 0.0);
        face_->Set("Release (Dynamic detection)", 0.0);
        face_->Set("Processor 2 (Processor 2)", 0.0);
    }
    Face* operator->() { return face_.get(); }

    std::vector<float> Process(const std::vector<float>& signal) { return face_->Render({signal, signal}, 512)[0]; }

    // The settled output level for DC at `level`.
    double Output(double level) {
        const std::vector<float> out = Process(std::vector<float>(kSettleFrames + kMeasureFrames, static_cast<float>(level)));
        double sum = 0.0;
        for (int32_t i = kSettleFrames; i < kSettleFrames + kMeasureFrames; ++i) sum += double(out[i]) * out[i];
        return std::sqrt(sum / kMeasureFrames);
    }

private:
    std::unique_ptr<Face> face_;
};

// Programme-like material: tones, a decaying burst and noise, peaking near -1 dBFS, with a
// quiet passage, so that the envelope crosses every threshold.
std::vector<float> Programme(int32_t frames) {
    std::vector<float> signal(frames);
    uint32_t seed = 12345;
    for (int32_t i = 0; i < frames; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = (seed >> 8) * (1.0 / 16777216.0) - 0.5;
        const double t = i / kSampleRate;
        const double loudness = (i / 4800) % 3 == 2 ? 0.01 : 0.45;
        signal[i] = static_cast<float>(loudness * (std::sin(6.2831853 * 440.0 * t) + 0.8 * std::sin(6.2831853 * 97.0 * t) +
                                                   0.4 * noise * std::exp(-(i % 9600) / 2000.0)));
    }
    return signal;
}

class TandrelMiniLibraryKnee : public ::testing::TestWithParam<FaceKind> {};
INSTANTIATE_TEST_SUITE_P(Faces, TandrelMiniLibraryKnee, ::testing::Values(FaceKind::kVst2, FaceKind::kVst3), FaceName);

TEST_P(TandrelMiniLibraryKnee, UnityRatioPassesTheSignalUnchangedForEveryKneeAndMode) {
    const std::vector<float> signal = Programme(48000);
    for (Mode mode : {kLinear, kSquared, kLogarithmic}) {
        for (double knee : {0.0, 0.25, 0.5, 1.0}) {
            SCOPED_TRACE(std::string(kModeNames[mode]) + ", knee " + std::to_string(knee));
            Plugin plugin(GetParam(), mode);
            plugin->Set("Attack (Dynamic detection)", 0.01);
            plugin->Set("Processor 1 (Processor 1)", 1.0);
            plugin->Set("Gate (Gate)", 0.0);
            plugin->Set("Ratio (Processor 1)", RatioCode(1));
            plugin->Set("Threshold (Processor 1)", Threshold(-20));
            plugin->Set("Knee size (Processor 1)", knee);
            const std::vector<float> out = plugin.Process(signal);
            int32_t differing = 0;
            double largest = 0.0;
            for (size_t i = 0; i < signal.size(); ++i) {
                differing += out[i] != signal[i];
                largest = std::max(largest, std::fabs(double(out[i]) - signal[i]));
            }
            EXPECT_EQ(differing, 0) << "largest difference " << largest;
        }
    }
}

TEST_P(TandrelMiniLibraryKnee, CompressorCornerIsTheParabolaOverTheKneeWidth) {
    for (Mode mode : {kLinear, kSquared, kLogarithmic}) {
        for (double knee : {0.0, 0.25, 1.0}) {
            SCOPED_TRACE(std::string(kModeNames[mode]) + ", knee " + std::to_string(knee));
            Plugin plugin(GetParam(), mode);
            plugin->Set("Processor 1 (Processor 1)", 1.0);
            plugin->Set("Gate (Gate)", 0.0);
            plugin->Set("Threshold (Processor 1)", Threshold(-12));
            plugin->Set("Ratio (Processor 1)", RatioCode(2));
            plugin->Set("Range (Processor 1)", 1.0);
            plugin->Set("Knee size (Processor 1)", knee);
            // (0, 0) is the shape's start; slope 1 up to -12 dB, 1/2 above it.
            const std::vector<Corner> corners = {{-1000, -1000, 0}, {-12, -12, knee}, {0, -6, 0}};
            for (double inputDb = -40.0; inputDb <= 0.0; inputDb += 1.0) {
                const double expected = Decibels(ExpectedLevel(corners, mode, Amplitude(inputDb)));
                EXPECT_NEAR(Decibels(plugin.Output(Amplitude(inputDb))), expected, kToleranceDb) << inputDb << " dB";
            }
        }
    }
}

// In decibels the curve is the textbook soft knee: with knee 100% the corner at -12 dB
// spans 12 dB (up to the 0 dB end, the nearer neighbour), so at the threshold itself the
// output is -12 + (1/2 - 1) 6^2 / 24 = -12.75 dB, and 6 dB away from it the lines rejoin.
TEST_P(TandrelMiniLibraryKnee, LogarithmicModeGivesTheTextbookSoftKnee) {
    Plugin plugin(GetParam(), kLogarithmic);
    plugin->Set("Processor 1 (Processor 1)", 1.0);
    plugin->Set("Gate (Gate)", 0.0);
    plugin->Set("Threshold (Processor 1)", Threshold(-12));
    plugin->Set("Ratio (Processor 1)", RatioCode(2));
    plugin->Set("Knee size (Processor 1)", 1.0);
    EXPECT_NEAR(Decibels(plugin.Output(Amplitude(-12))), -12.75, kToleranceDb);
    EXPECT_NEAR(Decibels(plugin.Output(Amplitude(-15))), -15 - 0.5 * 9 / 24.0, kToleranceDb);
    EXPECT_NEAR(Decibels(plugin.Output(Amplitude(-18))), -18.0, kToleranceDb);
    EXPECT_NEAR(Decibels(plugin.Output(Amplitude(-6))), -9.0, kToleranceDb);
    EXPECT_NEAR(Decibels(plugin.Output(Amplitude(-30))), -30.0, kToleranceDb);
}

// The gate at -40 dB, 24 dB wide, closing to silence, with its default knee (25%): both its
// corners rounded, the rest straight.
TEST_P(TandrelMiniLibraryKnee, GateWithItsDefaultKnee) {
    for (Mode mode : {kLinear, kSquared, kLogarithmic}) {
        SCOPED_TRACE(kModeNames[mode]);
        Plugin plugin(GetParam(), mode);
        plugin->Set("Processor 1 (Processor 1)", 0.0);
        plugin->Set("Gate (Gate)", 1.0);
        plugin->Set("Threshold (Gate)", Threshold(-40));
        plugin->Set("Size (Gate)", 1.0);
        plugin->Set("Bottom (Gate)", 0.0);
        const std::vector<Corner> corners = {{-1000, -1000, 0}, {-64, -1000, 0.25}, {-40, -40, 0.25}, {0, 0, 0}};
        for (double inputDb = -70.0; inputDb <= 0.0; inputDb += 1.0) {
            const double expected = Decibels(ExpectedLevel(corners, mode, Amplitude(inputDb)));
            const double measured = Decibels(plugin.Output(Amplitude(inputDb)));
            if (expected <= -140.0) EXPECT_LE(measured, -130.0) << inputDb << " dB";
            else EXPECT_NEAR(measured, expected, kToleranceDb) << inputDb << " dB";
        }
    }
}

}  // namespace

namespace {

// "Maximize" raises the shape so that 0 dB in gives 0 dB out, measured on the shape at 0 dB
// input whether or not levels above 0 dB are limited: processor 1 at -12 dB, 2:1 gives -6 dB
// at 0 dB, so the shape's outputs double (+6.02 dB; below the threshold, where the Squared
// mode's line runs through the origin, every level gains exactly that), and below 0 dBFS both
// settings sound the same.
class TandrelMiniLibraryMaximize : public ::testing::TestWithParam<FaceKind> {};
INSTANTIATE_TEST_SUITE_P(Faces, TandrelMiniLibraryMaximize, ::testing::Values(FaceKind::kVst2, FaceKind::kVst3), FaceName);

TEST_P(TandrelMiniLibraryMaximize, SameGainWithAndWithoutLimitingAbove0dB) {
    const double doubled = 20.0 * std::log10(2.0);
    std::vector<float> outputs[2];
    for (bool extended : {false, true}) {
        Plugin plugin(GetParam(), kSquared);
        if (extended) plugin->SetInState({{"DoNotLimitAbove0dB", "1"}});
        plugin->Set("Processor 1 (Processor 1)", 1.0);
        plugin->Set("Gate (Gate)", 0.0);
        plugin->Set("Threshold (Processor 1)", Threshold(-12));
        plugin->Set("Ratio (Processor 1)", RatioCode(2));
        plugin->Set("Knee size (Processor 1)", 0.0);
        plugin->Set("Maximize signal strength to 0dB (General parameters)", 1.0);
        EXPECT_NEAR(Decibels(plugin.Output(Amplitude(-24))), -24 + doubled, kToleranceDb);
        EXPECT_NEAR(Decibels(plugin.Output(Amplitude(-13))), -13 + doubled, kToleranceDb);
        EXPECT_NEAR(Decibels(plugin.Output(Amplitude(0))), 0.0, kToleranceDb);
        outputs[extended] = plugin.Process(Programme(24000));
    }
    EXPECT_EQ(outputs[0], outputs[1]);
}

}  // namespace
