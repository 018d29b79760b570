// The static transfer curves of the built plug-in library, driven through each face as a host
// drives it: set up through parameters and its state, fed with DC and
// with steady tones. The expected output levels come from the breakpoints of each shape
// worked out by hand (in dB, below each case), turned into points and interpolated in the
// mode's domain here, independently of the plug-in's own shape code.
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
// The default RMS length (1 ms) spans 48 samples; a tone with exactly that period has the
// same true RMS at every sample, so its envelope stands still like that of DC.
constexpr double kToneFrequency = 1000.0;
constexpr int32_t kSettleFrames = 4096;
constexpr int32_t kMeasureFrames = 48 * 40;
constexpr double kSilenceDb = -140.0;
constexpr double kToleranceDb = 0.05;

struct Breakpoint {
    double x, y;  // input and output, dB; below -140 is silence
};

// A breakpoint's level: -140 dB is a level like any other (where an expansion reaches it, the
// line towards it keeps the ratio's slope in decibels); only what lies below is silence.
double Level(double decibels) { return decibels < kSilenceDb ? 0.0 : std::pow(10.0, decibels / 20.0); }

struct Setting {
    const char* name;  // "name (group)", which hosts see cut to 24 characters
    double hostValue;
};

struct Case {
    const char* description;
    std::vector<Setting> settings;
    std::vector<const char*> stateFlags;  // product settings switched on in the state chunk
    std::vector<Breakpoint> breakpoints;
    bool extendAbove0dB;
};

// Fast detection (attack 0, release 1 ms) and sharp corners everywhere.
std::vector<Setting> Base(bool processor1, bool gate) {
    return {{"Attack (Dynamic detection)", 0.0},    {"Release (Dynamic detection)", 0.0},
            {"Processor 1 (Processor 1)", processor1 ? 1.0 : 0.0}, {"Gate (Gate)", gate ? 1.0 : 0.0},
            {"Knee size (Processor 1)", 0.0},       {"Knee size (Processor 2)", 0.0},
            {"Knee (Gate)", 0.0},                    {"Range (Processor 1)", 1.0},
            {"Range (Processor 2)", 1.0}};
}

std::vector<Setting> With(std::vector<Setting> settings, std::vector<Setting> more) {
    settings.insert(settings.end(), more.begin(), more.end());
    return settings;
}

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        // Slope 1 up to the threshold, 1/2 above it.
        {"compressor -12 dB 2:1",
         With(Base(true, false), {{"Threshold (Processor 1)", Threshold(-12)}, {"Ratio (Processor 1)", RatioCode(2)}}),
         {},
         {{-140, -140}, {-12, -12}, {0, -6}},
         false},
        // The expansion below the threshold reaches silence at -30 - 110/2 = -85 dB.
        {"expander -30 dB 1:2",
         With(Base(true, false), {{"Threshold (Processor 1)", Threshold(-30)}, {"Ratio (Processor 1)", RatioCode(2)}}),
         {"Expander1"},
         {{-140, -140}, {-85, -140}, {-30, -30}, {0, 0}},
         false},
        // Processor 2 expands below -40 dB (silence at -40 - 100/2 = -90 dB), processor 1
        // compresses above -12 dB.
        {"expander -40 dB and compressor -12 dB",
         With(Base(true, false), {{"Threshold (Processor 1)", Threshold(-12)},
                                  {"Ratio (Processor 1)", RatioCode(2)},
                                  {"Processor 2 (Processor 2)", 1.0},
                                  {"Threshold (Processor 2)", Threshold(-40)},
                                  {"Ratio (Processor 2)", RatioCode(2)}}),
         {"Expander2"},
         {{-140, -140}, {-90, -140}, {-40, -40}, {-12, -12}, {0, -6}},
         false},
        // Closed (bottom: silence) up to -40 - 24 dB, then a straight line to the curve.
        {"gate -40 dB size 24 dB",
         With(Base(false, true), {{"Threshold (Gate)", Threshold(-40)}, {"Size (Gate)", 1.0}, {"Bottom (Gate)", 0.0}}),
         {},
         {{-140, -1000}, {-64, -1000}, {-40, -40}, {0, 0}},
         false},
        // Above 0 dB the last segment goes on (to +64 dB) instead of holding -6 dB.
        {"compressor -12 dB 2:1 not limited above 0 dB",
         With(Base(true, false), {{"Threshold (Processor 1)", Threshold(-12)}, {"Ratio (Processor 1)", RatioCode(2)}}),
         {"DoNotLimitAbove0dB"},
         {{-140, -140}, {-12, -12}, {0, -6}},
         true},
    };
    return cases;
}

