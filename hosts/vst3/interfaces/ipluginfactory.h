#pragma once
#include "hosts/vst3/interfaces/funknown.h"

namespace Steinberg {

// What a plug-in library tells about its maker.
struct PFactoryInfo {
    enum FactoryFlags {
        kNoFlags = 0,
        kClassesDiscardable = 1 << 0,
        kLicenseCheck = 1 << 1,
        kComponentNonDiscardable = 1 << 3,
        kUnicode = 1 << 4
    };
    enum { kURLSize = 256, kEmailSize = 128, kNameSize = 64 };

    char8 vendor[kNameSize];
    char8 url[kURLSize];
    char8 email[kEmailSize];
    int32 flags;
};

// One class a factory can create, in its shortest description.
struct PClassInfo {
    enum ClassCardinality { kManyInstances = 0x7FFFFFFF };
    enum { kCategorySize = 32, kNameSize = 64 };

    TUID cid;
    int32 cardinality;
    char8 category[kCategorySize];
    char8 name[kNameSize];
};

// The same with flags, sub-categories, vendor and versions.
struct PClassInfo2 {
    enum { kVendorSize = 64, kVersionSize = 64, kSubCategoriesSize = 128 };

    TUID cid;
    int32 cardinality;
    char8 category[PClassInfo::kCategorySize];
    char8 name[PClassInfo::kNameSize];
    uint32 classFlags;
    char8 subCategories[kSubCategoriesSize];
    char8 vendor[kVendorSize];
    char8 version[kVersionSize];
    char8 sdkVersion[kVersionSize];
};

// PClassInfo2 with the texts a user reads in 16-bit units.
struct PClassInfoW {
    enum { kVendorSize = 64, kVersionSize = 64, kSubCategoriesSize = 128 };

    TUID cid;
    int32 cardinality;
    char8 category[PClassInfo::kCategorySize];
    char16 name[PClassInfo::kNameSize];
    uint32 classFlags;
    char8 subCategories[kSubCategoriesSize];
    char16 vendor[kVendorSize];
    char16 version[kVersionSize];
    char16 sdkVersion[kVersionSize];
};

// The one object a VST 3 library exports: it lists and creates the library's classes.
class IPluginFactory : public FUnknown {
public:
    virtual tresult KIV_VST3_API getFactoryInfo(PFactoryInfo* info) = 0;
    virtual int32 KIV_VST3_API countClasses() = 0;
    virtual tresult KIV_VST3_API getClassInfo(int32 index, PClassInfo* info) = 0;
    virtual tresult KIV_VST3_API createInstance(FIDString cid, FIDString iid, void** object) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);

protected:
    ~IPluginFactory() = default;
};

class IPluginFactory2 : public IPluginFactory {
public:
    virtual tresult KIV_VST3_API getClassInfo2(int32 index, PClassInfo2* info) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);

protected:
    ~IPluginFactory2() = default;
};

class IPluginFactory3 : public IPluginFactory2 {
public:
    virtual tresult KIV_VST3_API getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;
    virtual tresult KIV_VST3_API setHostContext(FUnknown* context) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);

protected:
    ~IPluginFactory3() = default;
};

}  // namespace Steinberg
