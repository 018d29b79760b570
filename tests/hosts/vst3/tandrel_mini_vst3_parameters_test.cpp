// What a VST 3 host learns about TandrelMini's parameters from the built bundle: titles it can
// tell apart, the defaults a "reset to default" restores, steps and value lists for switches
// and choices, units, and display texts that parse back to themselves.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>

#include "hosts/vst3/interfaces/icomponent.h"
#include "hosts/vst3/interfaces/ieditcontroller.h"
#include "hosts/vst3/interfaces/iunitinfo.h"
#include "tests/hosts/vst3/tandrel_mini_bundle.h"

using namespace Vst3TestHost;

namespace {

constexpr ParamID kFirstController = 10000;
constexpr ParamID kBypass = 32767;
constexpr int32 kSamplesPerParameter = 2000;

std::string Narrow(const std::u16string& text) {
    std::string narrow;
    for (char16_t unit : text) narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    return narrow;
}

class TandrelMiniVst3Parameters : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(bundle.CreateInstance());
        for (int32 position = 0; position < controller->getParameterCount(); ++position) {
            ParameterInfo info{};
            ASSERT_EQ(controller->getParameterInfo(position, info), kResultOk);
            if (info.id < kFirstController || info.id == kBypass) plugin.push_back(info);
        }
    }
    std::string Display(ParamID id, double value) {
        String128 text{};
        EXPECT_EQ(controller->getParamStringByValue(id, value, text), kResultOk);
        return Narrow(FromString128(text));
    }
    const ParameterInfo& Titled(const std::u16string& title) {
        for (const ParameterInfo& info : plugin)
            if (FromString128(info.title) == title) return info;
        ADD_FAILURE() << "no parameter titled " << Narrow(title);
        return plugin.front();
    }

    TandrelMiniBundle bundle;
    IEditController*& controller = bundle.controller;
    std::vector<ParameterInfo> plugin;  // the plug-in's own and "Bypass"
};

TEST_F(TandrelMiniVst3Parameters, TitlesAreUniqueAndDefaultsAreTheFreshValues) {
    ASSERT_EQ(plugin.size(), 52u);  // 29 simple, 20 shape points, Side-chain, Channel mode, Bypass
    std::set<std::u16string> titles;
    for (const ParameterInfo& info : plugin) {
        const std::u16string title = FromString128(info.title);
        EXPECT_FALSE(title.empty()) << info.id;
        EXPECT_TRUE(titles.insert(title).second) << "repeated title " << Narrow(title);
        // A fresh instance holds its defaults: "reset to default" must not change a thing.
        EXPECT_NEAR(info.defaultNormalizedValue, controller->getParamNormalized(info.id), 1e-9) << Narrow(title);
    }
    // The switches, worked out from the product's switches: only Processor 1 starts on.
    EXPECT_EQ(Titled(u"Processor 1").defaultNormalizedValue, 1.0);
    for (const char16_t* off : {u"Processor 2", u"Gate", u"Maximize to 0 dB", u"Bypass"})
        EXPECT_EQ(Titled(off).defaultNormalizedValue, 0.0) << Narrow(off);
    // Input gain 0 dB in -24..+24 dB sits in the middle; threshold 1 at -12 dB is root
    // amplitude 0.5 in 0.01..1.
    EXPECT_DOUBLE_EQ(Titled(u"Input gain").defaultNormalizedValue, 0.5);
    EXPECT_NEAR(Titled(u"P1 Threshold").defaultNormalizedValue, (0.5 - 0.01) / 0.99, 1e-12);
    EXPECT_EQ(FromString128(Titled(u"P2 Ratio").shortTitle), u"P2 Rat");
}

// Choices keep a continuous face (a reopened Ardour session lost stepped ones), but every
// item sits at index / (items - 1).
TEST_F(TandrelMiniVst3Parameters, SwitchesAreListsAndChoicesShowTheirItems) {
    const ParameterInfo& mode = Titled(u"Mode");
    EXPECT_EQ(mode.stepCount, 0);
    EXPECT_EQ(Display(mode.id, 0.0), "Linear");
    EXPECT_EQ(Display(mode.id, 0.5), "Squared");
    EXPECT_EQ(Display(mode.id, 1.0), "Logarithmic");
    for (const char16_t* title : {u"Gate", u"Processor 1", u"Processor 2", u"Maximize to 0 dB", u"Bypass"}) {
        const ParameterInfo& info = Titled(title);
        EXPECT_EQ(info.stepCount, 1) << Narrow(title);
        EXPECT_EQ(Display(info.id, 0.0), "Off");
        EXPECT_EQ(Display(info.id, 1.0), "On");
    }
    // Continuous knobs stay continuous.
    EXPECT_EQ(Titled(u"P1 Ratio").stepCount, 0);
    EXPECT_FALSE(Titled(u"P1 Ratio").flags & ParameterInfo::kIsList);
}

