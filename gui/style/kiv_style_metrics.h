#pragma once
#include <cstdint>

#include "gui/drawing/kiv_point.h"

// Spacing and preferred sizes of the house style, in pixels.
namespace KivStyleMetrics {
inline constexpr int32_t kControlSpacing = 6;  // between neighbouring controls of a layout
inline constexpr int32_t kPadding = 8;         // inside sections, around text in fields
inline constexpr int32_t kCornerRadius = 4;
inline constexpr int32_t kTitleHeight = 22;    // heading strip of a captioned section
inline constexpr int32_t kCheckBoxSize = 14;
inline constexpr int32_t kCaptionGap = 6;      // between a box or mark and its caption

inline constexpr KivPoint kButtonSize{80, 24};
inline constexpr KivPoint kCheckBoxPreferred{120, 20};
inline constexpr KivPoint kStaticSize{80, 18};
inline constexpr KivPoint kEditSize{120, 24};
inline constexpr KivPoint kComboSize{120, 24};
inline constexpr KivPoint kKnobSize{64, 88};
inline constexpr KivPoint kTrackerSize{160, 36};
inline constexpr KivPoint kBarMeterSize{14, 160};
inline constexpr KivPoint kProgressBarSize{160, 10};
inline constexpr KivPoint kListBoxSize{140, 120};
inline constexpr int32_t kListRowHeight = 20;
}  // namespace KivStyleMetrics
