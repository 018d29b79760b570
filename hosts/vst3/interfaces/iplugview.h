#pragma once
#include "hosts/vst3/interfaces/funknown.h"

namespace Steinberg {

// A rectangle in pixels; right and bottom are exclusive.
struct ViewRect {
    int32 left;
    int32 top;
    int32 right;
    int32 bottom;

    int32 getWidth() const { return right - left; }
    int32 getHeight() const { return bottom - top; }
};

// The native window types a host may hand to attached().
constexpr const char* kPlatformTypeHWND = "HWND";
constexpr const char* kPlatformTypeX11EmbedWindowID = "X11EmbedWindowID";

class IPlugFrame;

// The plug-in's editor as the host embeds it.
class IPlugView : public FUnknown {
public:
    virtual tresult KIV_VST3_API isPlatformTypeSupported(FIDString type) = 0;
    virtual tresult KIV_VST3_API attached(void* parent, FIDString type) = 0;
    virtual tresult KIV_VST3_API removed() = 0;
    virtual tresult KIV_VST3_API onWheel(float distance) = 0;
    virtual tresult KIV_VST3_API onKeyDown(char16 key, int16 keyCode, int16 modifiers) = 0;
    virtual tresult KIV_VST3_API onKeyUp(char16 key, int16 keyCode, int16 modifiers) = 0;
    virtual tresult KIV_VST3_API getSize(ViewRect* size) = 0;
    virtual tresult KIV_VST3_API onSize(ViewRect* newSize) = 0;
    virtual tresult KIV_VST3_API onFocus(TBool state) = 0;
    virtual tresult KIV_VST3_API setFrame(IPlugFrame* frame) = 0;
    virtual tresult KIV_VST3_API canResize() = 0;
    virtual tresult KIV_VST3_API checkSizeConstraint(ViewRect* rect) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);

protected:
    ~IPlugView() = default;
};

// The host's window around a view; the view asks it for a new size.
class IPlugFrame : public FUnknown {
public:
    virtual tresult KIV_VST3_API resizeView(IPlugView* view, ViewRect* newSize) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);

protected:
    ~IPlugFrame() = default;
};

// A view that draws at the host's content scale (the factor between the host's pixels and
// the screen's, on systems where the plug-in cannot ask the screen itself). The view grows by
// the factor and asks its frame for the new size.
class IPlugViewContentScaleSupport : public FUnknown {
public:
    using ScaleFactor = float;
    virtual tresult KIV_VST3_API setContentScaleFactor(ScaleFactor factor) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F);

protected:
    ~IPlugViewContentScaleSupport() = default;
};

}  // namespace Steinberg
