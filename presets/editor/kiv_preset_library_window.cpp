#include "presets/editor/kiv_preset_library_window.h"

#include <algorithm>
#include <cstring>

#include "base/kiv_boundary.h"
#include "base/kiv_exception.h"
#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_list_box.h"
#include "gui/controls/kiv_message_window.h"
#include "gui/controls/kiv_static.h"
#include "gui/controls/kiv_tree_control.h"
#include "gui/style/kiv_house_style.h"
#include "gui/style/kiv_style_metrics.h"
#include "platform/kiv_file_system.h"
#include "presets/editor/kiv_editor_dialogs.h"
#include "presets/editor/kiv_preset_random_mix.h"
#include "presets/editor/kiv_text_prompt_window.h"
#include "presets/library/kiv_factory_presets.h"
#include "presets/library/kiv_preset_texts.h"
#include "presets/library/kiv_preset_tree.h"

namespace {

constexpr int32_t kWidth = 760;
constexpr int32_t kHeight = 480;
constexpr int32_t kMargin = 14;
constexpr int32_t kFolderColumn = 300;
constexpr int32_t kFolderButton = 96;
constexpr int32_t kPresetButton = 76;
constexpr int32_t kCloseButton = 80;
constexpr int32_t kTitleHeight = 18;
constexpr int32_t kGap = 6;
constexpr int32_t kButtonHeight = KivStyleMetrics::kButtonSize.y;

// Texts the library window needs beyond the library's own.
constexpr const char* kRenamePresetPrompt = "Enter new name of the preset";
constexpr const char* kFolderExists = "A folder of that name already exists here.";
constexpr const char* kConfirmReplaceFile = "The file already exists. Are you sure you want to replace it?";
constexpr const char* kFileNamePrompt = "File name (Preset directories, *.kivpresets)";

int64_t DataOf(KivXMLItem& item) { return static_cast<int64_t>(reinterpret_cast<intptr_t>(&item)); }
KivXMLItem* ItemOf(const KivTreeItem* treeItem) {
    return treeItem != nullptr ? reinterpret_cast<KivXMLItem*>(static_cast<intptr_t>(treeItem->GetData())) : nullptr;
}

template <typename T>
T* Add(KivWindow& window, const KivString& text = KivString()) {
    auto* control = new T();
    control->SetText(text);
    window.AddChild(control);
    return control;
}

void Place(KivControl& control, int32_t left, int32_t top, int32_t width, int32_t height) {
    control.SetBounds(KivRect{left, top, left + width - 1, top + height - 1});
}

bool EndsWith(const KivString& text, const char* ending) {
    const auto length = static_cast<int32_t>(std::strlen(ending));
    return text.Length() >= length && text.Substring(text.Length() - length).EqualsFolded(KivString(ending));
}

}  // namespace

KivPresetLibraryWindow::KivPresetLibraryWindow(KivPresetLibraryAccess& library)
    : library_(library),
      folders_(Add<KivTreeControl>(*this)),
      presets_(Add<KivListBox>(*this)),
      folderTitle_(Add<KivStatic>(*this, KivString("Folders"))),
      presetTitle_(Add<KivStatic>(*this, KivString("Presets"))) {
    SetText(KivString("Preset library"));
    SetStyle(&KivHouseStyle::Instance());
    SetBackground(KivHouseStyle::DefaultColor(KivStyleColor::kGeneralBackground));
    AddButtons();
    folders_->OnSelect.AddHandler(this, &KivPresetLibraryWindow::OnFolderSelected);
    presets_->OnSelect.AddHandler(this, &KivPresetLibraryWindow::OnPresetSelected);
    presets_->OnDoubleClick.AddHandler(this, &KivPresetLibraryWindow::OnPresetActivated);
    SetBounds(KivRect{0, 0, kWidth - 1, kHeight - 1});
    RebuildFolders({});
}

