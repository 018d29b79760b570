#include "hosts/vst3/kiv_vst3_run_loop_pump.h"

#include "base/kiv_boundary.h"

using namespace Steinberg;

bool KivVST3RunLoopPump::Start(FUnknown* frame, int descriptor) {
    if (!frame) return false;
    void* found = nullptr;
    if (frame->queryInterface(Linux::IRunLoop::iid.bytes, &found) != kResultOk || !found) return false;
    runLoop_ = static_cast<Linux::IRunLoop*>(found);
    if (descriptor >= 0) watching_ = runLoop_->registerEventHandler(this, descriptor) == kResultOk;
    runLoop_->registerTimer(this, kTimerMilliseconds);
    return true;
}

void KivVST3RunLoopPump::Stop() {
    Linux::IRunLoop* runLoop = runLoop_;
    runLoop_ = nullptr;
    pump_ = nullptr;
    if (!runLoop) return;
    if (watching_) runLoop->unregisterEventHandler(this);
    watching_ = false;
    runLoop->unregisterTimer(this);
    runLoop->release();
}

tresult KivVST3RunLoopPump::queryInterface(const TUID iid, void** object) {
    if (!object) return kInvalidArgument;
    if (OfferInterface<FUnknown, Linux::IEventHandler>(iid, this, object) ||
        OfferInterface<Linux::IEventHandler>(iid, this, object) || OfferInterface<Linux::ITimerHandler>(iid, this, object))
        return kResultOk;
    *object = nullptr;
    return kNoInterface;
}

void KivVST3RunLoopPump::onFDIsSet(Linux::FileDescriptor) {
    KivGuard("KivVST3RunLoopPump::onFDIsSet", [&] { Run(); });
}

void KivVST3RunLoopPump::onTimer() {
    KivGuard("KivVST3RunLoopPump::onTimer", [&] { Run(); });
}

void KivVST3RunLoopPump::Run() {
    if (pump_) pump_(context_);
}
