// The plug-in's preset library through its window: a stored preset brings the live
// settings back, in the "Presets" folder of the data folder.
#include <gtest/gtest.h>

#include <memory>

#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_list_box.h"
#include "gui/core/kiv_windows.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "presets/editor/kiv_editor_dialogs.h"
#include "presets/editor/kiv_plugin_preset_library.h"
#include "presets/editor/kiv_preset_library_window.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"
#include "tests/presets/library/kiv_preset_test_support.h"

namespace {

class PluginPresetLibraryTest : public PresetTest::FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        system = new KivWindowSystemOffscreen();
        windows = std::make_unique<KivWindows>(system);
    }
    void TearDown() override {
        KivEditorDialogs::SetShowHook(nullptr);
        windows.reset();
        FolderTest::TearDown();
    }
    void Click(KivWindow& window, const char* caption) {
        auto& library = dynamic_cast<KivPresetLibraryWindow&>(window);
        const KivRect rect = library.GetButton(caption)->GetWindowRect();
        system->InjectMouseDown(window, KivPoint{rect.left + 5, rect.top + 5}, KivMouseButton::kLeft);
        system->InjectMouseUp(window, KivPoint{rect.left + 5, rect.top + 5}, KivMouseButton::kLeft);
    }

    UnityGainPlugin unity;
    KivWindowSystemOffscreen* system = nullptr;
    std::unique_ptr<KivWindows> windows;
};

TEST_F(PluginPresetLibraryTest, StoredPresetBringsTheLiveSettingsBack) {
    unity.plugin.SetParameter(0, 0.25, true);
    // In the library window: store under the proposed name, then close.
    KivEditorDialogs::SetShowHook([&](KivWindow& dialog) {
        if (auto* library = dynamic_cast<KivPresetLibraryWindow*>(&dialog)) {
            library->StoreCurrent();
            Click(dialog, "Close");
        } else {
            system->InjectKeyDown(dialog, KivKeyCode::kEnter);  // "Unnamed preset"
        }
    });
    KivPluginPresetLibrary::Run(nullptr, unity.plugin, Folder());
    EXPECT_TRUE(Exists("Presets/presets.xml"));

    unity.plugin.SetParameter(0, 0.75, true);
    KivEditorDialogs::SetShowHook([&](KivWindow& dialog) {
        auto& library = dynamic_cast<KivPresetLibraryWindow&>(dialog);
        EXPECT_EQ(library.GetPresetList().GetItem(0), KivString("Unnamed preset"));
        library.GetPresetList().Select(0);
        library.LoadSelected();
        Click(dialog, "Close");
    });
    KivPluginPresetLibrary::Run(nullptr, unity.plugin, Folder());
    EXPECT_DOUBLE_EQ(unity.plugin.GetParameter(0), 0.25);
}

}  // namespace
