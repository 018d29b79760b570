#pragma once
#include <cstdint>

// The colour sets of the house style, by index into the style's colour table. Controls ask
// the drawer's style for them; a drawer without a style falls back to the house colours.
enum class KivStyleColor : int32_t {
    kGeneralBackground,   // "General control background": the window behind everything
    kPanelBackground,     // "Panel background": grouped sections
    kTitleBackground,     // "Control title background": section headings, list headers
    kFrame,               // "Control frame": outlines of fields and sections
    kHighlight,           // "Highlight of selectors": the accent of active parts
    kHighlightText,       // "Highlighted text": text on the accent
    kEditorBackground,    // "Background of editors": fields, tracks, lists, meters
    kText,                // "Control text"
    kDimmedText,          // "Secondary text": captions and units
    kDisabledText,        // "Disabled text"
    kButtonFace,          // "Button face"
    kButtonFaceHover,     // "Button face under the mouse"
    kButtonFacePressed,   // "Button face pressed"
    kKnobBody,            // "Knob body"
    kMeterLow,            // "Meter low level"
    kMeterMiddle,         // "Meter middle level"
    kMeterHigh,           // "Meter high level"
    kCount
};
