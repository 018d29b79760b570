#pragma once
#include "base/kiv_string.h"

// The per-user folder of one library's files (settings, presets). Files used to live in
// `base`/`name`; they now live in `base`/"Kestrune"/`name`. When the old folder exists, the
// first call of a process copies its contents into the new one (the old one is never
// removed, so an older version of the plug-in installed beside keeps working); later calls
// leave both alone.
namespace KivDataPath {

// The folder for `name` below `base`, created when missing; raises KivException on failure.
KivString Resolve(const KivString& base, const KivString& name);
// The same below the user's roaming application-data folder; raises "Could not retrieve
// system path." when the system names none.
KivString ForUser(const KivString& name);

}  // namespace KivDataPath