void KivPresetLibraryWindow::AddButtons() {
    // In the order Arrange places them: folder operations, preset operations, Close.
    static const Command kCommands[] = {{"New folder", &KivPresetLibraryWindow::NewFolder},
                                        {"Rename folder", &KivPresetLibraryWindow::RenameFolder},
                                        {"Delete folder", &KivPresetLibraryWindow::DeleteFolder},
                                        {"Export", &KivPresetLibraryWindow::ExportFolder},
                                        {"Import", &KivPresetLibraryWindow::ImportFolder},
                                        {"Load", &KivPresetLibraryWindow::LoadSelected},
                                        {"Store", &KivPresetLibraryWindow::StoreCurrent},
                                        {"Rename", &KivPresetLibraryWindow::RenamePreset},
                                        {"Delete", &KivPresetLibraryWindow::DeletePreset},
                                        {"Random", &KivPresetLibraryWindow::LoadRandomMix},
                                        {"Close", &KivPresetLibraryWindow::CloseWindow}};
    for (const Command& command : kCommands) {
        KivButton* button = Add<KivButton>(*this, KivString(command.caption));
        button->OnClick.AddHandler(this, &KivPresetLibraryWindow::OnButton);
        buttons_.push_back(CommandButton{button, command.operation});
    }
}

KivButton* KivPresetLibraryWindow::GetButton(const char* caption) const {
    for (const CommandButton& command : buttons_)
        if (command.button->GetText() == KivString(caption)) return command.button;
    return nullptr;
}

void KivPresetLibraryWindow::Arrange() {
    const KivRect client = GetClientRect();
    const int32_t secondRow = client.bottom - kMargin - kButtonHeight + 1;
    const int32_t firstRow = secondRow - kGap - kButtonHeight;
    const int32_t listTop = kMargin + kTitleHeight + kGap;
    const int32_t listHeight = firstRow - 10 - listTop;
    const int32_t right = kMargin + kFolderColumn + kMargin;
    const int32_t rightWidth = client.right - kMargin - right + 1;
    Place(*folderTitle_, kMargin, kMargin, kFolderColumn, kTitleHeight);
    Place(*presetTitle_, right, kMargin, rightWidth, kTitleHeight);
    Place(*folders_, kMargin, listTop, kFolderColumn, listHeight);
    Place(*presets_, right, listTop, rightWidth, listHeight);
    for (int32_t index = 0; index < 5; ++index) {
        const int32_t column = index % 3;
        Place(*buttons_[static_cast<size_t>(index)].button, kMargin + column * (kFolderButton + kGap),
              index < 3 ? firstRow : secondRow, kFolderButton, kButtonHeight);
    }
    for (int32_t index = 0; index < 5; ++index)
        Place(*buttons_[static_cast<size_t>(5 + index)].button, right + index * (kPresetButton + kGap), firstRow,
              kPresetButton, kButtonHeight);
    Place(*buttons_.back().button, client.right - kMargin - kCloseButton + 1, secondRow, kCloseButton, kButtonHeight);
    for (KivControl* view : {static_cast<KivControl*>(folders_), static_cast<KivControl*>(presets_)}) view->Arrange();
}

bool KivPresetLibraryWindow::OnKeyDown(uint32_t key, uint8_t state) {
    if (key == KivKeyCode::kEscape) {
        EndModal(1);
        return true;
    }
    if (key == KivKeyCode::kDelete && GetFocus() == presets_) {
        DeletePreset();
        return true;
    }
    return KivWindow::OnKeyDown(key, state);
}

// --- views ----------------------------------------------------------------------------------

void KivPresetLibraryWindow::RebuildFolders(const std::vector<KivString>& path) {
    folders_->Clear();
    KivTreeItem* top = folders_->AddItem(nullptr, KivString(kTopFolderName));
    top->SetData(DataOf(library_.GetLibrary().GetRoot()));
    AddFolders(top, library_.GetLibrary().GetRoot());
    folders_->ExpandAll();
    SelectFolder(path);
}

