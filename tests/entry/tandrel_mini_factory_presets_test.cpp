// The factory presets as a user meets them: each one loaded into a new instance and heard
// through the bundled programme signal and through level steps. What each name promises is
// checked on the rendered audio: how much gain reduction on the programme's loud and quiet
// passages, how fast the gain follows a step up and lets go after a step down, where a
// limiter holds the peaks, and that a parallel preset never takes more than its dry share.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "base/xml/kiv_xml_item.h"
#include "dynamics/presets/tandrel_factory_presets.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"
#include "presets/library/kiv_factory_presets.h"
#include "presets/library/kiv_preset_library.h"
#include "presets/library/kiv_preset_packing.h"
#include "presets/library/kiv_preset_tree.h"
#include "tests/dynamics/processing/tandrel_rig.h"
#include "tools/render/kiv_wav_file.h"

namespace {

// The source tree, wherever the test runs from.
const std::filesystem::path kSource = KIV_SOURCE_DIR;
constexpr int32_t kRate = 44100;
constexpr int32_t kBlock = 512;

double DecibelsOf(double amplitude) { return 20.0 * std::log10(std::max(amplitude, 1e-12)); }

// A new instance as a host meets it (see TandrelRig), with `settings` loaded when there are any.
struct Instance {
    explicit Instance(KivXMLItem* settings) {
        if (settings) plugin.StoreLiveSettings(*settings, false);
        latency = plugin.GetLatency();
    }

    // Both channels get `left` and `right`; returns the output, moved back by the latency
    // (the tail is rendered from silence so that every input sample has its output).
    std::vector<std::vector<float>> Render(const std::vector<float>& left, const std::vector<float>& right) {
        const auto frames = static_cast<int32_t>(left.size());
        std::vector<std::vector<float>> out(2, std::vector<float>(static_cast<size_t>(frames + latency)));
        for (int32_t start = 0; start < frames + latency; start += kBlock) {
            const int32_t n = std::min(kBlock, frames + latency - start);
            for (int32_t i = 0; i < n; ++i) {
                const int32_t at = start + i;
                rig.in[0][i] = at < frames ? left[at] : 0.0f;
                rig.in[1][i] = at < frames ? right[at] : 0.0f;
            }
            float* inputs[2] = {rig.in[0].data(), rig.in[1].data()};
            float* outputs[2] = {rig.out[0].data(), rig.out[1].data()};
            plugin.ProcessAudio(inputs, outputs, n, true);
            for (int c = 0; c < 2; ++c) std::copy(rig.out[c].begin(), rig.out[c].begin() + n, out[c].begin() + start);
        }
        for (auto& channel : out) channel.erase(channel.begin(), channel.begin() + latency);
        return out;
    }

