#include "hosts/vst3/sdk/plugin_factory.h"

#include <algorithm>

#include "base/kiv_boundary.h"
#include "hosts/vst3/sdk/vst3_text.h"

namespace Steinberg {

CPluginFactory* CPluginFactory::shared_ = nullptr;

namespace {

// The 8-bit fields hold ASCII: each byte becomes one unit.
void WidenInto(char16* destination, const char8* text, int32 capacity) {
    int32 count = 0;
    for (; count < capacity - 1 && text[count] != '\0'; ++count)
        destination[count] = static_cast<char16>(static_cast<unsigned char>(text[count]));
    std::fill(destination + count, destination + capacity, u'\0');
}

}  // namespace

CPluginFactory::~CPluginFactory() {
    if (shared_ == this) shared_ = nullptr;
}

CPluginFactory* CPluginFactory::ObtainShared(const PFactoryInfo& info, DescribeFunction describe) {
    if (shared_) {
        shared_->addRef();
        return shared_;
    }
    auto* factory = new CPluginFactory(info);
    describe(*factory);
    shared_ = factory;
    return factory;
}

void CPluginFactory::RegisterClass(const PClassInfo2& info, CreateFunction create) { classes_.push_back({info, create}); }

tresult CPluginFactory::queryInterface(const TUID iid, void** object) {
    if (!object) return kInvalidArgument;
    if (OfferInterface<FUnknown, IPluginFactory>(iid, this, object) || OfferInterface<IPluginFactory>(iid, this, object) ||
        OfferInterface<IPluginFactory2>(iid, this, object) || OfferInterface<IPluginFactory3>(iid, this, object))
        return kResultOk;
    *object = nullptr;
    return kNoInterface;
}

tresult CPluginFactory::getFactoryInfo(PFactoryInfo* info) {
    if (!info) return kInvalidArgument;
    *info = info_;
    return kResultOk;
}

tresult CPluginFactory::getClassInfo(int32 index, PClassInfo* info) {
    const ClassEntry* entry = At(index);
    if (!entry || !info) return kInvalidArgument;
    std::memcpy(info->cid, entry->info.cid, sizeof(TUID));
    info->cardinality = entry->info.cardinality;
    Text::CopyAscii(info->category, entry->info.category, PClassInfo::kCategorySize);
    Text::CopyAscii(info->name, entry->info.name, PClassInfo::kNameSize);
    return kResultOk;
}

tresult CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info) {
    const ClassEntry* entry = At(index);
    if (!entry || !info) return kInvalidArgument;
    *info = entry->info;
    return kResultOk;
}

tresult CPluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info) {
    const ClassEntry* entry = At(index);
    if (!entry || !info) return kInvalidArgument;
    const PClassInfo2& source = entry->info;
    std::memcpy(info->cid, source.cid, sizeof(TUID));
    info->cardinality = source.cardinality;
    Text::CopyAscii(info->category, source.category, PClassInfo::kCategorySize);
    WidenInto(info->name, source.name, PClassInfo::kNameSize);
    info->classFlags = source.classFlags;
    Text::CopyAscii(info->subCategories, source.subCategories, PClassInfoW::kSubCategoriesSize);
    WidenInto(info->vendor, source.vendor, PClassInfoW::kVendorSize);
    WidenInto(info->version, source.version, PClassInfoW::kVersionSize);
    WidenInto(info->sdkVersion, source.sdkVersion, PClassInfoW::kVersionSize);
    return kResultOk;
}

// The object is asked for the requested interface; the creation reference is then given up,
// so the caller holds the only one.
tresult CPluginFactory::createInstance(FIDString cid, FIDString iid, void** object) {
    if (!object) return kInvalidArgument;
    *object = nullptr;
    const ClassEntry* entry = Find(cid);
    if (!entry || !iid) return kNoInterface;
    FUnknown* instance = entry->create(nullptr);
    if (!instance) return kResultFalse;
    const tresult result = instance->queryInterface(iid, object);
    instance->release();
    return result == kResultOk ? kResultOk : kNoInterface;
}

tresult CPluginFactory::setHostContext(FUnknown* /*context*/) { return kResultOk; }

const CPluginFactory::ClassEntry* CPluginFactory::At(int32 index) const noexcept {
    if (index < 0 || static_cast<size_t>(index) >= classes_.size()) return nullptr;
    return &classes_[static_cast<size_t>(index)];
}

const CPluginFactory::ClassEntry* CPluginFactory::Find(FIDString cid) const noexcept {
    for (const ClassEntry& entry : classes_)
        if (cid && std::memcmp(entry.info.cid, cid, sizeof(TUID)) == 0) return &entry;
    return nullptr;
}

}  // namespace Steinberg
