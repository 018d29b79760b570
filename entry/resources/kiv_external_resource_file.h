#pragma once
#include "base/kiv_string.h"

// A further resource file a container refers to (its "xresource" entries), such as the
// style file; it is read by whoever needs it, not together with the container.
struct KivExternalResourceFile {
    KivString id;
    KivString fileName;
};