    TandrelRig rig{kRate, kBlock};
    KivKestruneAudioEffectPlugin& plugin = rig.plugin;
    int32_t latency = 0;
};

// What one preset did.
struct Character {
    double loudReduction = 0;   // median gain reduction over the programme's loudest tenth, dB
    double quietReduction = 0;  // median over its quietest windows (input below -45 dB), dB
    double deepestReduction = 0;
    double outputPeak = 0;      // dBFS
    double attackMs = 0;        // time to 63% of the settled reduction after a step up
    double releaseMs = 0;       // time to fall to 37% of it after the step down
    std::vector<double> staticReduction;  // settled reduction of a constant signal at kLevels
    double lowToneReduction = 0;   // settled reduction of a 500 Hz tone at -10 dBFS
    double highToneReduction = 0;  // the same for 7 kHz
    double rmsGain = 0;            // programme output RMS over input RMS, dB
};

const double kLevels[] = {-60, -30};

std::map<std::string, double> Numbers(const KivXMLItem& settings) {
    std::map<std::string, double> values;
    for (int32_t i = 0; i < settings.GetAttributeCount(); ++i) {
        const KivAttribute& a = settings.GetAttributeAt(i);
        values[a.name.ToUTF8()] = std::atof(a.value.ToUTF8().c_str());
    }
    return values;
}

class FactoryPresets : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        programme = new KivAudioData(KivWavFile::Read((kSource / "tools/render/signals/programme.wav").string()));
        list = new KivXMLItem();
        KivFactoryPresets::ListPresets(TandrelFactoryPresetDocument(), *list);
    }
    static void TearDownTestSuite() {
        delete programme;
        delete list;
    }

    // Gain reduction in 10 ms windows of the programme, with the preset's own static gains
    // (input and output gain) taken out.
    static Character Measure(KivXMLItem& settings) {
        std::map<std::string, double> values = Numbers(settings);
        const double staticGain = values["parametergain"] + values["parameteroutputgain"];
        Character result;
        {
            Instance instance(&settings);
            const auto out = instance.Render(programme->channels[0], programme->channels[1]);
            const int32_t window = kRate / 100;
            std::vector<std::pair<double, double>> windows;  // input level, reduction
            double peak = 0;
            for (size_t i = 0; i < out[0].size(); ++i) peak = std::max({peak, std::fabs(double(out[0][i])), std::fabs(double(out[1][i]))});
            result.outputPeak = DecibelsOf(peak);
            double inPower = 0, outPower = 0;
            for (int c = 0; c < 2; ++c)
                for (int64_t i = 0; i < programme->Frames(); ++i) {
                    inPower += double(programme->channels[c][i]) * programme->channels[c][i];
                    outPower += double(out[c][i]) * out[c][i];
                }
            result.rmsGain = 10 * std::log10(outPower / inPower);
            for (int64_t start = 0; start + window <= programme->Frames(); start += window) {
                double in = 0, o = 0;
                for (int32_t i = 0; i < window; ++i) {
                    for (int c = 0; c < 2; ++c) {
                        in += double(programme->channels[c][start + i]) * programme->channels[c][start + i];
                        o += double(out[c][start + i]) * out[c][start + i];
                    }
                }
                const double inDb = 10 * std::log10(std::max(in / (2 * window), 1e-24));
                const double outDb = 10 * std::log10(std::max(o / (2 * window), 1e-24));
                if (inDb > -70) windows.emplace_back(inDb, inDb + staticGain - outDb);
            }
            std::sort(windows.begin(), windows.end());
            auto median = [](std::vector<double> v) {
                std::sort(v.begin(), v.end());
                return v.empty() ? 0.0 : v[v.size() / 2];
            };
            std::vector<double> loud, quiet;
            for (size_t i = windows.size() - windows.size() / 10; i < windows.size(); ++i) loud.push_back(windows[i].second);
            for (const auto& w : windows)
                if (w.first < -45) quiet.push_back(w.second);
            result.loudReduction = median(loud);
            result.quietReduction = median(quiet);
            for (const auto& w : windows) result.deepestReduction = std::max(result.deepestReduction, w.second);
        }
        // Level steps of a constant signal: the gain is output / input sample by sample.
        {
            Instance instance(&settings);
            const bool gate = values["parameterGate"] > 0.5 || values["Expander1"] > 0.5;
            const float low = gate ? 0.0003f : 0.01f, high = gate ? 0.3f : 1.0f;
            const int32_t before = kRate / 2, during = kRate, after = 2 * kRate;
            std::vector<float> signal(static_cast<size_t>(before + during + after), low);
            std::fill(signal.begin() + before, signal.begin() + before + during, high);
            const auto out = instance.Render(signal, signal);
            auto reduction = [&](int32_t at) { return DecibelsOf(signal[at]) + staticGain - DecibelsOf(out[0][at]); };
            // Compressors reduce the loud part; gates and expanders the quiet part after it.
            const int32_t stepUp = gate ? before + during : before;
            const int32_t settledAt = gate ? before + during + after - 1 : before + during - 1;
            const double start = reduction(stepUp - 1), settled = reduction(settledAt);
            int32_t i = stepUp;
            while (i < settledAt && std::fabs(reduction(i) - start) < 0.63 * std::fabs(settled - start)) ++i;
            result.attackMs = 1000.0 * (i - stepUp) / kRate;
            if (!gate) {
                const int32_t stepDown = before + during;
                const double held = reduction(stepDown - 1), rest = reduction(stepDown + after - 1);
                int32_t j = stepDown;
                while (j < stepDown + after - 1 && std::fabs(reduction(j) - rest) > 0.37 * std::fabs(held - rest)) ++j;
                result.releaseMs = 1000.0 * (j - stepDown) / kRate;
            }
        }
        auto tone = [&](double hertz) {
            Instance instance(&settings);
            std::vector<float> signal(kRate / 2);
            for (size_t i = 0; i < signal.size(); ++i)
                signal[i] = static_cast<float>(std::pow(10.0, -10.0 / 20) * std::sin(2 * std::numbers::pi * hertz * i / kRate));
            const auto out = instance.Render(signal, signal);
            double in = 0, o = 0;
            for (size_t i = signal.size() - kRate / 10; i < signal.size(); ++i) {
                in += double(signal[i]) * signal[i];
                o += double(out[0][i]) * out[0][i];
            }
            return 10 * std::log10(in / o) + staticGain;
        };
        result.lowToneReduction = tone(500);
        result.highToneReduction = tone(7000);
        for (double level : kLevels) {
            Instance instance(&settings);
            const std::vector<float> signal(kRate / 2, static_cast<float>(std::pow(10.0, level / 20)));
            const auto out = instance.Render(signal, signal);
            result.staticReduction.push_back(level + staticGain - DecibelsOf(out[0].back()));
        }
        return result;
    }

    static KivAudioData* programme;
    static KivXMLItem* list;
};

