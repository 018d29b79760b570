#pragma once
#include <cstdint>

#include "base/kiv_string.h"

class KivDataFolderSource;

// The editor's size as the user last chose it, in per cent of its laid-out size: an
// attribute "EditorSize" of the family's global settings document, beside the default
// settings, so that every new editor of the family opens at it. It is no part of a project's
// state: the same project opened on a smaller screen should not open a window too large.
namespace KivEditorSizeSetting {
// The stored size; 0 when there is none or it cannot be read.
int32_t Read(KivDataFolderSource* folder, const KivString& family);
// Stores `percent`, keeping everything else in the document; false when it could not.
bool Write(KivDataFolderSource* folder, const KivString& family, int32_t percent);
}  // namespace KivEditorSizeSetting