void KivPresetLibraryWindow::AddFolders(KivTreeItem* treeParent, KivXMLItem& folder) {
    for (int32_t index = 0; index < folder.GetSubItemCount(); ++index) {
        KivXMLItem& item = folder.GetSubItemAt(index);
        if (!KivPresetTree::IsFolder(item)) continue;
        KivTreeItem* child = folders_->AddItem(treeParent, KivPresetTree::GetName(item));
        child->SetData(DataOf(item));
        AddFolders(child, item);
    }
}

void KivPresetLibraryWindow::SelectFolder(const std::vector<KivString>& path) {
    std::vector<KivString> full{KivString(kTopFolderName)};
    full.insert(full.end(), path.begin(), path.end());
    KivTreeItem* item = folders_->FindPath(full);
    folders_->SelectItem(item != nullptr ? item : folders_->FindPath({KivString(kTopFolderName)}));
    RebuildPresets(KivString());
}

KivXMLItem& KivPresetLibraryWindow::GetSelectedFolder() {
    KivXMLItem* folder = ItemOf(folders_->GetSelectedItem());
    return folder != nullptr ? *folder : library_.GetLibrary().GetRoot();
}

KivXMLItem* KivPresetLibraryWindow::GetSelectedPreset() {
    const int32_t row = presets_->GetSelected();
    return row >= 0 && row < static_cast<int32_t>(presetItems_.size()) ? presetItems_[static_cast<size_t>(row)]
                                                                       : nullptr;
}

void KivPresetLibraryWindow::RebuildPresets(const KivString& name) {
    presetItems_.clear();
    std::vector<KivString> names;
    int32_t chosen = -1;
    KivXMLItem& folder = GetSelectedFolder();
    for (int32_t index = 0; index < folder.GetSubItemCount(); ++index) {
        KivXMLItem& item = folder.GetSubItemAt(index);
        if (!KivPresetTree::IsPreset(item)) continue;
        if (!name.IsEmpty() && KivPresetTree::GetName(item).EqualsFolded(name))
            chosen = static_cast<int32_t>(names.size());
        presetItems_.push_back(&item);
        names.push_back(KivPresetTree::GetName(item));
    }
    presets_->SetItems(std::move(names), chosen);
    const KivTreeItem* selected = folders_->GetSelectedItem();
    const bool inSubfolder = selected != nullptr && selected->GetParent() != &folders_->GetRoot();
    presetTitle_->SetText(inSubfolder ? KivString("Presets in ") + selected->GetText() : KivString("Presets"));
    UpdateButtons();
}

void KivPresetLibraryWindow::UpdateButtons() {
    const bool preset = GetSelectedPreset() != nullptr;
    const bool subfolder = &GetSelectedFolder() != &library_.GetLibrary().GetRoot();
    // The factory folder can be loaded from, mixed from and exported, never changed.
    const bool writable = !KivFactoryPresets::IsReadOnly(GetSelectedFolder());
    GetButton("Load")->SetEnabled(preset);
    GetButton("Store")->SetEnabled(writable);
    GetButton("Import")->SetEnabled(writable);
    GetButton("New folder")->SetEnabled(writable);
    GetButton("Rename")->SetEnabled(preset && writable);
    GetButton("Delete")->SetEnabled(preset && writable);
    bool anyPreset = false;
    KivPresetTree::ForEachPreset(GetSelectedFolder(), [&](KivXMLItem&) { anyPreset = true; });
    GetButton("Random")->SetEnabled(anyPreset);
    GetButton("Rename folder")->SetEnabled(subfolder && writable);
    GetButton("Delete folder")->SetEnabled(subfolder && writable);
}

void KivPresetLibraryWindow::OnFolderSelected(KivOnItemParams<KivTreeItem*>&) { RebuildPresets(KivString()); }

