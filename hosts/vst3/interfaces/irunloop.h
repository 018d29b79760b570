#pragma once
#include "hosts/vst3/interfaces/funknown.h"

// On Linux a plug-in has no message loop of its own: the host's frame offers its run loop
// for file-descriptor events and timers.
namespace Steinberg::Linux {

using FileDescriptor = int;
using TimerInterval = uint64;

class IEventHandler : public FUnknown {
public:
    virtual void KIV_VST3_API onFDIsSet(FileDescriptor fd) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);

protected:
    ~IEventHandler() = default;
};

class ITimerHandler : public FUnknown {
public:
    virtual void KIV_VST3_API onTimer() = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);

protected:
    ~ITimerHandler() = default;
};

class IRunLoop : public FUnknown {
public:
    virtual tresult KIV_VST3_API registerEventHandler(IEventHandler* handler, FileDescriptor fd) = 0;
    virtual tresult KIV_VST3_API unregisterEventHandler(IEventHandler* handler) = 0;
    virtual tresult KIV_VST3_API registerTimer(ITimerHandler* handler, TimerInterval milliseconds) = 0;
    virtual tresult KIV_VST3_API unregisterTimer(ITimerHandler* handler) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);

protected:
    ~IRunLoop() = default;
};

}  // namespace Steinberg::Linux
