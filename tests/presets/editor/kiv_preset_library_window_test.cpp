// The preset library window on a temporary library, driven by injected input; its dialogs
// are answered through the dialog hook, and every question is checked before it is answered.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_edit.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_list_box.h"
#include "gui/controls/kiv_message_window.h"
#include "gui/controls/kiv_static.h"
#include "gui/controls/kiv_static_multi_line.h"
#include "gui/controls/kiv_tree_control.h"
#include "gui/core/kiv_windows.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "presets/editor/kiv_editor_dialogs.h"
#include "presets/editor/kiv_preset_library_window.h"
#include "presets/editor/kiv_text_prompt_window.h"
#include "parameters/kiv_random_generator.h"
#include "presets/library/kiv_preset_texts.h"
#include "presets/library/kiv_preset_tree.h"
#include "tests/presets/editor/kiv_png_reference.h"
#include "tests/presets/library/kiv_preset_test_support.h"

namespace {

using Manager = KivPresetManagerT<PresetTest::Owner>;
constexpr auto kLeft = KivMouseButton::kLeft;

class PresetLibraryWindowTest : public PresetTest::FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        system = new KivWindowSystemOffscreen();
        windows = std::make_unique<KivWindows>(system);
        owner.directory = Folder();
        manager = std::make_unique<Manager>(owner);
        manager->Open();
        access = std::make_unique<KivPresetLibraryAccessT<PresetTest::Owner>>(*manager);
        window = std::make_unique<KivPresetLibraryWindow>(*access);
        window->Show();
        system->ProcessPendingEvents();
        KivEditorDialogs::SetShowHook([this](KivWindow& dialog) { Answer(dialog); });
    }
    void TearDown() override {
        KivEditorDialogs::SetShowHook(nullptr);
        window.reset();
        windows.reset();
        FolderTest::TearDown();
        EXPECT_TRUE(answers.empty()) << "dialogs expected but not opened: " << answers.size();
    }

    // --- the user's side of the dialogs ---------------------------------------------------------
    // Expects a text prompt with `prompt` (and `proposal` in its field) and types `text`.
    void WillType(const char* prompt, const char* proposal, const std::string& text) {
        answers.push_back([=, this](KivWindow& dialog) {
            auto* asked = dynamic_cast<KivTextPromptWindow*>(&dialog);
            ASSERT_NE(asked, nullptr);
            EXPECT_EQ(asked->GetPrompt().GetText(), KivString(prompt));
            if (proposal != nullptr) {
                EXPECT_EQ(asked->GetField().GetShownText(), KivString(proposal));
            }
            system->ProcessPendingEvents();
            KivPngReference::SaveIfAsked(*system->GetScreen(dialog), "text_prompt");
            system->InjectKeyDown(dialog, KivKeyCode::kEnd);
            for (int i = 0; i < 200; ++i) system->InjectKeyDown(dialog, KivKeyCode::kBackspace);
            for (const char c : text) system->InjectCharacter(dialog, static_cast<char32_t>(c));
            system->InjectKeyDown(dialog, KivKeyCode::kEnter);
        });
    }
    // Expects a question with exactly `question` and answers yes or no.
    void WillAnswer(const char* question, bool yes) {
        answers.push_back([=, this](KivWindow& dialog) {
            auto* asked = dynamic_cast<KivMessageWindow*>(&dialog);
            ASSERT_NE(asked, nullptr);
            EXPECT_EQ(asked->GetMessage().GetText(), KivString(question));
            system->InjectKeyDown(dialog, yes ? KivKeyCode::kEnter : KivKeyCode::kEscape);
        });
    }
    void Answer(KivWindow& dialog) {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected dialog " << system->GetTitle(dialog).ToUTF8();
            system->InjectKeyDown(dialog, KivKeyCode::kEscape);
            return;
        }
        auto answer = std::move(answers.front());
        answers.pop_front();
        answer(dialog);
    }

    // --- the main window --------------------------------------------------------------------------
    void ClickAt(KivPoint point) {
        system->InjectMouseDown(*window, point, kLeft);
        system->InjectMouseUp(*window, point, kLeft);
        system->ProcessPendingEvents();
    }
    void Click(const char* caption) {
        KivButton* button = window->GetButton(caption);
        ASSERT_NE(button, nullptr) << caption;
        ASSERT_TRUE(button->IsEnabled()) << caption;
        const KivRect rect = button->GetWindowRect();
        ClickAt(KivPoint{rect.left + 5, rect.top + 5});
    }
    void ChooseFolder(std::vector<KivString> path) {
        path.insert(path.begin(), KivString(KivPresetLibraryWindow::kTopFolderName));
        KivTreeControl& tree = window->GetFolderTree();
        const KivRect row = tree.RowRect(tree.RowOf(tree.FindPath(path)));
        const KivRect at = tree.GetWindowRect();
        ClickAt(KivPoint{at.left + row.right - 10, at.top + row.top + 4});
    }
    void ChoosePreset(const char* name) {
        KivListBox& list = window->GetPresetList();
        for (int32_t index = 0; index < list.GetItemCount(); ++index) {
            if (list.GetItem(index) != KivString(name)) continue;
            const KivRect row = list.RowRect(index);
            const KivRect at = list.GetWindowRect();
            return ClickAt(KivPoint{at.left + row.left + 10, at.top + row.top + 4});
        }
        ADD_FAILURE() << "no preset " << name;
    }
    std::vector<std::string> ShownPresets() {
        std::vector<std::string> names;
        for (int32_t index = 0; index < window->GetPresetList().GetItemCount(); ++index)
            names.push_back(window->GetPresetList().GetItem(index).ToUTF8());
        return names;
    }
    // What the library file on the disk holds at `path` ("Folder/Preset"), as its settings.
    std::string OnDisk(const char* path) {
        PresetTest::Owner reader;
        reader.directory = Folder();
        Manager fresh(reader);
        fresh.Open();
        KivXMLItem* preset = KivPresetTree::FindPresetPath(fresh.GetRoot(), KivString(path));
        if (preset == nullptr) return "missing";
        fresh.LoadPreset(*preset);
        return reader.gain.ToUTF8();
    }

    KivWindowSystemOffscreen* system = nullptr;
    std::unique_ptr<KivWindows> windows;
    PresetTest::Owner owner;
    std::unique_ptr<Manager> manager;
    std::unique_ptr<KivPresetLibraryAccessT<PresetTest::Owner>> access;
    std::unique_ptr<KivPresetLibraryWindow> window;
    std::deque<std::function<void(KivWindow&)>> answers;
};