void KivPresetLibraryWindow::OnPresetSelected(KivOnItemParams<int32_t>&) { UpdateButtons(); }

void KivPresetLibraryWindow::OnPresetActivated(KivOnItemParams<int32_t>&) { LoadSelected(); }

void KivPresetLibraryWindow::OnButton(KivOnClickParams& params) {
    for (const CommandButton& command : buttons_) {
        if (params.sender == command.button) return (this->*command.operation)();
    }
}

std::vector<KivString> KivPresetLibraryWindow::SelectedFolderPath() const {
    std::vector<KivString> path = folders_->GetSelectedPath();
    if (!path.empty()) path.erase(path.begin());  // the top folder
    return path;
}

// --- dialogs --------------------------------------------------------------------------------

void KivPresetLibraryWindow::Attempt(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const KivException& failure) {
        ShowFailure(failure.GetMessage());
    }
}

void KivPresetLibraryWindow::ShowFailure(const KivString& message) {
    KivMessageWindow window(GetText(), message, KivMessageButtons::kOk);
    KivEditorDialogs::RunModal(window, this);
}

bool KivPresetLibraryWindow::Confirm(const char* question) {
    return KivEditorDialogs::AskYesNo(this, GetText(), KivString(question));
}

bool KivPresetLibraryWindow::AskText(const char* title, const char* prompt, const KivString& proposal,
                                     KivString& answer) {
    return KivTextPromptWindow::Ask(this, KivString(title), KivString(prompt), proposal, answer) && !answer.IsEmpty();
}

bool KivPresetLibraryWindow::AskFileName(const char* title, KivString& fileName) {
    if (!AskText(title, kFileNamePrompt, lastFileName_, fileName)) return false;
    if (!EndsWith(fileName, kPresetFileExtension)) fileName += KivString(kPresetFileExtension);
    lastFileName_ = fileName;
    return true;
}

KivString KivPresetLibraryWindow::ProposeFolderName() {
    const KivXMLItem& parent = GetSelectedFolder();
    for (int32_t number = 1;; ++number) {
        const KivString name =
            KivString(KivPresetTexts::kNewFolderProposal) + KivString::FromUTF8(std::to_string(number));
        if (KivPresetTree::FindFolder(parent, name) == nullptr) return name;
    }
}

// --- operations -----------------------------------------------------------------------------

void KivPresetLibraryWindow::LoadSelected() {
    KivXMLItem* preset = GetSelectedPreset();
    if (preset != nullptr) Attempt([&] { library_.LoadPreset(*preset); });
}

void KivPresetLibraryWindow::LoadRandomMix() {
    Attempt([&] {
        KivXMLItem holder;
        if (KivXMLItem* mixed = KivPresetRandomMix::MixInto(GetSelectedFolder(), holder)) library_.LoadPreset(*mixed);
    });
}

void KivPresetLibraryWindow::StoreCurrent() {
    KivXMLItem& folder = GetSelectedFolder();
    KivString name;
    if (!AskText("Store preset", KivPresetTexts::kNewPresetPrompt, KivString(KivPresetTexts::kNewPresetProposal), name))
        return;
    if (KivXMLItem* existing = KivPresetTree::FindPreset(folder, name)) {
        presets_->Select(
            static_cast<int32_t>(std::find(presetItems_.begin(), presetItems_.end(), existing) - presetItems_.begin()));
        if (!Confirm(KivPresetTexts::kConfirmReplacePreset)) return;
    }
    Attempt([&] { library_.StorePreset(name, folder); });
    RebuildPresets(name);
}

