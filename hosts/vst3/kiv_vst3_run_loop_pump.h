#pragma once
#include "hosts/vst3/interfaces/irunloop.h"
#include "hosts/vst3/sdk/fobject.h"

// Drives an editor on a Linux host, which gives the plug-in no event loop: the host's run
// loop watches the editor's event descriptor and calls a timer, and each of them lets the
// editor handle what is waiting. Made by the view while it is attached; the host may keep
// references after Stop, so the pump outlives its registration and forgets the editor.
class KivVST3RunLoopPump : public Steinberg::Linux::IEventHandler,
                           public Steinberg::Linux::ITimerHandler,
                           public Steinberg::FObject {
public:
    using Pump = void (*)(void* context);
    static constexpr Steinberg::Linux::TimerInterval kTimerMilliseconds = 20;

    KivVST3RunLoopPump(Pump pump, void* context) : pump_(pump), context_(context) {}

    // Registers with the run loop the frame offers (when it offers one); false if none.
    bool Start(Steinberg::FUnknown* frame, int descriptor);
    void Stop();

    Steinberg::tresult KIV_VST3_API queryInterface(const Steinberg::TUID iid, void** object) override;
    Steinberg::uint32 KIV_VST3_API addRef() override { return AddReference(); }
    Steinberg::uint32 KIV_VST3_API release() override { return ReleaseReference(); }
    void KIV_VST3_API onFDIsSet(Steinberg::Linux::FileDescriptor fd) override;
    void KIV_VST3_API onTimer() override;

private:
    void Run();

    Pump pump_;
    void* context_;
    Steinberg::Linux::IRunLoop* runLoop_ = nullptr;
    bool watching_ = false;
};
