// The factory folder of a preset library: built from the product's document, completed from
// its common settings, loadable, never written into the user's file and never changed.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/kiv_exception.h"
#include "presets/library/kiv_factory_presets.h"
#include "presets/library/kiv_preset_manager.h"
#include "presets/library/kiv_preset_tree.h"
#include "tests/presets/library/kiv_preset_test_support.h"

namespace {

using namespace PresetTest;
using Manager = KivPresetManagerT<Owner>;

constexpr const char* kFactory = R"(<FactoryPresets>
  <Common parameter0="0.5" parameter1Enum="Left"><Controllers cc="7"/></Common>
  <preset name="Loud" parameter0="0.9"/>
  <Directory name="Quiet">
    <preset name="Right quiet" parameter0="0.1" parameter1Enum="Right"><Controllers cc="64"/></preset>
  </Directory>
</FactoryPresets>)";

class FactoryPresetsTest : public FolderTest {};

TEST_F(FactoryPresetsTest, FactoryFolderLoadsCompletedPresetsAndStaysOutOfTheUsersFile) {
    Owner owner{Folder()};
    Manager manager(owner);
    manager.GetLibrary().SetFactoryPresets(kFactory);
    manager.Open();
    KivXMLItem* factory = KivPresetTree::FindFolder(manager.GetRoot(), "Factory");
    ASSERT_NE(factory, nullptr);
    EXPECT_TRUE(KivFactoryPresets::IsReadOnly(*factory));

    // A preset that names only some settings gets the others from "Common", whatever the
    // owner held before.
    owner.gain = "0.3";
    owner.mode = "Centre";
    owner.controller = "1";
    manager.LoadPreset(*KivPresetTree::FindPresetPath(*factory, "Loud"));
    EXPECT_EQ(owner.Settings(), "0.9 Left 7");
    manager.LoadPreset(*KivPresetTree::FindPresetPath(*factory, "Quiet/Right quiet"));
    EXPECT_EQ(owner.Settings(), "0.1 Right 64");

    // The user's own preset is saved; the factory folder is not.
    manager.StorePreset("Mine", manager.GetRoot());
    const std::string file = Read("presets.xml");
    EXPECT_NE(file.find("Mine"), std::string::npos);
    EXPECT_EQ(file.find("Factory"), std::string::npos);
    EXPECT_EQ(file.find("Loud"), std::string::npos);

    // Reading the file again brings back one factory folder, not two.
    manager.Open();
    int32_t folders = 0;
    for (int32_t i = 0; i < manager.GetRoot().GetSubItemCount(); ++i)
        folders += KivPresetTree::GetName(manager.GetRoot().GetSubItemAt(i)) == KivString("Factory") ? 1 : 0;
    EXPECT_EQ(folders, 1);
}

TEST_F(FactoryPresetsTest, NothingInTheFactoryFolderCanBeChanged) {
    Owner owner{Folder()};
    Manager manager(owner);
    manager.GetLibrary().SetFactoryPresets(kFactory);
    manager.Open();
    KivXMLItem& factory = *KivPresetTree::FindFolder(manager.GetRoot(), "Factory");
    KivXMLItem& loud = *KivPresetTree::FindPreset(factory, "Loud");
    KivXMLItem& quiet = *KivPresetTree::FindFolder(factory, "Quiet");
    auto refused = [](const std::function<void()>& change) {
        try {
            change();
        } catch (const KivException& failure) {
            return failure.GetCode() == KivException::kInvalidArgument;
        }
        return false;
    };
    EXPECT_TRUE(refused([&] { manager.StorePreset("Loud", factory); }));
    EXPECT_TRUE(refused([&] { manager.StorePreset("New", quiet); }));
    EXPECT_TRUE(refused([&] { manager.AddFolder(factory, "Sub"); }));
    EXPECT_TRUE(refused([&] { manager.Rename(loud, "Louder"); }));
    EXPECT_TRUE(refused([&] { manager.Delete(loud); }));
    EXPECT_TRUE(refused([&] { manager.Delete(factory); }));
    EXPECT_TRUE(refused([&] { manager.Rename(quiet, "Soft"); }));
    EXPECT_TRUE(refused([&] { manager.ImportFolder(quiet, PathOf("any.kivpresets")); }));
    EXPECT_NE(KivPresetTree::FindPresetPath(factory, "Quiet/Right quiet"), nullptr);
    EXPECT_NE(KivPresetTree::FindPreset(factory, "Loud"), nullptr);
    // Exporting copies them out, which the user may then change.
    manager.ExportFolder(factory, PathOf("factory.kivpresets"));
    EXPECT_NE(Read("factory.kivpresets").find("Right quiet"), std::string::npos);
}

TEST_F(FactoryPresetsTest, UnreadableFactoryDocumentLeavesTheLibraryUnloaded) {
    Owner owner{Folder()};
    Manager manager(owner);
    manager.GetLibrary().SetFactoryPresets("<FactoryPresets><preset name=\"cut\"");
    EXPECT_THROW(manager.Open(), KivException);
    EXPECT_FALSE(manager.GetLibrary().IsLoaded());
}

}  // namespace
