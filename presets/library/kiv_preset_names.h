#pragma once

// The names the preset library writes into its files. Item and attribute names are matched
// ignoring case and accents when read, so an entry written "Preset" is still a preset.
namespace KivPresetNames {

inline constexpr const char* kLibraryFile = "presets.xml";
// The root of a library file; readers accept any root name.
inline constexpr const char* kLibraryRoot = "presets";
inline constexpr const char* kPreset = "preset";
inline constexpr const char* kFolder = "Directory";
inline constexpr const char* kName = "name";
inline constexpr const char* kPacked = "compressed";
inline constexpr const char* kPackedValue = "1";
inline constexpr const char* kExchangeIndex = "ExchangeIndex";
// The root of the document a packed preset holds.
inline constexpr const char* kSettings = "settings";
inline constexpr const char* kExportRoot = "ExportPresets";
inline constexpr const char* kExportExtension = "kivpresets";
inline constexpr const char* kEncoding = "utf-8";

}  // namespace KivPresetNames