TEST_F(PresetLibraryWindowTest, StoreReplacesOnlyAfterYesRenameAndDeleteAskFirst) {
    owner.gain = "0.7";
    WillType(KivPresetTexts::kNewPresetPrompt, KivPresetTexts::kNewPresetProposal, "Warm bus");
    Click("Store");
    EXPECT_EQ(ShownPresets(), std::vector<std::string>{"Warm bus"});
    EXPECT_EQ(OnDisk("Warm bus"), "0.7");

    owner.gain = "0.9";
    WillType(KivPresetTexts::kNewPresetPrompt, nullptr, "warm BUS");
    WillAnswer(KivPresetTexts::kConfirmReplacePreset, false);
    Click("Store");
    EXPECT_EQ(OnDisk("Warm bus"), "0.7");
    WillType(KivPresetTexts::kNewPresetPrompt, nullptr, "Warm bus");
    WillAnswer(KivPresetTexts::kConfirmReplacePreset, true);
    Click("Store");
    EXPECT_EQ(OnDisk("Warm bus"), "0.9");
    EXPECT_EQ(ShownPresets(), std::vector<std::string>{"Warm bus"});

    owner.gain = "0.2";
    WillType(KivPresetTexts::kNewPresetPrompt, nullptr, "Gentle");
    Click("Store");
    // Renaming onto another preset's name replaces it only after yes.
    ChoosePreset("Gentle");
    WillType("Enter new name of the preset", "Gentle", "Warm bus");
    WillAnswer(KivPresetTexts::kConfirmReplacePreset, false);
    Click("Rename");
    EXPECT_EQ(ShownPresets(), (std::vector<std::string>{"Warm bus", "Gentle"}));
    WillType("Enter new name of the preset", "Gentle", "Gentle glue");
    Click("Rename");
    EXPECT_EQ(ShownPresets(), (std::vector<std::string>{"Warm bus", "Gentle glue"}));
    EXPECT_EQ(OnDisk("Gentle glue"), "0.2");

    ChoosePreset("Warm bus");
    WillAnswer(KivPresetTexts::kConfirmDeletePreset, false);
    system->InjectKeyDown(*window, KivKeyCode::kDelete);  // the list has the focus
    system->ProcessPendingEvents();
    EXPECT_EQ(OnDisk("Warm bus"), "0.9");
    WillAnswer(KivPresetTexts::kConfirmDeletePreset, true);
    Click("Delete");
    EXPECT_EQ(OnDisk("Warm bus"), "missing");
    EXPECT_EQ(ShownPresets(), std::vector<std::string>{"Gentle glue"});

    // Loading hands the stored settings to the owner; the window stays open.
    owner.gain = "0.5";
    ChoosePreset("Gentle glue");
    Click("Load");
    EXPECT_EQ(owner.gain, KivString("0.2"));
    system->Invalidate(*window, nullptr);
    system->ProcessPendingEvents();
    KivPngReference::SaveIfAsked(*system->GetScreen(*window), "preset_library");
}

