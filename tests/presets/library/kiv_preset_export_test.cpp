#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/kiv_exception.h"
#include "presets/library/kiv_preset_manager.h"
#include "presets/library/kiv_preset_tree.h"
#include "tests/presets/library/kiv_preset_test_support.h"

namespace {

using namespace PresetTest;
using Manager = KivPresetManagerT<Owner>;

// "kind:name" of each item directly in `folder`, in order.
std::vector<std::string> Contents(const KivXMLItem& folder) {
    std::vector<std::string> names;
    for (int32_t index = 0; index < folder.GetSubItemCount(); ++index) {
        const KivXMLItem& item = folder.GetSubItemAt(index);
        names.push_back(item.GetName().ToUTF8() + ":" + KivPresetTree::GetName(item).ToUTF8());
    }
    return names;
}

class PresetExportTest : public FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        source_.directory = PathOf("source");
        target_.directory = PathOf("target");
    }
    Owner source_;
    Owner target_;
};

TEST_F(PresetExportTest, ExportedFolderReplacesExactlyTheContentOfTheImportFolder) {
    Manager source(source_);
    source.Open();
    KivXMLItem& mastering = source.AddFolder(source.GetRoot(), "Mastering");
    source_.gain = "0.125";
    source.StorePreset("Loud", mastering);
    source.StorePreset("Tape", source.AddFolder(mastering, "Warm"));
    source.StorePreset("Elsewhere", source.GetRoot());
    source.ExportFolder(mastering, PathOf("mastering.kivpresets"));

    Manager target(target_);
    target.Open();
    KivXMLItem& mine = target.AddFolder(target.GetRoot(), "Mine");
    target.StorePreset("Old one", mine);
    target.StorePreset("Older", target.AddFolder(mine, "Sub"));
    target.StorePreset("Outside", target.GetRoot());
    target.ImportFolder(mine, PathOf("mastering.kivpresets"));

    Manager reopened(target_);
    reopened.Open();
    KivXMLItem& root = reopened.GetRoot();
    EXPECT_EQ(Contents(root), (std::vector<std::string>{"Directory:Mine", "preset:Outside"}));
    EXPECT_EQ(Contents(*KivPresetTree::FindFolderPath(root, "Mine")),
              (std::vector<std::string>{"preset:Loud", "Directory:Warm"}));
    EXPECT_NE(KivPresetTree::FindPresetPath(root, "Mine/Warm/Tape"), nullptr);
    reopened.LoadPreset(*KivPresetTree::FindPresetPath(root, "Mine/Loud"));
    EXPECT_EQ(target_.gain.ToUTF8(), "0.125");
}

TEST_F(PresetExportTest, ExportFileHoldsTheFolderContentUnderExportPresets) {
    Manager source(source_);
    source.Open();
    source.AddFolder(source.GetRoot(), "Empty");
    source.ExportFolder(source.GetRoot(), PathOf("all.kivpresets"));
    EXPECT_EQ(Read("all.kivpresets"), std::string(kHeader) +
                                          "<ExportPresets>\n"
                                          "\t<Directory name=\"Empty\"/>\n"
                                          "</ExportPresets>\n");
}

TEST_F(PresetExportTest, UnusableImportFileChangesNothing) {
    Write("damaged.kivpresets", std::string(kHeader) + "<ExportPresets><preset name=\"A\">");
    Write("other.kivpresets", std::string(kHeader) + "<settings parameter0=\"1\"/>");
    Manager target(target_);
    target.Open();
    target.StorePreset("Precious", target.GetRoot());
    const std::string before = Read("target/presets.xml");

    EXPECT_THROW(target.ImportFolder(target.GetRoot(), PathOf("damaged.kivpresets")), KivException);
    EXPECT_THROW(target.ImportFolder(target.GetRoot(), PathOf("other.kivpresets")), KivException);
    EXPECT_THROW(target.ImportFolder(target.GetRoot(), PathOf("missing.kivpresets")), KivException);
    EXPECT_EQ(Contents(target.GetRoot()), (std::vector<std::string>{"preset:Precious"}));
    EXPECT_EQ(Read("target/presets.xml"), before);
}

}  // namespace