TEST_F(TandrelMiniVst3Parameters, UnitsNameWhatTheDisplaysCarry) {
    EXPECT_EQ(FromString128(Titled(u"Input gain").units), u"dB");
    EXPECT_EQ(FromString128(Titled(u"Gate size").units), u"dB");
    EXPECT_EQ(FromString128(Titled(u"P2 Range").units), u"dB");
    EXPECT_EQ(FromString128(Titled(u"Dry/wet").units), u"%");
    EXPECT_EQ(FromString128(Titled(u"Attack").units), u"ms");
    EXPECT_EQ(FromString128(Titled(u"Mode").units), u"");
    // Every display of a parameter with a unit ends in it (or says what it is in words).
    for (const ParameterInfo& info : plugin) {
        const std::string unit = Narrow(FromString128(info.units));
        if (unit.empty()) continue;
        for (int32 step = 0; step <= 8; ++step) {
            const std::string shown = Display(info.id, step / 8.0);
            const bool endsInUnit = shown.size() > unit.size() && shown.compare(shown.size() - unit.size(), unit.size(), unit) == 0;
            const bool word = shown.find_first_of("0123456789") == std::string::npos;
            EXPECT_TRUE(endsInUnit || word) << Narrow(FromString128(info.title)) << ": " << shown;
        }
    }
}

// Whatever a parameter shows, typed back, shows the same again: every parameter at many
// values across its range, the ends included.
// Each panel of the editor is a unit below the root, in the order of its first parameter, and
// every parameter names its panel's unit: a host groups the 51 parameters as the editor does
// instead of listing them in one root. Bypass, the channel mode and the MIDI controllers belong
// to the root.
TEST_F(TandrelMiniVst3Parameters, EachPanelIsAUnitAndEveryParameterNamesIt) {
    IUnitInfo* units = Query<IUnitInfo>(bundle.component);
    ASSERT_NE(units, nullptr);
    const std::vector<std::u16string> panels{u"General parameters", u"Dynamic detection", u"Gate",
                                             u"Processor 1", u"Processor 2", u"Custom shape"};
    ASSERT_EQ(units->getUnitCount(), 1 + static_cast<int32>(panels.size()));
    std::map<UnitID, std::u16string> names;
    for (int32 index = 0; index < units->getUnitCount(); ++index) {
        UnitInfo info{};
        ASSERT_EQ(units->getUnitInfo(index, info), kResultTrue);
        EXPECT_EQ(info.programListId, kNoProgramListId);
        if (index == 0) {
            EXPECT_EQ(info.id, kRootUnitId);
            EXPECT_EQ(info.parentUnitId, kNoParentUnitId);
        } else {
            EXPECT_EQ(info.parentUnitId, kRootUnitId);
            EXPECT_EQ(FromString128(info.name), panels[static_cast<size_t>(index - 1)]);
        }
        EXPECT_TRUE(names.emplace(info.id, FromString128(info.name)).second) << "unit " << info.id << " twice";
    }
    UnitInfo beyond{};
    EXPECT_EQ(units->getUnitInfo(units->getUnitCount(), beyond), kResultFalse);

    // Panels by parameter index, as the VST 2.4 categories count them: 7 general, 7 detection,
    // 5 gate, 5 + 5 processors, 20 points. The side-chain choice and the channel mode, like
    // Bypass, belong to no panel (VST 2.4 hosts see no category for them either).
    const auto panelOf = [&](ParamID id) -> std::u16string {
        if (id == kBypass || id == 49 || id == 50) return u"Root";
        if (id < 7) return panels[0];
        if (id < 14) return panels[1];
        if (id < 19) return panels[2];
        if (id < 24) return panels[3];
        if (id < 29) return panels[4];
        return panels[5];
    };
    ASSERT_EQ(plugin.size(), 52u);
    for (const ParameterInfo& info : plugin) {
        ASSERT_EQ(names.count(info.unitId), 1u) << info.id;
        EXPECT_EQ(Narrow(names[info.unitId]), Narrow(panelOf(info.id))) << Narrow(FromString128(info.title));
    }
    ParameterInfo last{};
    ASSERT_EQ(controller->getParameterInfo(controller->getParameterCount() - 1, last), kResultOk);
    EXPECT_EQ(last.id, kFirstController + 129);
    EXPECT_EQ(last.unitId, kRootUnitId);
    units->release();
}

TEST_F(TandrelMiniVst3Parameters, EveryDisplayTextParsesBackToTheSameDisplay) {
    int32 texts = 0;
    std::map<std::string, int32> failures;
    for (const ParameterInfo& info : plugin) {
        const int32 samples = info.stepCount > 0 ? info.stepCount : kSamplesPerParameter;
        for (int32 step = 0; step <= samples; ++step) {
            const std::string shown = Display(info.id, static_cast<double>(step) / samples);
            std::u16string typed(shown.begin(), shown.end());
            ParamValue parsed = -1.0;
            const tresult result = controller->getParamValueByString(info.id, typed.data(), parsed);
            ++texts;
            if (result != kResultOk || parsed < 0.0 || parsed > 1.0 || Display(info.id, parsed) != shown)
                ++failures[Narrow(FromString128(info.title)) + ": \"" + shown + "\" -> " + Display(info.id, parsed)];
        }
    }
    EXPECT_GT(texts, 70000);
    for (const auto& [failure, count] : failures) ADD_FAILURE() << failure;
    // Text that means nothing is refused and leaves the answer alone.
    ParamValue untouched = 0.25;
    std::u16string nonsense = u"loud please";
    EXPECT_EQ(controller->getParamValueByString(Titled(u"Input gain").id, nonsense.data(), untouched), kResultFalse);
    EXPECT_EQ(untouched, 0.25);
}

}  // namespace