TEST_F(PresetLibraryWindowTest, FoldersAndAnExportImportRoundTripWithConfirmations) {
    WillType(KivPresetTexts::kNewFolderPrompt, "New folder 1", "Drums");
    Click("New folder");
    EXPECT_EQ(window->GetFolderTree().GetSelectedPath(), (std::vector<KivString>{"Presets", "Drums"}));
    owner.gain = "0.3";
    WillType(KivPresetTexts::kNewPresetPrompt, nullptr, "Kick");
    Click("Store");
    WillType(KivPresetTexts::kNewFolderPrompt, "New folder 1", "Room");
    Click("New folder");  // below Drums
    ChooseFolder({"Drums", "Room"});
    WillType(KivPresetTexts::kRenameFolderPrompt, "Room", "Rooms");
    Click("Rename folder");
    EXPECT_NE(window->GetFolderTree().FindPath({"Presets", "Drums", "Rooms"}), nullptr);
    EXPECT_EQ(OnDisk("Drums/Kick"), "0.3");

    // Export Drums, change the library, import the file back: Drums is as it was exported.
    const KivString file = PathOf("drums");
    ChooseFolder({"Drums"});
    WillType("File name (Preset directories, *.kivpresets)", "", file.ToUTF8());
    Click("Export");
    ASSERT_TRUE(Exists("drums.kivpresets"));
    const std::string exported = Read("drums.kivpresets");
    ChoosePreset("Kick");
    WillAnswer(KivPresetTexts::kConfirmDeletePreset, true);
    Click("Delete");
    owner.gain = "0.8";
    WillType(KivPresetTexts::kNewPresetPrompt, nullptr, "Snare");
    Click("Store");
    // Exporting over the file asks first; no keeps the file as it was.
    const std::string fullName = (file + ".kivpresets").ToUTF8();
    WillType("File name (Preset directories, *.kivpresets)", fullName.c_str(), fullName);
    WillAnswer("The file already exists. Are you sure you want to replace it?", false);
    Click("Export");
    EXPECT_EQ(Read("drums.kivpresets"), exported);
    // Import asks before it replaces the folder's contents; no changes nothing.
    WillType("File name (Preset directories, *.kivpresets)", nullptr, file.ToUTF8());
    WillAnswer(KivPresetTexts::kConfirmImport, false);
    Click("Import");
    EXPECT_EQ(ShownPresets(), std::vector<std::string>{"Snare"});
    WillType("File name (Preset directories, *.kivpresets)", nullptr, file.ToUTF8());
    WillAnswer(KivPresetTexts::kConfirmImport, true);
    Click("Import");
    EXPECT_EQ(ShownPresets(), std::vector<std::string>{"Kick"});
    EXPECT_EQ(OnDisk("Drums/Kick"), "0.3");
    system->Invalidate(*window, nullptr);
    system->ProcessPendingEvents();
    KivPngReference::SaveIfAsked(*system->GetScreen(*window), "preset_library_folders");
    EXPECT_EQ(OnDisk("Drums/Snare"), "missing");
    EXPECT_NE(window->GetFolderTree().FindPath({"Presets", "Drums", "Rooms"}), nullptr);

    // Deleting a folder takes everything in it, after yes.
    ChooseFolder({"Drums"});
    WillAnswer(KivPresetTexts::kConfirmDeleteFolder, false);
    Click("Delete folder");
    EXPECT_EQ(OnDisk("Drums/Kick"), "0.3");
    WillAnswer(KivPresetTexts::kConfirmDeleteFolder, true);
    Click("Delete folder");
    EXPECT_EQ(OnDisk("Drums/Kick"), "missing");
    EXPECT_EQ(window->GetFolderTree().GetSelectedPath(), std::vector<KivString>{"Presets"});
    EXPECT_FALSE(window->GetButton("Delete folder")->IsEnabled());  // the top folder stays
}

