// The clipboard on the X11 CLIPBOARD selection under a private Xvfb server: what one
// process copies, another X client converts under the format's name, and the other way
// round; transfers too large for one property are refused; without a display the clipboard
// stays inside the process. Skips the X parts when Xvfb is not installed.
#if !defined(_WIN32)
#include <poll.h>

#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "platform/kiv_clipboard.h"
#include "platform/posix/x11/kiv_x11_selection.h"
#include "tests/gui/x11/kiv_xvfb_server.h"

// Last: Xlib's macros (None, Bool, Status) would break the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

constexpr char16_t kFormat[] = u"KivAudioPluginSettings";

// Bytes 1..255 over and over: every value but the zero that ends clipboard contents.
std::vector<uint8_t> Binary(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(1 + i % 255);
    return bytes;
}

using KivXvfbSession::ThreadCount;

// Another X client, as a second program would be.
class Peer {
public:
    Peer() {
        display = XOpenDisplay(nullptr);
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
        clipboard = Intern("CLIPBOARD");
        property = Intern("PEER_TRANSFER");
    }
    ~Peer() {
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    Atom Intern(const char* name) const { return XInternAtom(display, name, False); }

    // Waits up to 3 s for an event of `type`.
    bool WaitFor(int type, XEvent& event) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (std::chrono::steady_clock::now() < deadline) {
            while (XPending(display) > 0) {
                XNextEvent(display, &event);
                if (event.type == type) return true;
            }
            pollfd fd{ConnectionNumber(display), POLLIN, 0};
            poll(&fd, 1, 50);
        }
        return false;
    }

    // The selection converted to `target`: its bytes (for atoms, the atoms), or nothing
    // when the owner refused.
    std::optional<std::vector<unsigned long>> Convert(const char* target, Atom* type = nullptr) const {
        XConvertSelection(display, clipboard, Intern(target), property, window, CurrentTime);
        XFlush(display);
        XEvent event;
        if (!WaitFor(SelectionNotify, event) || event.xselection.property == None) return std::nullopt;
        Atom actual = None;
        int bits = 0;
        unsigned long count = 0, after = 0;
        unsigned char* bytes = nullptr;
        XGetWindowProperty(display, window, property, 0, 0x1FFFFFFF, True, AnyPropertyType, &actual, &bits, &count, &after,
                           &bytes);
        std::vector<unsigned long> values(count);
        for (unsigned long i = 0; i < count; ++i)
            values[i] = bits == 32 ? reinterpret_cast<unsigned long*>(bytes)[i] : bytes[i];
        if (bytes != nullptr) XFree(bytes);
        if (type != nullptr) *type = actual;
        return values;
    }

    // Takes the selection, then answers one request on a thread: with `data` under
    // `type` when the request is for `target`, refused otherwise.
    std::thread ServeOnce(const char* target, const char* type, std::vector<uint8_t> data) {
        XSetSelectionOwner(display, clipboard, window, CurrentTime);
        XSync(display, False);
        return std::thread([this, wanted = Intern(target), as = Intern(type), data = std::move(data)] {
            XEvent event;
            if (!WaitFor(SelectionRequest, event)) return;
            const XSelectionRequestEvent& request = event.xselectionrequest;
            XEvent reply{};
            reply.xselection.type = SelectionNotify;
            reply.xselection.requestor = request.requestor;
            reply.xselection.selection = request.selection;
            reply.xselection.target = request.target;
            reply.xselection.time = request.time;
            reply.xselection.property = None;
            if (request.target == wanted) {
                XChangeProperty(display, request.requestor, request.property, as, as == Intern("INCR") ? 32 : 8,
                                PropModeReplace, data.data(), static_cast<int>(as == Intern("INCR") ? 1 : data.size()));
                reply.xselection.property = request.property;
            }
            XSendEvent(display, request.requestor, False, NoEventMask, &reply);
            XFlush(display);
            ++answered;
        });
    }

    Display* display = nullptr;
    Window window = 0;
    Atom clipboard = 0;
    Atom property = 0;
    int answered = 0;
};

class X11Clipboard : public ::testing::Test {
protected:
    void SetUp() override {
        if (KivXvfbServer::pid == 0) GTEST_SKIP() << "Xvfb is not available";
        ASSERT_TRUE(KivPlatform::X11Selection::Available());
    }
    void TearDown() override { KivPlatform::X11Selection::Stop(); }
};

