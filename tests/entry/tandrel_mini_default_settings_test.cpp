// The family's default settings through the built library, as a session that opens many
// instances meets them: every new instance starts with the defaults the file holds now, also
// after the file changed under a running process (another instance's "Save as default", or
// another process's), and instances already open keep their settings. Linux only: the data
// folder is put in a temporary place through XDG_DATA_HOME.
#if !defined(_WIN32)
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

namespace fs = std::filesystem;

// Parameter 0 is the first processor's threshold, host value 0..1.
constexpr int32_t kThreshold = 0;

class TandrelMiniDefaultSettings : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = fs::temp_directory_path() / ("kiv-defaults-" + std::to_string(getpid()));
        fs::remove_all(base_);
        fs::create_directories(base_);
        setenv("XDG_DATA_HOME", base_.c_str(), 1);
        // The first instance holds the library, so that the process-wide state under test
        // (the parsed defaults, the copied old folder) lives across the instances below.
        holder_ = Open();
    }
    void TearDown() override {
        holder_.reset();
        unsetenv("XDG_DATA_HOME");
        fs::remove_all(base_);
    }

    static std::unique_ptr<KivVst2Plugin> Open() {
        auto plugin = std::make_unique<KivVst2Plugin>();
        EXPECT_TRUE(plugin->Load(KIV_TANDREL_MINI_PATH)) << plugin->ErrorText();
        plugin->Open();
        return plugin;
    }

    // The live settings of `plugin` as a default-settings document: the chunk's root renamed,
    // without the slot index and the other slots.
    static std::string DefaultsDocument(KivVst2Plugin& plugin) {
        const std::vector<uint8_t> chunk = plugin.GetChunk();
        std::string text(chunk.begin(), chunk.end());
        text = std::regex_replace(text, std::regex("<\\?xml[^>]*\\?>"), "");
        text = std::regex_replace(text, std::regex(" PresetIndex=\"[0-9]+\""), "");
        text = std::regex_replace(text, std::regex("<Preset[0-7][^>]*/>|<Preset([0-7])[^>]*>[\\s\\S]*?</Preset\\1>"), "");
        text = std::regex_replace(text, std::regex("^\\s*<([A-Za-z0-9_]+)"), "<DefaultSettings");
        text = std::regex_replace(text, std::regex("</[A-Za-z0-9_]+>\\s*$"), "</DefaultSettings>");
        return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<GlobalSettings>" + text + "</GlobalSettings>\n";
    }

    // Written the way a second process would: a new file put in place.
    void WriteDefaults(const fs::path& folder, const std::string& document) {
        fs::create_directories(folder);
        const fs::path temporary = folder / "other-process.tmp";
        std::ofstream(temporary) << document;
        fs::rename(temporary, folder / "Tandrel.settings.xml");
    }

    fs::path NewFolder() const { return base_ / "Kestrune" / "TandrelMini"; }

    fs::path base_;
    std::unique_ptr<KivVst2Plugin> holder_;
};

TEST_F(TandrelMiniDefaultSettings, EveryNewInstanceStartsWithTheDefaultsTheFileHoldsNow) {
    const float factory = holder_->GetParameter(kThreshold);
    ASSERT_NE(factory, 0.25f);

    // Defaults saved elsewhere while the process runs: the next instance starts with them.
    holder_->SetParameter(kThreshold, 0.25f);
    WriteDefaults(NewFolder(), DefaultsDocument(*holder_));
    holder_->SetParameter(kThreshold, factory);
    std::unique_ptr<KivVst2Plugin> first = Open();
    EXPECT_FLOAT_EQ(first->GetParameter(kThreshold), 0.25f);
    std::unique_ptr<KivVst2Plugin> second = Open();
    EXPECT_FLOAT_EQ(second->GetParameter(kThreshold), 0.25f);

    // Changed again: still seen by the next instance, while
    // the instances already open keep what they have.
    holder_->SetParameter(kThreshold, 0.75f);
    std::string document = DefaultsDocument(*holder_);
    WriteDefaults(NewFolder(), document);
    std::unique_ptr<KivVst2Plugin> third = Open();
    EXPECT_FLOAT_EQ(third->GetParameter(kThreshold), 0.75f);
    EXPECT_FLOAT_EQ(first->GetParameter(kThreshold), 0.25f);

    // A damaged file gives the factory settings, never a failing instance.
    WriteDefaults(NewFolder(), "<GlobalSettings><DefaultSettings");
    std::unique_ptr<KivVst2Plugin> fourth = Open();
    EXPECT_FLOAT_EQ(fourth->GetParameter(kThreshold), factory);
}

// Files left in the old place (directly under the data folder) are copied into the maker's
// folder once: defaults saved in the new place afterwards are not overwritten by the old
// file when the next instance opens.
TEST_F(TandrelMiniDefaultSettings, TheOldFolderIsCopiedOnceAndNeverOverwritesNewerDefaults) {
    const float factory = holder_->GetParameter(kThreshold);
    holder_->SetParameter(kThreshold, 0.3f);
    WriteDefaults(base_ / "TandrelMini", DefaultsDocument(*holder_));
    holder_->SetParameter(kThreshold, 0.6f);
    const std::string newer = DefaultsDocument(*holder_);
    holder_->SetParameter(kThreshold, factory);

    std::unique_ptr<KivVst2Plugin> first = Open();
    EXPECT_FLOAT_EQ(first->GetParameter(kThreshold), 0.3f);

    WriteDefaults(NewFolder(), newer);
    std::unique_ptr<KivVst2Plugin> second = Open();
    EXPECT_FLOAT_EQ(second->GetParameter(kThreshold), 0.6f);
    EXPECT_TRUE(fs::exists(base_ / "TandrelMini" / "Tandrel.settings.xml"));
}

}  // namespace
#endif  // !_WIN32