struct Point {
    double x, y;  // linear amplitude
};

std::vector<Point> ShapePoints(const Case& shape) {
    std::vector<Point> points{{0.0, 0.0}};
    for (const Breakpoint& b : shape.breakpoints) points.push_back({Level(b.x), Level(b.y)});
    if (shape.extendAbove0dB) {
        const Breakpoint& last = shape.breakpoints.back();
        const Breakpoint& before = shape.breakpoints[shape.breakpoints.size() - 2];
        const double y64 = last.y + (64.0 - last.x) * (last.y - before.y) / (last.x - before.x);
        points.push_back({Level(64.0), Level(y64)});
    }
    return points;
}

// The shape's output level for an input level: straight segments between the points in the
// mode's domain, held at the ends.
double ExpectedLevel(const Case& shape, Mode mode, double level) {
    std::vector<Point> points = ShapePoints(shape);
    for (Point& p : points) p = {ToDomain(mode, p.x), ToDomain(mode, p.y)};
    const double u = ToDomain(mode, level);
    if (u <= points.front().x) return FromDomain(mode, points.front().y);
    for (size_t k = 1; k < points.size(); ++k) {
        const Point& a = points[k - 1];
        const Point& b = points[k];
        if (u < b.x) return FromDomain(mode, a.y + (u - a.x) * (b.y - a.y) / (b.x - a.x));
    }
    return FromDomain(mode, points.back().y);
}

// Runs `frames` of DC or of the tone at RMS level `level` through both channels; returns
// the RMS level of the left output over the last kMeasureFrames.
double SettledOutput(Face& plugin, double level, bool tone, int32_t settle = kSettleFrames) {
    const int32_t frames = settle + kMeasureFrames;
    std::vector<float> signal(frames);
    constexpr double kTwoPi = 6.283185307179586;
    for (int32_t i = 0; i < frames; ++i)
        signal[i] = static_cast<float>(tone ? level * std::sqrt(2.0) * std::sin(kTwoPi * kToneFrequency * i / kSampleRate)
                                            : level);
    const std::vector<std::vector<float>> outputs = plugin.Render({signal, signal}, 512);
    double sum = 0.0;
    for (int32_t i = settle; i < frames; ++i) sum += double(outputs[0][i]) * outputs[0][i];
    return std::sqrt(sum / kMeasureFrames);
}

class TandrelMiniLibraryStaticCurves : public ::testing::TestWithParam<FaceKind> {};
INSTANTIATE_TEST_SUITE_P(Faces, TandrelMiniLibraryStaticCurves, ::testing::Values(FaceKind::kVst2, FaceKind::kVst3), FaceName);

std::vector<std::pair<std::string, std::string>> SwitchedOn(const std::vector<const char*>& flags) {
    std::vector<std::pair<std::string, std::string>> attributes;
    for (const char* flag : flags) attributes.emplace_back(flag, "1");
    return attributes;
}

