// TandrelMini's VST 3 view in a Windows host: "HWND" is its platform type, its size is known
// before it is attached, attaching makes a child window of that size in the host's window
// and removing it leaves none.
#if defined(_WIN32)
#include <gtest/gtest.h>
#include <windows.h>

#include "hosts/vst3/interfaces/icomponent.h"
#include "hosts/vst3/interfaces/ieditcontroller.h"
#include "hosts/vst3/interfaces/iplugview.h"
#include "tests/hosts/vst3/vst3_test_host.h"

using namespace Vst3TestHost;

namespace {

const std::string kBinary = std::string(KIV_TANDREL_MINI_BUNDLE) + "/Contents/x86_64-win/TandrelMini.vst3";
constexpr InterfaceId kClassId = MakeInterfaceId(0x4B657374, 0x72756E65, 0x4B416540, 0x4B416540);

HWND MakeHostWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TandrelMiniVst3TestHost";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, L"TandrelMiniVst3TestHost", L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1100, 700,
                           nullptr, nullptr, windowClass.hInstance, nullptr);
}

void Pump() {
    for (int i = 0; i < 5; ++i) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
}

TEST(TandrelMiniVst3EditorWin32, AttachesAChildWindowOfItsSizeAndRemovesIt) {
    KivPlatform::DynamicLibrary library;
    ASSERT_TRUE(library.Load(kBinary)) << library.ErrorText();
    using Entry = IPluginFactory* (*)();
    IPluginFactory* factory = reinterpret_cast<Entry>(library.Symbol("GetPluginFactory"))();
    ASSERT_NE(factory, nullptr);
    void* object = nullptr;
    ASSERT_EQ(factory->createInstance(kClassId.bytes, IComponent::iid.bytes, &object), kResultOk);
    auto* component = static_cast<IComponent*>(object);
    HostApplication host;
    ASSERT_EQ(component->initialize(&host), kResultOk);
    IEditController* controller = Query<IEditController>(component);
    ASSERT_NE(controller, nullptr);

    HWND window = MakeHostWindow();
    ASSERT_NE(window, nullptr);
    IPlugView* view = controller->createView("editor");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->isPlatformTypeSupported("HWND"), kResultTrue);
    EXPECT_EQ(view->isPlatformTypeSupported("X11EmbedWindowID"), kResultFalse);
    ViewRect size{};
    ASSERT_EQ(view->getSize(&size), kResultTrue);
    EXPECT_EQ(size.getWidth(), 1000);
    EXPECT_EQ(size.getHeight(), 712);
    ASSERT_EQ(view->attached(window, "HWND"), kResultOk);
    Pump();
    HWND child = GetWindow(window, GW_CHILD);
    ASSERT_NE(child, nullptr);
    RECT client{};
    GetClientRect(child, &client);
    EXPECT_EQ(client.right - client.left, 1000);
    EXPECT_EQ(client.bottom - client.top, 712);
    EXPECT_EQ(view->removed(), kResultOk);
    Pump();
    EXPECT_EQ(GetWindow(window, GW_CHILD), nullptr);
    view->release();
    DestroyWindow(window);

    controller->release();
    component->terminate();
    component->release();
    factory->release();
}

}  // namespace
#endif  // _WIN32
