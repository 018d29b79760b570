#pragma once
#include "hosts/vst3/interfaces/iplugview.h"
#include "hosts/vst3/kiv_audio_plugin_vst3_adapter.h"
#include "hosts/vst3/kiv_vst3_run_loop_pump.h"
#include "hosts/vst3/sdk/fobject.h"

// The plug-in's editor as a VST 3 view. It answers the host's questions about platform and
// size; attached and removed bracket the plug-in's editor window inside the host's window.
// On Linux the host's run loop (offered by the frame) pumps the window's events while it is
// attached. Keeps its adapter alive until the adapter is terminated or the view released.
class KivAudioPluginVST3Adapter::KivEditor : public Steinberg::IPlugView,
                                              public Steinberg::IPlugViewContentScaleSupport,
                                              public Steinberg::FObject {
public:
    explicit KivEditor(KivAudioPluginVST3Adapter& adapter);
    ~KivEditor() override;

    // The adapter is terminating: the view keeps working without it.
    void Unlink() noexcept;
    // Asks the host's frame for a new size; false without a frame or when it refuses.
    bool Resize(int32_t width, int32_t height);

    // ---- FUnknown ------------------------------------------------------------------------
    tresult KIV_VST3_API queryInterface(const Steinberg::TUID iid, void** object) override;
    Steinberg::uint32 KIV_VST3_API addRef() override { return AddReference(); }
    Steinberg::uint32 KIV_VST3_API release() override { return ReleaseReference(); }

    // ---- IPlugView -----------------------------------------------------------------------
    tresult KIV_VST3_API isPlatformTypeSupported(Steinberg::FIDString type) override;
    tresult KIV_VST3_API attached(void* parent, Steinberg::FIDString type) override;
    tresult KIV_VST3_API removed() override;
    tresult KIV_VST3_API onWheel(float distance) override;
    tresult KIV_VST3_API onKeyDown(Steinberg::char16 key, Steinberg::int16 keyCode, Steinberg::int16 modifiers) override;
    tresult KIV_VST3_API onKeyUp(Steinberg::char16 key, Steinberg::int16 keyCode, Steinberg::int16 modifiers) override;
    tresult KIV_VST3_API getSize(Steinberg::ViewRect* size) override;
    tresult KIV_VST3_API onSize(Steinberg::ViewRect* newSize) override;
    tresult KIV_VST3_API onFocus(Steinberg::TBool state) override;
    tresult KIV_VST3_API setFrame(Steinberg::IPlugFrame* frame) override;
    tresult KIV_VST3_API canResize() override;
    tresult KIV_VST3_API checkSizeConstraint(Steinberg::ViewRect* rect) override;

    // ---- IPlugViewContentScaleSupport ----------------------------------------------------
    tresult KIV_VST3_API setContentScaleFactor(ScaleFactor factor) override;

    // The native window type of this platform's hosts.
    static const char* PlatformType() noexcept;

private:
    // The plug-in's editor, built on the first question for it; null without one.
    KivAudioPlugin::KivEditor* PluginEditor();
    Steinberg::tresult ForwardKey(bool down, Steinberg::char16 key, Steinberg::int16 keyCode,
                                  Steinberg::int16 modifiers);
    void StartPump();
    void StopPump();
    static void Pump(void* view);

    KivAudioPluginVST3Adapter* adapter_;
    KivVST3RunLoopPump* pump_ = nullptr;
    Steinberg::IPlugFrame* frame_ = nullptr;
    void* parent_ = nullptr;
    Steinberg::ViewRect rect_{0, 0, 0, 0};
    // The host's content scale, kept for an editor built after the host told it.
    double contentScale_ = 1.0;
};
