#pragma once
#include <cstdint>

#include "base/kiv_object.h"
#include "base/kiv_string.h"
#include "gui/drawing/kiv_color.h"

class KivFont;

// What a drawer handed to controls answers about the active style: its colours and fonts,
// each reachable by index or by name. The styles decide which entries exist.
class KivDrawingStyle : public KivObject {
public:
    virtual int32_t ColorCount() const = 0;
    virtual KivColor Color(int32_t index) const = 0;
    virtual KivString ColorName(int32_t index) const = 0;
    virtual int32_t FontCount() const = 0;
    virtual const KivFont* Font(int32_t index) const = 0;
    virtual KivString FontName(int32_t index) const = 0;
};
