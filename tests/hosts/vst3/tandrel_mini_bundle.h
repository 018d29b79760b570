#pragma once
// The built TandrelMini bundle as the VST 3 tests load it: the binary for this system, the
// processor's class, the factory, and an initialised instance with its controller face.
#include <gtest/gtest.h>

#include <string>

#include "hosts/vst3/interfaces/icomponent.h"
#include "hosts/vst3/interfaces/ieditcontroller.h"
#include "tests/hosts/vst3/vst3_test_host.h"

namespace Vst3TestHost {

#if defined(_WIN32)
inline const std::string kTandrelMiniBinary = std::string(KIV_TANDREL_MINI_BUNDLE) + "/Contents/x86_64-win/TandrelMini.vst3";
#else
inline const std::string kTandrelMiniBinary = std::string(KIV_TANDREL_MINI_BUNDLE) + "/Contents/x86_64-linux/TandrelMini.so";
#endif
inline constexpr InterfaceId kTandrelMiniClassId = MakeInterfaceId(0x4B657374, 0x72756E65, 0x4B416540, 0x4B416540);

// The bundle's library and factory; with CreateInstance, one instance initialised with `host`
// and its controller. Everything is released in reverse order, the library last.
class TandrelMiniBundle {
public:
    TandrelMiniBundle() = default;
    TandrelMiniBundle(const TandrelMiniBundle&) = delete;
    TandrelMiniBundle& operator=(const TandrelMiniBundle&) = delete;
    ~TandrelMiniBundle() {
        if (controller) controller->release();
        if (component) {
            component->terminate();
            component->release();
        }
        if (factory) factory->release();
    }
    // Call through ASSERT_NO_FATAL_FAILURE: a step that fails ends the test.
    void LoadFactory() {
        ASSERT_TRUE(library.Load(kTandrelMiniBinary)) << library.ErrorText();
        using Entry = IPluginFactory* (*)();
        auto entry = reinterpret_cast<Entry>(library.Symbol("GetPluginFactory"));
        ASSERT_NE(entry, nullptr) << library.ErrorText();
        factory = entry();
        ASSERT_NE(factory, nullptr);
    }
    void CreateInstance() {
        ASSERT_NO_FATAL_FAILURE(LoadFactory());
        void* object = nullptr;
        ASSERT_EQ(factory->createInstance(kTandrelMiniClassId.bytes, IComponent::iid.bytes, &object), kResultOk);
        component = static_cast<IComponent*>(object);
        ASSERT_EQ(component->initialize(&host), kResultOk);
        controller = Query<IEditController>(component);
        ASSERT_NE(controller, nullptr);
    }

    KivPlatform::DynamicLibrary library;
    IPluginFactory* factory = nullptr;
    HostApplication host;
    IComponent* component = nullptr;
    IEditController* controller = nullptr;
};

}  // namespace Vst3TestHost
