#pragma once
#include <cstdint>

#include "gui/core/kiv_control_extensions.h"
#include "gui/drawing/kiv_rect.h"

// A control that paints part of itself opaquely says so through its extensions, with a
// KivOpaqueArea stored under kKivOpaqueAreaTag. A repaint lying wholly inside that part then
// paints the control alone, not the window and panels beneath it, which it would cover: a
// graph that redraws its plot many times a second costs only the plot.
class KivOpaqueArea {
public:
    // Whether every pixel of `area` (window coordinates) is painted opaquely by the control.
    virtual bool Covers(const KivRect& area) const = 0;

protected:
    ~KivOpaqueArea() = default;
};

inline constexpr uint32_t kKivOpaqueAreaTag = KivControlExtensions::Tag("OPAQ");
