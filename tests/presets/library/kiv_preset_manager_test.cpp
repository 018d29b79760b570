#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/kiv_exception.h"
#include "presets/library/kiv_preset_exchange_index.h"
#include "presets/library/kiv_preset_manager.h"
#include "presets/library/kiv_preset_tree.h"
#include "tests/presets/library/kiv_preset_test_support.h"

namespace {

using namespace PresetTest;
using Manager = KivPresetManagerT<Owner>;

const std::string kDefaultSettingsDocument = std::string(kHeader) +
                                             "<settings parameter0=\"0.5\" parameter1Enum=\"Left\">\n"
                                             "\t<Controllers cc=\"7\"/>\n"
                                             "</settings>\n";

class PresetManagerTest : public FolderTest {
protected:
    Owner OwnerHere() const { return Owner{Folder()}; }
};

TEST_F(PresetManagerTest, MissingFileIsAnEmptyLibraryAndFirstStoreWritesThePackedForm) {
    Owner owner{PathOf("Kestrune/TandrelMini")};  // the folder does not exist yet
    Manager manager(owner);
    manager.Open();
    EXPECT_EQ(manager.GetRoot().GetSubItemCount(), 0);
    manager.StorePreset("Init", manager.GetRoot());

    EXPECT_EQ(Read("Kestrune/TandrelMini/presets.xml"),
              std::string(kHeader) + "<presets>\n\t<preset compressed=\"1\" name=\"Init\">" +
                  Hex(kDefaultSettingsDocument) + "</preset>\n</presets>\n");
}

TEST_F(PresetManagerTest, StoringUnderAnExistingNameReplacesThatPresetAndDropsItsExchangeIndex) {
    Owner owner = OwnerHere();
    Manager manager(owner);
    manager.Open();
    KivPresetExchangeIndex::Assign(manager.StorePreset("Init", manager.GetRoot()), 12);
    owner.gain = "0.75";
    manager.StorePreset("INIT", manager.GetRoot());

    ASSERT_EQ(manager.GetRoot().GetSubItemCount(), 1);
    KivXMLItem& preset = manager.GetRoot().GetSubItemAt(0);
    int32_t index = 0;
    EXPECT_FALSE(KivPresetExchangeIndex::Read(preset, index));
    owner.gain = "0";
    manager.LoadPreset(preset);
    EXPECT_EQ(owner.gain.ToUTF8(), "0.75");
}

// An old-form preset holds its settings as its own attributes and subitems.
const std::string kOldFormLibrary = std::string(kHeader) +
                                    "<presets>\n"
                                    "\t<Preset ExchangeIndex=\"4\" name=\"Old\" parameter0=\"0.25\">\n"
                                    "\t\t<Controllers cc=\"11\"/>\n"
                                    "\t</Preset>\n"
                                    "\t<DIRECTORY name=\"Folder\">\n"
                                    "\t\t<PRESET name=\"Inner\" parameter1Enum=\"Mid\"/>\n"
                                    "\t</DIRECTORY>\n"
                                    "</presets>\n";

TEST_F(PresetManagerTest, OldFormPresetsOfAnyCaseAreRewrittenPackedWithTheSameSettings) {
    Write("presets.xml", kOldFormLibrary);
    KivXMLItem oldForm;
    oldForm.SetName("Preset");
    oldForm.SetAttribute("name", "Old");
    oldForm.SetAttribute("parameter0", "0.25");
    oldForm.AddSubItem("Controllers").SetAttribute("cc", "11");
    Owner before = OwnerHere();
    Manager(before).LoadPreset(oldForm);

    Owner after = OwnerHere();
    Manager manager(after);
    manager.Open();
    EXPECT_EQ(Read("presets.xml"), kOldFormLibrary) << "loading alone does not write";
    manager.GetLibrary().Save();
    KivXMLItem& old = *KivPresetTree::FindPresetPath(manager.GetRoot(), "Old");
    manager.LoadPreset(old);
    EXPECT_EQ(after.Settings(), before.Settings());
    EXPECT_EQ(after.Settings(), "0.25 Left 11");

    const std::string oldSettings = std::string(kHeader) +
                                    "<settings parameter0=\"0.25\">\n"
                                    "\t<Controllers cc=\"11\"/>\n"
                                    "</settings>\n";
    const std::string innerSettings = std::string(kHeader) + "<settings parameter1Enum=\"Mid\"/>\n";
    EXPECT_EQ(Read("presets.xml"), std::string(kHeader) +
                                       "<presets>\n"
                                       "\t<Preset compressed=\"1\" ExchangeIndex=\"4\" name=\"Old\">" +
                                       Hex(oldSettings) +
                                       "</Preset>\n"
                                       "\t<DIRECTORY name=\"Folder\">\n"
                                       "\t\t<PRESET compressed=\"1\" name=\"Inner\">" +
                                       Hex(innerSettings) +
                                       "</PRESET>\n"
                                       "\t</DIRECTORY>\n"
                                       "</presets>\n");
}

TEST_F(PresetManagerTest, PackedTextSplitOverLinesStillLoads) {
    const std::string digits = Hex(kDefaultSettingsDocument);
    Write("presets.xml", std::string(kHeader) + "<presets><preset name=\"Split\" compressed=\"1\">\n" +
                             digits.substr(0, 40) + "\n  " + digits.substr(40) + "\n</preset></presets>\n");
    Owner owner = OwnerHere();
    owner.gain = owner.mode = owner.controller = "x";
    Manager manager(owner);
    manager.Open();
    manager.LoadPreset(*KivPresetTree::FindPresetPath(manager.GetRoot(), "Split"));
    EXPECT_EQ(owner.Settings(), "0.5 Left 7");
}

TEST_F(PresetManagerTest, FoldersNestToAnyDepthAndTheExchangeWalkReachesEveryLevel) {
    Owner owner = OwnerHere();
    Manager manager(owner);
    manager.Open();
    KivXMLItem* folder = &manager.GetRoot();
    std::string path;
    for (const char* name : {"A", "B", "C", "D", "E"}) {
        manager.StorePreset(KivString("In ") + name, *folder);
        folder = &manager.AddFolder(*folder, name);
        path += std::string(name) + "/";
    }
    manager.StorePreset("Deepest", *folder);
    int32_t next = 100;
    KivPresetExchangeIndex::ForEachPreset(manager.GetRoot(),
                                          [&](KivXMLItem& preset) { KivPresetExchangeIndex::Assign(preset, next++); });
    manager.GetLibrary().Save();

    Manager reopened(owner);
    reopened.Open();
    ASSERT_NE(KivPresetTree::FindPresetPath(reopened.GetRoot(), KivString::FromUTF8(path + "Deepest")), nullptr);
    std::vector<std::string> visited;
    KivPresetExchangeIndex::ForEachPreset(reopened.GetRoot(), [&](KivXMLItem& preset) {
        int32_t index = -1;
        EXPECT_TRUE(KivPresetExchangeIndex::Read(preset, index));
        visited.push_back(KivPresetTree::GetName(preset).ToUTF8() + "=" + std::to_string(index));
    });
    EXPECT_EQ(visited, (std::vector<std::string>{"In A=100", "In B=101", "In C=102", "In D=103", "In E=104",
                                                 "Deepest=105"}));
}

TEST_F(PresetManagerTest, RenameAndDeleteReachTheFile) {
    Owner owner = OwnerHere();
    Manager manager(owner);
    manager.Open();
    KivXMLItem& drums = manager.AddFolder(manager.GetRoot(), "Drums");
    manager.StorePreset("Kick", drums);
    KivXMLItem& snare = manager.StorePreset("Snare", drums);
    KivXMLItem& bus = manager.AddFolder(drums, "Bus");
    manager.StorePreset("Glue", bus);
    manager.StorePreset("Keep", manager.GetRoot());

    manager.Rename(drums, "Percussion");
    manager.Rename(snare, "Rim");
    manager.Delete(bus);
    manager.Delete(*KivPresetTree::FindPresetPath(manager.GetRoot(), "Percussion/kick"));
    EXPECT_THROW(manager.Delete(manager.GetRoot()), KivException);

    Manager reopened(owner);
    reopened.Open();
    KivXMLItem& root = reopened.GetRoot();
    EXPECT_EQ(KivPresetTree::FindFolderPath(root, "Drums"), nullptr);
    ASSERT_NE(KivPresetTree::FindFolderPath(root, "Percussion"), nullptr);
    EXPECT_EQ(KivPresetTree::FindFolderPath(root, "Percussion")->GetSubItemCount(), 1);
    EXPECT_NE(KivPresetTree::FindPresetPath(root, "Percussion/Rim"), nullptr);
    EXPECT_NE(KivPresetTree::FindPresetPath(root, "Keep"), nullptr);
}

}  // namespace