TEST_F(X11Clipboard, WhatIsCopiedOtherClientsConvertUnderTheFormatName) {
    const std::vector<uint8_t> data = Binary(70000);
    ASSERT_EQ(KivClipboard::Put(kFormat, data.data(), static_cast<int32_t>(data.size())), KivClipboard::Result::kDone);
    Peer peer;
    Atom type = None;
    const auto converted = peer.Convert("KivAudioPluginSettings", &type);
    ASSERT_TRUE(converted.has_value());
    EXPECT_EQ(std::vector<uint8_t>(converted->begin(), converted->end()), data);
    EXPECT_EQ(type, peer.Intern("KivAudioPluginSettings"));
    const auto targets = peer.Convert("TARGETS");
    ASSERT_TRUE(targets.has_value());
    EXPECT_EQ(*targets, (std::vector<unsigned long>{peer.Intern("TARGETS"), peer.Intern("KivAudioPluginSettings")}));
    EXPECT_FALSE(peer.Convert("UTF8_STRING").has_value());  // not offered

    std::vector<uint8_t> back;
    ASSERT_EQ(KivClipboard::Get(kFormat, back), KivClipboard::Result::kDone);
    EXPECT_EQ(back, data);
    EXPECT_EQ(KivClipboard::Get(u"SomethingElse", back), KivClipboard::Result::kNoData);
}

TEST_F(X11Clipboard, PasteAsksTheClientThatCopiedAndRefusesPiecewiseTransfers) {
    const uint8_t ours[] = "ours";
    ASSERT_EQ(KivClipboard::Put(kFormat, ours, 4), KivClipboard::Result::kDone);
    Peer peer;
    const std::vector<uint8_t> theirs = Binary(3000);
    std::thread server = peer.ServeOnce("KivAudioPluginSettings", "KivAudioPluginSettings", theirs);
    std::vector<uint8_t> pasted;
    EXPECT_EQ(KivClipboard::Get(kFormat, pasted), KivClipboard::Result::kDone);
    server.join();
    EXPECT_EQ(peer.answered, 1);  // the peer's copy replaced ours
    EXPECT_EQ(pasted, theirs);

    server = peer.ServeOnce("KivAudioPluginSettings", "INCR", std::vector<uint8_t>(4, 0x10));
    EXPECT_EQ(KivClipboard::Get(kFormat, pasted), KivClipboard::Result::kAccessError);
    server.join();
    server = peer.ServeOnce("KivAudioPluginSettings", "KivAudioPluginSettings", theirs);
    EXPECT_EQ(KivClipboard::Get(u"OtherFormat", pasted), KivClipboard::Result::kNoData);
    server.join();
    EXPECT_EQ(peer.answered, 3);
}

TEST_F(X11Clipboard, StoppingLeavesNoThreadBehind) {
    KivPlatform::X11Selection::Stop();
    const int before = ThreadCount();
    const uint8_t text[] = "abc";
    ASSERT_EQ(KivClipboard::Put(kFormat, text, 3), KivClipboard::Result::kDone);
    EXPECT_EQ(ThreadCount(), before + 1);
    KivPlatform::X11Selection::Stop();
    EXPECT_EQ(ThreadCount(), before);
}

TEST(X11ClipboardFallback, WithoutADisplayTheClipboardStaysInTheProcess) {
    KivPlatform::X11Selection::Stop();
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display != nullptr ? display : "";
    unsetenv("DISPLAY");
    EXPECT_FALSE(KivPlatform::X11Selection::Available());
    const std::vector<uint8_t> data = Binary(1000);
    EXPECT_EQ(KivClipboard::Put(kFormat, data.data(), 1000), KivClipboard::Result::kDone);
    std::vector<uint8_t> back;
    EXPECT_EQ(KivClipboard::Get(kFormat, back), KivClipboard::Result::kDone);
    EXPECT_EQ(back, data);
    EXPECT_EQ(KivClipboard::Get(u"OtherFormat", back), KivClipboard::Result::kNoData);
    if (!saved.empty()) setenv("DISPLAY", saved.c_str(), 1);
    KivPlatform::X11Selection::Stop();
}

[[maybe_unused]] const auto* const xvfb = ::testing::AddGlobalTestEnvironment(new KivXvfbServer());

}  // namespace
#endif