KivAudioData* FactoryPresets::programme = nullptr;
KivXMLItem* FactoryPresets::list = nullptr;

// What a name promises, in numbers; NaN: not part of the promise. Reductions in dB on the
// programme's loudest tenth ("loud") and on constant levels; times from the level steps.
struct Promise {
    double loudMin = NAN, loudMax = NAN;
    double attackMin = NAN, attackMax = NAN;   // ms
    double releaseMin = NAN, releaseMax = NAN; // ms
    double peakMax = NAN;                      // dBFS on the programme
    double reductionAtMinus60Min = NAN;        // gates and expanders close on quiet signals
    double reductionAtMinus30Max = NAN;        // ...and leave normal levels alone
    double sibilanceMin = NAN, lowToneMax = NAN;
};

const std::map<std::string, Promise>& Promises() {
    constexpr double n = NAN;
    static const std::map<std::string, Promise> promises{
        // Levelling and presence compressors: clear reduction on loud passages, peaks kept
        // below full scale by the make-up gain chosen.
        {"Vocals/Vocal levelling", {4, 16, 2, 15, 50, 400, 0.0}},
        {"Vocals/Vocal upfront", {4, 16, n, 5, n, 100, 0.0}},
        {"Vocals/Vocal gentle opto", {3, 14, 2, 30, 100, 1000, 0.0}},
        // The de-esser reacts to sibilance, not to the voice's body, and hardly touches the mix.
        {"Vocals/De-esser", {n, 4, n, n, n, n, n, n, n, 10, 1}},
        // Glue: moderate reduction, slow enough attack to keep transients.
        {"Mix bus/Mix bus glue", {1, 8, 8, 60, 50, 400}},
        {"Mix bus/Mix bus glue slow", {1, 6, 10, 120, 200, 1000}},
        {"Mix bus/Parallel compression", {2, 12, n, 5}},
        {"Drums/Drum bus punch", {3, 12, 5, 40, n, 100, 0.0}},
        {"Drums/Drum smash parallel", {2, 12, n, 2}},
        // A transient tamer acts within a millisecond and lets go at once.
        {"Drums/Transient tamer", {1, 8, n, 1, n, 60}},
        {"Drums/Bass levelling", {4, 16, 5, 40}},
        {"Mastering/Mastering gentle", {0.5, 4, 10, 100}},
        {"Mastering/Mastering loud", {2, 10, n, n, n, n, -0.5}},
        // Limiters: the peak stays at the ceiling, the body of the programme is untouched.
        {"Mastering/Brick-wall limiter", {n, 1, n, 1, n, n, -6.0 + 0.05}},
        {"Mastering/Loud limiter -1 dB", {n, 1, n, 1, n, n, -1.0 + 0.05}},
        {"Gates and expanders/Noise gate", {n, 1, n, n, n, n, n, 40, 1}},
        {"Gates and expanders/Gentle gate", {n, 1.5, n, n, n, n, n, 6, 1}},
        {"Gates and expanders/Downward expander", {n, 1, n, n, n, n, n, 10, 1}},
        {"Gates and expanders/Noise reduction", {n, 1, n, n, n, n, n, 3, 1}},
        // Slow levelling: the release stays long.
        {"Levelling/Slow levelling auto", {4, 20, 5, 60, 300, n}},
        {"Levelling/Slow levelling opto", {4, 20, 5, 60, 200, n}},
    };
    return promises;
}

void ExpectWithin(const std::string& what, double value, double low, double high) {
    if (!std::isnan(low)) {
        EXPECT_GE(value, low) << what;
    }
    if (!std::isnan(high)) {
        EXPECT_LE(value, high) << what;
    }
}

