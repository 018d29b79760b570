// TandrelMini's library freed by a careless host: a fresh copy of the plug-in file is loaded,
// an instance is created (every other time with its editor open in a host window) and the
// library is freed without closing anything. The instance's threads keep running, so they
// must keep their code loaded: the process survives. A host that closes properly gets back
// every thread the plug-in started. The editor needs a window system: a private Xvfb server
// on Linux (skipped without one), Wine's null graphics driver on Windows.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "hosts/vst2/vst2_abi.h"
#include "platform/kiv_dynamic_library.h"

#if defined(_WIN32)
#include <windows.h>
#include <tlhelp32.h>

#include "tests/support/kiv_win32_host_window.h"
#else
#include "tests/support/kiv_xvfb_session.h"
#endif

namespace fs = std::filesystem;

namespace {

intptr_t Host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

#if defined(_WIN32)
int ThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

// The host's own window, which the editor opens into.
class HostWindow {
public:
    void* Parent() const { return window_.Handle(); }
    void Pump() { KivWin32HostWindow::DispatchPending(); }

private:
    KivWin32HostWindow window_{false};
};
#else
int ThreadCount() { return KivXvfbSession::ThreadCount(); }

class HostWindow {
public:
    HostWindow() {
        if (server_.Pid() == 0 || !(display_ = XOpenDisplay(nullptr))) return;
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1100, 700, 0, 0, 0);
        XMapWindow(display_, window_);
        XSync(display_, False);
    }
    // The server stays up: an editor left open by a leaked instance still holds a connection.
    ~HostWindow() {
        if (display_) XCloseDisplay(display_);
    }
    void* Parent() const { return window_ ? reinterpret_cast<void*>(window_) : nullptr; }
    void Pump() {
        if (display_) XSync(display_, False);
    }

private:
    KivXvfbSession::Server server_;
    Display* display_ = nullptr;
    Window window_ = 0;
};
#endif

// Each round loads its own copy of the file, as a host does that rescans or loads the same
// plug-in from two places: the system then maps a new library rather than counting another
// user of the one already loaded.
class FreshLibrary {
public:
    explicit FreshLibrary(int round) {
        const fs::path source(KIV_TANDREL_MINI_PATH);
        folder_ = fs::temp_directory_path() / ("tandrel-unload-" + std::to_string(CurrentProcessId()));
        fs::create_directories(folder_);
        path_ = folder_ / ("TandrelMini-" + std::to_string(round) + source.extension().string());
        fs::copy_file(source, path_, fs::copy_options::overwrite_existing);
    }
    bool Load() {
        const bool loaded = library_.Load(path_.u16string());
#if !defined(_WIN32)
        // A mapped file may go on Linux: the copies (30 MB with debugging information) never
        // pile up on the disk.
        std::error_code ignored;
        fs::remove(path_, ignored);
#endif
        return loaded;
    }
    AEffect* CreateInstance() {
        using Main = AEffect* (*)(audioMasterCallback);
        auto main = reinterpret_cast<Main>(library_.Symbol("VSTPluginMain"));
        AEffect* effect = main ? main(&Host) : nullptr;
        if (effect) effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
        return effect;
    }
    void Free() { library_.Unload(); }
    const std::string& ErrorText() const { return library_.ErrorText(); }
    // The copies of rounds whose library stays mapped cannot be deleted (on Windows); the
    // process's end leaves them in its own temporary folder.
    static void RemoveWhatCanBe() {
        std::error_code ignored;
        fs::remove_all(fs::temp_directory_path() / ("tandrel-unload-" + std::to_string(CurrentProcessId())), ignored);
    }

private:
    static unsigned long CurrentProcessId() {
#if defined(_WIN32)
        return GetCurrentProcessId();
#else
        return static_cast<unsigned long>(getpid());
#endif
    }
    fs::path folder_;
    fs::path path_;
    KivPlatform::DynamicLibrary library_;
};

intptr_t Dispatch(AEffect* effect, int32_t opcode, void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, 0, 0, ptr, 0.0f);
}

TEST(TandrelMiniUnload, ClosedInstancesLeaveNoThreadBehind) {
    HostWindow host;
    const int before = ThreadCount();
    ASSERT_GT(before, 0);
    for (int round = 0; round < 3; ++round) {
        FreshLibrary library(round);
        ASSERT_TRUE(library.Load()) << library.ErrorText();
        AEffect* effect = library.CreateInstance();
        ASSERT_NE(effect, nullptr);
        if (host.Parent()) {
            ASSERT_EQ(Dispatch(effect, effEditOpen, host.Parent()), 1);
            host.Pump();
            Dispatch(effect, effEditIdle);
            EXPECT_GT(ThreadCount(), before);
            Dispatch(effect, effEditClose);
        }
        Dispatch(effect, effClose);
        library.Free();
        host.Pump();
        EXPECT_EQ(ThreadCount(), before) << "round " << round;
    }
    FreshLibrary::RemoveWhatCanBe();
}

TEST(TandrelMiniUnload, ALibraryFreedUnderALiveInstanceKeepsTheProcessAlive) {
    HostWindow host;
    for (int round = 0; round < 20; ++round) {
        FreshLibrary library(round);
        ASSERT_TRUE(library.Load()) << library.ErrorText();
        AEffect* effect = library.CreateInstance();
        ASSERT_NE(effect, nullptr);
        const bool withEditor = round % 2 == 1 && host.Parent();
        if (withEditor) {
            ASSERT_EQ(Dispatch(effect, effEditOpen, host.Parent()), 1);
            Dispatch(effect, effEditIdle);
        }
        library.Free();
        // The instance's threads wake every 100 ms; a thread running in unmapped code would
        // have ended the process by the end of this wait.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        host.Pump();
    }
    SUCCEED();
}

}  // namespace