TEST_F(PresetLibraryWindowTest, RandomTakesEverySettingFromAPresetDrawnForIt) {
    EXPECT_FALSE(window->GetButton("Random")->IsEnabled());  // nothing to mix yet
    const char* const presets[3][4] = {
        {"A", "0.1", "Left", "1"}, {"B", "0.2", "Right", "2"}, {"C", "0.3", "Mid", "3"}};
    for (const auto& preset : presets) {
        owner.gain = preset[1];
        owner.mode = preset[2];
        owner.controller = preset[3];
        WillType(KivPresetTexts::kNewPresetPrompt, nullptr, preset[0]);
        Click("Store");
    }
    // Seed 1 draws 0.00125, 0.5636, 0.1933, 0.8087 (seed * 214013 + 2531011, bits 16..30
    // over 32767): the structure of A, then "parameter0" from B, "parameter1Enum" from A
    // and the controller from C, each draw times three presets.
    KivRandomGenerator::SetSeed(1);
    Click("Random");
    EXPECT_EQ(owner.Settings(), "0.2 Left 3");
    // The library itself is untouched.
    EXPECT_EQ(ShownPresets(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(OnDisk("B"), "0.2");
}

TEST_F(PresetLibraryWindowTest, RunReportsAnUnreadableLibraryAndOpensOtherwise) {
    window.reset();
    Write("presets.xml", "<presets><preset name=");  // cut short
    answers.push_back([this](KivWindow& dialog) {
        EXPECT_NE(dynamic_cast<KivMessageWindow*>(&dialog), nullptr);
        system->InjectKeyDown(dialog, KivKeyCode::kEnter);
    });
    KivPresetLibraryWindow::Run(nullptr, *manager);
    EXPECT_EQ(Read("presets.xml"), "<presets><preset name=");  // left as it was

    Write("presets.xml", std::string(PresetTest::kHeader) + "<presets/>\n");
    answers.push_back([this](KivWindow& dialog) {
        EXPECT_EQ(system->GetTitle(dialog), KivString("Preset library"));
        system->InjectKeyDown(dialog, KivKeyCode::kEscape);
    });
    KivPresetLibraryWindow::Run(nullptr, *manager);
}

}  // namespace
