#pragma once
#include "plugin/state/kiv_data_folder_source.h"

// The plug-in's per-user folder as the module names it: application data / "Kestrune" / the
// library's file name without extension, so a renamed copy of the library keeps its own files.
class KivModuleDataFolder final : public KivDataFolderSource {
public:
    KivString GetDataFolder() override;
    // The one instance every plug-in of this library uses.
    static KivModuleDataFolder& Instance();
};
