#pragma once
#include <functional>
#include <vector>

#include "gui/core/kiv_event.h"
#include "gui/core/kiv_window.h"
#include "presets/editor/kiv_preset_library_access.h"

class KivButton;
class KivListBox;
class KivStatic;
class KivTreeControl;
class KivTreeItem;

// The preset library window: the library's folders as a tree on the left, the presets of the
// chosen folder on the right, and the operations under each. Loading (button, double-click
// or Enter) applies a preset and leaves the window open, so presets can be tried one after
// the other; Delete on the list deletes the chosen preset. Nothing is replaced or deleted
// without a yes to a question; failures are shown in a message window and leave the window
// usable.
class KivPresetLibraryWindow : public KivWindow {
public:
    // The name shown for the library's top folder.
    static constexpr const char* kTopFolderName = "Presets";
    static constexpr const char* kPresetFileExtension = ".kivpresets";

    explicit KivPresetLibraryWindow(KivPresetLibraryAccess& library);

    KivTreeControl& GetFolderTree() { return *folders_; }
    KivListBox& GetPresetList() { return *presets_; }
    // The buttons by their captions: "Load", "Store", "Rename", "Delete", "Random" for
    // presets, "New folder", "Rename folder", "Delete folder", "Export", "Import", and "Close".
    KivButton* GetButton(const char* caption) const;
    // The folder chosen in the tree (the top folder when none is).
    KivXMLItem& GetSelectedFolder();
    // The preset chosen in the list, or null.
    KivXMLItem* GetSelectedPreset();
    // Chooses a folder by its names below the top folder (empty: the top folder).
    void SelectFolder(const std::vector<KivString>& path);

    // The operations, as their buttons run them (dialogs included).
    void LoadSelected();
    void StoreCurrent();
    void RenamePreset();
    void DeletePreset();
    // Settings mixed at random from the presets of the chosen folder and its subfolders.
    void LoadRandomMix();
    void NewFolder();
    void RenameFolder();
    void DeleteFolder();
    void ExportFolder();
    void ImportFolder();

    void Arrange() override;
    bool OnKeyDown(uint32_t key, uint8_t state) override;

    // Opens the library window for `manager` over `parent` (may be null) and returns when it
    // is closed. The library is read first; a library that cannot be read is reported and
    // the window is not opened. Never throws.
    template <typename Owner>
    static void Run(KivWindow* parent, KivPresetManagerT<Owner>& manager) {
        KivPresetLibraryAccessT<Owner> access(manager);
        Run(parent, access);
    }
    static void Run(KivWindow* parent, KivPresetLibraryAccess& library);

private:
    struct Command {
        const char* caption;
        void (KivPresetLibraryWindow::*operation)();
    };

    struct CommandButton {
        KivButton* button;
        void (KivPresetLibraryWindow::*operation)();
    };

    void AddButtons();
    void CloseWindow() { EndModal(1); }
    // The names of the chosen folder's path below the top folder.
    std::vector<KivString> SelectedFolderPath() const;
    // Fills the tree from the library, choosing the folder at `path` again if it still exists.
    void RebuildFolders(const std::vector<KivString>& path);
    void AddFolders(KivTreeItem* treeParent, KivXMLItem& folder);
    // Fills the list with the presets of the chosen folder, choosing `name` if it is there.
    void RebuildPresets(const KivString& name);
    void UpdateButtons();
    // Runs `operation`; a failure is shown in a message window.
    void Attempt(const std::function<void()>& operation);
    void ShowFailure(const KivString& message);
    bool Confirm(const char* question);
    bool AskText(const char* title, const char* prompt, const KivString& proposal, KivString& answer);
    KivString ProposeFolderName();
    // The export/import file name asked in place of a file dialog, with the type's extension.
    bool AskFileName(const char* title, KivString& fileName);

    void OnFolderSelected(KivOnItemParams<KivTreeItem*>& params);
    void OnPresetActivated(KivOnItemParams<int32_t>& params);
    void OnPresetSelected(KivOnItemParams<int32_t>& params);
    void OnButton(KivOnClickParams& params);

    KivPresetLibraryAccess& library_;
    KivTreeControl* folders_;
    KivListBox* presets_;
    KivStatic* folderTitle_;
    KivStatic* presetTitle_;
    std::vector<CommandButton> buttons_;
    std::vector<KivXMLItem*> presetItems_;  // the list's rows
    KivString lastFileName_;
};
