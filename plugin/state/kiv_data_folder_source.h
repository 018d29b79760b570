#pragma once
#include "base/kiv_string.h"

// Where a plug-in's files live: the per-user folder of the library that holds it. The module
// that loaded the plug-in knows it; the plug-in only asks.
class KivDataFolderSource {
public:
    // The folder without a trailing separator; raises KivException when there is none.
    virtual KivString GetDataFolder() = 0;

protected:
    ~KivDataFolderSource() = default;
};