TEST_P(TandrelMiniLibraryStaticCurves, OutputLevelsFollowTheShapeInEveryMode) {
    const char* modeNames[] = {"Linear", "Squared", "Logarithmic"};
    for (const Case& shape : Cases()) {
        for (Mode mode : {kLinear, kSquared, kLogarithmic}) {
            SCOPED_TRACE(std::string(shape.description) + ", " + modeNames[mode]);
            std::unique_ptr<Face> face = MakeFace(GetParam());
            ASSERT_TRUE(face->Open({kSampleRate, 512})) << face->Error();
            Face& plugin = *face;
            if (!shape.stateFlags.empty()) plugin.SetInState(SwitchedOn(shape.stateFlags));
            for (const Setting& setting : shape.settings) plugin.Set(setting.name, static_cast<float>(setting.hostValue));
            plugin.Set("Mode (General parameters)", static_cast<float>(mode) * 0.5f);
            ASSERT_EQ(plugin.Display("Mode (General parameters)"), modeNames[mode]);
            for (double inputDb = -100.0; inputDb <= 6.0; inputDb += 2.0) {
                const double expectedDb = Decibels(ExpectedLevel(shape, mode, Amplitude(inputDb)));
                for (bool tone : {false, true}) {
                    const double measuredDb = Decibels(SettledOutput(plugin, Amplitude(inputDb), tone));
                    if (expectedDb <= kSilenceDb) {
                        EXPECT_LE(measuredDb, kSilenceDb) << inputDb << " dB " << (tone ? "tone" : "DC");
                    } else {
                        EXPECT_NEAR(measuredDb, expectedDb, kToleranceDb) << inputDb << " dB " << (tone ? "tone" : "DC");
                    }
                }
            }
        }
    }
}

}  // namespace

namespace {

// A 1:2 downward expander at -30 dB (the "Expander1" switch, range 96 dB: unlimited) in the
// logarithmic mode is the textbook one: below the threshold every decibel of input costs two
// of output, out = -30 + 2 (in + 30) dB, down to silence at -85 dB. A steady signal 10 dB
// below the threshold comes out 20 dB below it, 10 dB quieter than it went in, with the
// default knee, with slow detection as the factory's expander uses, DC or tone.
TEST_P(TandrelMiniLibraryStaticCurves, LogarithmicExpanderLosesRatioTimesTheDistanceBelowItsThreshold) {
    for (bool slow : {false, true}) {
        SCOPED_TRACE(slow ? "5 ms RMS, 5 ms attack, 200 ms release" : "fast detection");
        std::unique_ptr<Face> face = MakeFace(GetParam());
        ASSERT_TRUE(face->Open({kSampleRate, 512})) << face->Error();
        Face& plugin = *face;
        plugin.SetInState({{"Expander1", "1"}});
        plugin.Set("Mode (General parameters)", 1.0);
        plugin.Set("Threshold (Processor 1)", Threshold(-30));
        plugin.Set("Ratio (Processor 1)", RatioCode(2));
        plugin.Set("Attack (Dynamic detection)", slow ? std::pow(0.005, 0.25) : 0.0);
        plugin.Set("Release (Dynamic detection)", slow ? std::pow((0.2 - 0.001) / (5.0 - 0.001), 0.25) : 0.0);
        if (slow) plugin.Set("RMS length (Dynamic detection)", std::sqrt(0.005 / 0.1));
        const int32_t settle = slow ? 96000 : kSettleFrames;
        EXPECT_EQ(plugin.Display("Range (Processor 1)"), "+96.00 dB");
        // The default knee (25%) rounds the corner at -30 dB over 0.25 x 30 dB (the nearer
        // neighbour is the 0 dB end) and the one at -85 dB over 0.25 x 55 dB: from -33.75 dB
        // down to -78.1 dB the line is straight.
        for (double inputDb : {-40.0, -50.0, -60.0, -70.0}) {
            const double expectedDb = -30.0 + 2.0 * (inputDb + 30.0);
            for (bool tone : {false, true})
                EXPECT_NEAR(Decibels(SettledOutput(plugin, Amplitude(inputDb), tone, settle)), expectedDb, kToleranceDb)
                    << inputDb << " dB " << (tone ? "tone" : "DC");
        }
        EXPECT_LE(Decibels(SettledOutput(plugin, Amplitude(-90.0), false, settle)), kSilenceDb);
        EXPECT_NEAR(Decibels(SettledOutput(plugin, Amplitude(-20.0), false, settle)), -20.0, kToleranceDb);
    }
}

}  // namespace