void KivPresetLibraryWindow::RenamePreset() {
    KivXMLItem* preset = GetSelectedPreset();
    if (preset == nullptr) return;
    const KivString current = KivPresetTree::GetName(*preset);
    KivString name;
    if (!AskText("Rename preset", kRenamePresetPrompt, current, name) || name == current) return;
    KivXMLItem& folder = GetSelectedFolder();
    KivXMLItem* existing = KivPresetTree::FindPreset(folder, name);
    if (existing == preset) existing = nullptr;  // the same preset, only its case changes
    if (existing != nullptr && !Confirm(KivPresetTexts::kConfirmReplacePreset)) return;
    Attempt([&] {
        if (existing != nullptr) library_.Delete(*existing);
        library_.Rename(*preset, name);
    });
    RebuildPresets(name);
}

void KivPresetLibraryWindow::DeletePreset() {
    KivXMLItem* preset = GetSelectedPreset();
    if (preset == nullptr || !Confirm(KivPresetTexts::kConfirmDeletePreset)) return;
    Attempt([&] { library_.Delete(*preset); });
    RebuildPresets(KivString());
}

void KivPresetLibraryWindow::NewFolder() {
    KivXMLItem& parent = GetSelectedFolder();
    std::vector<KivString> path = SelectedFolderPath();
    KivString name;
    if (!AskText("New folder", KivPresetTexts::kNewFolderPrompt, ProposeFolderName(), name)) return;
    if (KivPresetTree::FindFolder(parent, name) != nullptr) return ShowFailure(KivString(kFolderExists));
    Attempt([&] { library_.AddFolder(parent, name); });
    path.push_back(name);
    RebuildFolders(path);
}

void KivPresetLibraryWindow::RenameFolder() {
    KivXMLItem& folder = GetSelectedFolder();
    if (&folder == &library_.GetLibrary().GetRoot()) return;
    const KivString current = KivPresetTree::GetName(folder);
    KivString name;
    if (!AskText("Rename folder", KivPresetTexts::kRenameFolderPrompt, current, name) || name == current) return;
    const KivXMLItem* sibling = KivPresetTree::FindFolder(*folder.GetParent(), name);
    if (sibling != nullptr && sibling != &folder) return ShowFailure(KivString(kFolderExists));
    Attempt([&] { library_.Rename(folder, name); });
    std::vector<KivString> path = SelectedFolderPath();
    path.back() = name;
    RebuildFolders(path);
}

void KivPresetLibraryWindow::DeleteFolder() {
    KivXMLItem& folder = GetSelectedFolder();
    if (&folder == &library_.GetLibrary().GetRoot() || !Confirm(KivPresetTexts::kConfirmDeleteFolder)) return;
    std::vector<KivString> path = SelectedFolderPath();
    Attempt([&] { library_.Delete(folder); });
    path.pop_back();
    RebuildFolders(path);
}

void KivPresetLibraryWindow::ExportFolder() {
    KivString fileName;
    if (!AskFileName(KivPresetTexts::kExportTitle, fileName)) return;
    if (KivPlatform::FileExists(fileName.ToU16()) && !Confirm(kConfirmReplaceFile)) return;
    Attempt([&] { library_.ExportFolder(GetSelectedFolder(), fileName); });
}

void KivPresetLibraryWindow::ImportFolder() {
    KivString fileName;
    if (!AskFileName(KivPresetTexts::kImportTitle, fileName) || !Confirm(KivPresetTexts::kConfirmImport)) return;
    const std::vector<KivString> path = SelectedFolderPath();
    Attempt([&] { library_.ImportFolder(GetSelectedFolder(), fileName); });
    RebuildFolders(path);
}

void KivPresetLibraryWindow::Run(KivWindow* parent, KivPresetLibraryAccess& library) {
    KivGuard("KivPresetLibraryWindow::Run", [&] {
        try {
            library.GetLibrary().Load();
        } catch (const KivException& failure) {
            KivMessageWindow message(KivString("Preset library"), failure.GetMessage(), KivMessageButtons::kOk);
            KivEditorDialogs::RunModal(message, parent);
            return;
        }
        KivPresetLibraryWindow window(library);
        KivEditorDialogs::RunModal(window, parent);
        window.Close();
    });
}
