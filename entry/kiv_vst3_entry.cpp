#include "entry/kiv_vst3_entry.h"

#include "base/kiv_boundary.h"
#include "entry/kiv_plugin_creation.h"
#include "entry/kiv_product.h"
#include "hosts/vst3/kiv_audio_plugin_vst3_adapter.h"
#include "hosts/vst3/sdk/fuid.h"
#include "hosts/vst3/sdk/plugin_factory.h"
#include "hosts/vst3/sdk/vst3_text.h"

using namespace Steinberg;

namespace {

constexpr const char* kWebAddress = "https://www.kestrune.com";
constexpr const char* kContactAddress = "mailto:info@kestrune.com";
constexpr const char* kCategory = "Audio Module Class";
constexpr const char* kSubCategories = "Fx|Dynamics";
constexpr const char* kSdkVersion = "VST 3.5.1";

constexpr FUID kClassId(KivVst3Entry::kClassWords[0], KivVst3Entry::kClassWords[1], KivVst3Entry::kClassWords[2],
                        KivVst3Entry::kClassWords[3]);

FUnknown* CreateAdapter() {
    auto* adapter = new KivAudioPluginVST3Adapter(KivPluginCreation::CreateHostedPlugin());
    return static_cast<Vst::IComponent*>(adapter);
}

FUnknown* CreateInstance(void* /*context*/) {
    return KivGuard("VST3 Plugin main", static_cast<FUnknown*>(nullptr), [] { return CreateAdapter(); });
}

PFactoryInfo FactoryInfo() {
    PFactoryInfo info{};
    Text::CopyAscii(info.vendor, KivShippedProduct().vendor, PFactoryInfo::kNameSize);
    Text::CopyAscii(info.url, kWebAddress, PFactoryInfo::kURLSize);
    Text::CopyAscii(info.email, kContactAddress, PFactoryInfo::kEmailSize);
    info.flags = PFactoryInfo::kUnicode;
    return info;
}

// The class vendor stays empty: the factory's vendor applies.
void Describe(CPluginFactory& factory) {
    PClassInfo2 info{};
    kClassId.CopyTo(info.cid);
    info.cardinality = PClassInfo::kManyInstances;
    Text::CopyAscii(info.category, kCategory, PClassInfo::kCategorySize);
    Text::CopyAscii(info.name, KivShippedProduct().pluginName, PClassInfo::kNameSize);
    info.classFlags = 0;
    Text::CopyAscii(info.subCategories, kSubCategories, PClassInfo2::kSubCategoriesSize);
    Text::CopyAscii(info.version, KivShippedProduct().version, PClassInfo2::kVersionSize);
    Text::CopyAscii(info.sdkVersion, kSdkVersion, PClassInfo2::kVersionSize);
    factory.RegisterClass(info, &CreateInstance);
}

}  // namespace

namespace KivVst3Entry {

IPluginFactory* GetFactory() noexcept {
    return KivGuard("GetPluginFactory", static_cast<IPluginFactory*>(nullptr),
                    [] { return static_cast<IPluginFactory*>(CPluginFactory::ObtainShared(FactoryInfo(), &Describe)); });
}

}  // namespace KivVst3Entry
