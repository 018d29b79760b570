#include "hosts/vst3/sdk/fuid.h"

#include <cstdio>

namespace Steinberg {

std::string FUID::ToString() const {
    char text[33];
    std::snprintf(text, sizeof(text), "%08X%08X%08X%08X", static_cast<unsigned>(words_[0]),
                  static_cast<unsigned>(words_[1]), static_cast<unsigned>(words_[2]),
                  static_cast<unsigned>(words_[3]));
    return text;
}

}  // namespace Steinberg
