#pragma once
#include <vector>

#include "hosts/vst3/interfaces/ipluginfactory.h"
#include "hosts/vst3/sdk/fobject.h"

namespace Steinberg {

// The factory a VST 3 library exports: its maker's information and the classes it creates.
// The process keeps one: the first request builds it, later requests add a reference, and
// the last release destroys it (a later request builds it afresh).
class CPluginFactory : public IPluginFactory3, public FObject {
public:
    // Creates one object of a class; answers it with one reference, or null.
    using CreateFunction = FUnknown* (*)(void* context);
    using DescribeFunction = void (*)(CPluginFactory& factory);

    explicit CPluginFactory(const PFactoryInfo& info) : info_(info) {}
    ~CPluginFactory() override;

    // The process's factory, described by `describe` when it is built.
    static CPluginFactory* ObtainShared(const PFactoryInfo& info, DescribeFunction describe);

    void RegisterClass(const PClassInfo2& info, CreateFunction create);

    // ---- FUnknown ------------------------------------------------------------------------
    tresult KIV_VST3_API queryInterface(const TUID iid, void** object) override;
    uint32 KIV_VST3_API addRef() override { return AddReference(); }
    uint32 KIV_VST3_API release() override { return ReleaseReference(); }

    // ---- IPluginFactory, 2 and 3 ---------------------------------------------------------
    tresult KIV_VST3_API getFactoryInfo(PFactoryInfo* info) override;
    int32 KIV_VST3_API countClasses() override { return static_cast<int32>(classes_.size()); }
    tresult KIV_VST3_API getClassInfo(int32 index, PClassInfo* info) override;
    tresult KIV_VST3_API createInstance(FIDString cid, FIDString iid, void** object) override;
    tresult KIV_VST3_API getClassInfo2(int32 index, PClassInfo2* info) override;
    tresult KIV_VST3_API getClassInfoUnicode(int32 index, PClassInfoW* info) override;
    tresult KIV_VST3_API setHostContext(FUnknown* context) override;

private:
    struct ClassEntry {
        PClassInfo2 info;
        CreateFunction create;
    };

    const ClassEntry* At(int32 index) const noexcept;
    const ClassEntry* Find(FIDString cid) const noexcept;

    PFactoryInfo info_;
    std::vector<ClassEntry> classes_;
    static CPluginFactory* shared_;
};

}  // namespace Steinberg
