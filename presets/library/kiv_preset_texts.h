#pragma once

// What the preset library window says to the user, word for word.
namespace KivPresetTexts {

inline constexpr const char* kNewPresetPrompt = "Enter name of the new preset";
inline constexpr const char* kNewPresetProposal = "Unnamed preset";
inline constexpr const char* kNewFolderPrompt = "Enter name of the new folder";
inline constexpr const char* kNewFolderProposal = "New folder ";
inline constexpr const char* kRenameFolderPrompt = "Enter new name of the folder";
inline constexpr const char* kConfirmDeletePreset = "Are you sure you want to delete selected preset?";
inline constexpr const char* kConfirmReplacePreset = "Are you sure you want to replace selected preset?";
inline constexpr const char* kConfirmDeleteFolder =
    "Are you sure you want to delete selected folder including all presets and subfolders?";
inline constexpr const char* kExportTitle = "Export preset directory";
inline constexpr const char* kImportTitle = "Import preset directory";
inline constexpr const char* kExportFileType = "Preset directories";
inline constexpr const char* kConfirmImport =
    "This function will replace remove all presets in selected directory and replace them with presets loaded "
    "from the file. Are you sure you want to continue?";
inline constexpr const char* kRandomButtonHelp =
    "<name>Random button</name> generates random settings using existing presets.";

}  // namespace KivPresetTexts