TEST_F(FactoryPresets, EachPresetDoesWhatItsNamePromises) {
    ASSERT_EQ(static_cast<size_t>(list->GetSubItemCount()), Promises().size());
    for (int32_t i = 0; i < list->GetSubItemCount(); ++i) {
        KivXMLItem& settings = list->GetSubItemAt(i);
        const std::string name = KivPresetTree::GetName(settings).ToUTF8();
        const auto found = Promises().find(name);
        ASSERT_NE(found, Promises().end()) << name << " makes no promise";
        const Promise& p = found->second;
        const Character c = Measure(settings);
        std::printf("%-46s loud %5.2f dB, peak %6.2f dBFS, attack %6.2f ms, release %7.1f ms, 500 Hz %5.2f dB, "
                    "7 kHz %5.2f dB\n",
                    name.c_str(), c.loudReduction, c.outputPeak, c.attackMs, c.releaseMs, c.lowToneReduction,
                    c.highToneReduction);
        ExpectWithin(name + ": reduction on loud passages", c.loudReduction, p.loudMin, p.loudMax);
        ExpectWithin(name + ": attack", c.attackMs, p.attackMin, p.attackMax);
        ExpectWithin(name + ": release", c.releaseMs, p.releaseMin, p.releaseMax);
        ExpectWithin(name + ": output peak", c.outputPeak, NAN, p.peakMax);
        ExpectWithin(name + ": reduction at -60 dBFS", c.staticReduction[0], p.reductionAtMinus60Min, NAN);
        ExpectWithin(name + ": reduction at -30 dBFS", c.staticReduction[1], NAN, p.reductionAtMinus30Max);
        ExpectWithin(name + ": reduction of a 7 kHz tone", c.highToneReduction, p.sibilanceMin, NAN);
        ExpectWithin(name + ": reduction of a 500 Hz tone", c.lowToneReduction, NAN, p.lowToneMax);
    }
}

// Parallel presets keep part of the dry signal: the same preset fully wet reduces more.
TEST_F(FactoryPresets, ParallelPresetsReduceLessThanTheirFullyWetSelves) {
    int32_t parallel = 0;
    for (int32_t i = 0; i < list->GetSubItemCount(); ++i) {
        KivXMLItem& settings = list->GetSubItemAt(i);
        if (Numbers(settings)["parameterdepth"] >= 1.0) continue;
        ++parallel;
        const double mixed = Measure(settings).loudReduction;
        settings.SetAttribute(KivString("parameterdepth"), KivString("1"));
        const double wet = Measure(settings).loudReduction;
        EXPECT_LT(mixed, 0.8 * wet) << KivPresetTree::GetName(settings).ToUTF8();
    }
    EXPECT_EQ(parallel, 2);
}

// "Common" holds what a new instance has: loading a factory preset changes only what the
// preset names, whatever was loaded before.
TEST_F(FactoryPresets, CommonSettingsAreThoseOfANewInstance) {
    // A preset that names nothing of its own is the "Common" item alone.
    const std::string text = TandrelFactoryPresetDocument();
    const size_t start = text.find("<Common"), end = text.find("</Common>");
    ASSERT_NE(start, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    const std::string document =
        "<FactoryPresets>" + text.substr(start, end + 9 - start) + "<preset name=\"probe\"/></FactoryPresets>";
    KivXMLItem probe;
    KivFactoryPresets::ListPresets(document.c_str(), probe);
    ASSERT_EQ(probe.GetSubItemCount(), 1);
    const KivXMLItem& common = probe.GetSubItemAt(0);

    Instance fresh(nullptr);
    KivXMLItem stored(KivString("settings"));
    fresh.plugin.StoreLiveSettings(stored, true);
    int32_t compared = 0;
    for (int32_t i = 0; i < common.GetAttributeCount(); ++i) {
        const KivAttribute& attribute = common.GetAttributeAt(i);
        if (attribute.name.EqualsFolded(KivString("name"))) continue;
        ASSERT_TRUE(stored.HasAttribute(attribute.name)) << attribute.name.ToUTF8();
        const std::string expected = attribute.value.ToUTF8(), actual = stored.GetAttribute().ToUTF8();
        char* endExpected = nullptr;
        char* endActual = nullptr;
        const double x = std::strtod(expected.c_str(), &endExpected), y = std::strtod(actual.c_str(), &endActual);
        if (*endExpected == 0 && *endActual == 0) EXPECT_NEAR(x, y, 1e-9 * std::max(1.0, std::fabs(y))) << attribute.name.ToUTF8();
        else EXPECT_EQ(expected, actual) << attribute.name.ToUTF8();
        ++compared;
    }
    EXPECT_GE(compared, 40);
    // The side-chain equaliser's default bands too.
    ASSERT_TRUE(common.HasSubItem(KivString("SideChainEq")));
    ASSERT_TRUE(stored.HasSubItem(KivString("SideChainEq")));
    const KivXMLItem& bands = common.GetSubItem(KivString("SideChainEq"));
    const KivXMLItem& storedBands = stored.GetSubItem(KivString("SideChainEq"));
    ASSERT_EQ(bands.GetSubItemCount(), storedBands.GetSubItemCount());
    for (int32_t b = 0; b < bands.GetSubItemCount(); ++b) {
        for (const char* key : {"Frequency", "Gain", "Q"}) {
            EXPECT_NEAR(std::atof(bands.GetSubItemAt(b).GetAttribute(KivString(key)).ToUTF8().c_str()),
                        std::atof(storedBands.GetSubItemAt(b).GetAttribute(KivString(key)).ToUTF8().c_str()), 1e-9)
                << "band " << b << " " << key;
        }
    }
}

}  // namespace
