#include "gui/drawing/kiv_drawing_mode.h"

namespace {
const char* const kNames[KivDrawingModes::kCount] = {
    "None",     "Alphablend", "Modulate",   "Copy",        "Overlay",     "Color",
    "Invert",   "Add",        "Subtract",   "Lighten",     "Darken",      "Difference",
    "IncContrast", "DecContrast", "LightenByContrast", "DarkenByContrast", "AddAndOverflow"};
}  // namespace

namespace KivDrawingModes {

KivString Name(KivDrawingMode mode) {
    const auto value = static_cast<int32_t>(mode);
    return value >= 0 && value < kCount ? KivString(kNames[value]) : KivString();
}

KivDrawingMode FromName(const KivString& name, KivDrawingMode fallback) {
    for (int32_t value = 0; value < kCount; ++value) {
        if (name.EqualsFolded(KivString(kNames[value]))) return static_cast<KivDrawingMode>(value);
    }
    return fallback;
}

}  // namespace KivDrawingModes
