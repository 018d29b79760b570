// The X11 side of the window system, over Xlib with a display connection of its own. There
// is no message loop of its own: the host's idle call pumps (Pump(false)), and modal loops
// block in poll() on the X connection and a wake pipe, so nothing polls on a clock.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/kiv_clock.h"
#include "platform/kiv_native_windows.h"
#include "platform/posix/x11/kiv_x11_errors.h"

namespace KivPlatform {
namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | KeyPressMask | KeyReleaseMask |
                            StructureNotifyMask | FocusChangeMask;
// Areas below this many pixels go through the socket; above it a shared-memory image pays.
constexpr int32_t kSharedMemoryThreshold = 128 * 128;
constexpr uint32_t kDoubleClickMilliseconds = 400;


struct Area {
    int32_t left = 0, top = 0, right = -1, bottom = -1;
    bool Empty() const { return right < left || bottom < top; }
    void Add(int32_t l, int32_t t, int32_t r, int32_t b) {
        if (r < l || b < t) return;
        if (Empty()) {
            left = l, top = t, right = r, bottom = b;
        } else {
            left = std::min(left, l), top = std::min(top, t), right = std::max(right, r), bottom = std::max(bottom, b);
        }
    }
};

struct Timer {
    int32_t interval;
    uint32_t due;
};

struct WindowState {
    void* owner = nullptr;
    bool topLevel = true;
    bool tracking = false;
    bool mapped = false;
    Area pending;
    int32_t width = 0, height = 0;
    // Shared-memory image sized to the last presented buffer.
    XShmSegmentInfo shm{};
    XImage* shmImage = nullptr;
    std::map<uintptr_t, Timer> timers;
};

uint32_t VirtualKey(KeySym sym) {
    if (sym >= XK_a && sym <= XK_z) return static_cast<uint32_t>(sym - XK_a + 'A');
    if (sym >= XK_A && sym <= XK_Z) return static_cast<uint32_t>(sym);
    if (sym >= XK_0 && sym <= XK_9) return static_cast<uint32_t>(sym);
    if (sym >= XK_F1 && sym <= XK_F24) return static_cast<uint32_t>(0x70 + (sym - XK_F1));
    if (sym >= XK_KP_0 && sym <= XK_KP_9) return static_cast<uint32_t>(0x60 + (sym - XK_KP_0));
    switch (sym) {
        case XK_BackSpace: return 0x08;
        case XK_Tab: case XK_ISO_Left_Tab: return 0x09;
        case XK_Return: case XK_KP_Enter: return 0x0D;
        case XK_Shift_L: case XK_Shift_R: return 0x10;
        case XK_Control_L: case XK_Control_R: return 0x11;
        case XK_Alt_L: case XK_Alt_R: return 0x12;
        case XK_Pause: return 0x13;
        case XK_Escape: return 0x1B;
        case XK_space: return 0x20;
        case XK_Page_Up: return 0x21;
        case XK_Page_Down: return 0x22;
        case XK_End: return 0x23;
        case XK_Home: return 0x24;
        case XK_Left: return 0x25;
        case XK_Up: return 0x26;
        case XK_Right: return 0x27;
        case XK_Down: return 0x28;
        case XK_Insert: return 0x2D;
        case XK_Delete: return 0x2E;
        case XK_KP_Multiply: return 0x6A;
        case XK_KP_Add: return 0x6B;
        case XK_KP_Subtract: return 0x6D;
        case XK_KP_Decimal: return 0x6E;
        case XK_KP_Divide: return 0x6F;
        default: return 0;
    }
}

uint8_t StateMask(unsigned int state) {
    uint8_t mask = 0;
    if (state & Button1Mask) mask |= 1;
    if (state & Button2Mask) mask |= 2;
    if (state & Button3Mask) mask |= 4;
    if (state & ControlMask) mask |= 16;
    if (state & Mod1Mask) mask |= 32;
    if (state & ShiftMask) mask |= 64;
    return mask;
}

class X11Windowing final : public NativeWindowing {
public:
    X11Windowing(Display* display, NativeInputSink& sink) : display_(display), sink_(sink) {
        screen_ = DefaultScreen(display_);
        root_ = RootWindow(display_, screen_);
        deleteAtom_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
        protocolsAtom_ = XInternAtom(display_, "WM_PROTOCOLS", False);
        utf8Atom_ = XInternAtom(display_, "UTF8_STRING", False);
        netNameAtom_ = XInternAtom(display_, "_NET_WM_NAME", False);
        wmStateAtom_ = XInternAtom(display_, "WM_STATE", False);
        int major, minor;
        Bool pixmaps;
        shmAvailable_ = XShmQueryVersion(display_, &major, &minor, &pixmaps) == True;
        if (pipe(wakePipe_) == 0) {
            for (int fd : wakePipe_) {
                fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
                fcntl(fd, F_SETFD, FD_CLOEXEC);
            }
        }
    }

    ~X11Windowing() override {
        while (!windows_.empty()) DestroyWindow(windows_.begin()->first);
        for (auto& [shape, cursor] : cursors_) XFreeCursor(display_, cursor);
        XCloseDisplay(display_);
        for (int fd : wakePipe_) {
            if (fd >= 0) close(fd);
        }
    }

    const char* Name() const override { return "X11 native window-system"; }

    NativeWindowHandle NewWindow(NativeWindowHandle parent, int32_t x, int32_t y, int32_t width, int32_t height,
                                    void* owner) override {
        XSetWindowAttributes attributes{};
        attributes.event_mask = kEventMask;
        // No background: the toolkit paints every pixel, and the server must not clear
        // between an expose and the paint.
        attributes.background_pixmap = None;
        attributes.bit_gravity = NorthWestGravity;
        const Window window = XCreateWindow(display_, parent != 0 ? static_cast<Window>(parent) : root_, x, y,
                                            static_cast<unsigned>(std::max(1, width)),
                                            static_cast<unsigned>(std::max(1, height)), 0, CopyFromParent,
                                            InputOutput, CopyFromParent, CWEventMask | CWBackPixmap | CWBitGravity,
                                            &attributes);
        if (window == 0) return 0;
        WindowState& state = windows_[window];
        state.owner = owner;
        state.topLevel = parent == 0;
        state.width = width;
        state.height = height;
        if (state.topLevel) XSetWMProtocols(display_, window, &deleteAtom_, 1);
        XFlush(display_);
        return window;
    }

    void DestroyWindow(NativeWindowHandle handle) override {
        auto found = windows_.find(handle);
        if (found == windows_.end()) return;
        ReleaseShm(found->second);
        if (grabbed_ == handle) {
            XUngrabPointer(display_, CurrentTime);
            grabbed_ = 0;
        }
        windows_.erase(found);
        modalEnds_.erase(std::remove(modalEnds_.begin(), modalEnds_.end(), handle), modalEnds_.end());
        XDestroyWindow(display_, static_cast<Window>(handle));
        XFlush(display_);
    }

    void SetParent(NativeWindowHandle handle, NativeWindowHandle parent, bool changeStyle, bool child) override {
        XReparentWindow(display_, static_cast<Window>(handle), parent != 0 ? static_cast<Window>(parent) : root_, 0, 0);
        if (changeStyle) {
            if (WindowState* state = Find(handle)) state->topLevel = !child || parent == 0;
        }
        XFlush(display_);
    }

    bool IsVisible(NativeWindowHandle handle) override {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display_, static_cast<Window>(handle), &attributes)) return false;
        return attributes.map_state == IsViewable;
    }

    void SetTitle(NativeWindowHandle handle, const char16_t* text, int32_t count) override {
        std::string utf8;
        for (int32_t i = 0; i < count; ++i) {
            uint32_t c = text[i];
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < count) c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
            if (c < 0x80) {
                utf8 += static_cast<char>(c);
            } else if (c < 0x800) {
                utf8 += static_cast<char>(0xC0 | (c >> 6));
                utf8 += static_cast<char>(0x80 | (c & 0x3F));
            } else if (c < 0x10000) {
                utf8 += static_cast<char>(0xE0 | (c >> 12));
                utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                utf8 += static_cast<char>(0x80 | (c & 0x3F));
            } else {
                utf8 += static_cast<char>(0xF0 | (c >> 18));
                utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
                utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                utf8 += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        XStoreName(display_, static_cast<Window>(handle), utf8.c_str());
        XChangeProperty(display_, static_cast<Window>(handle), netNameAtom_, utf8Atom_, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
        XFlush(display_);
    }

    void Place(NativeWindowHandle handle, int32_t x, int32_t y, int32_t width, int32_t height,
               int32_t placement) override {
        const Window window = static_cast<Window>(handle);
        width = std::max(1, width);
        height = std::max(1, height);
        if ((placement & (kMove | kSize)) == (kMove | kSize)) {
            XMoveResizeWindow(display_, window, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height));
        } else if (placement & kMove) {
            XMoveWindow(display_, window, x, y);
        } else if (placement & kSize) {
            XResizeWindow(display_, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
        }
        XFlush(display_);
    }

    void SetShape(NativeWindowHandle handle, const int32_t* rects, int32_t count) override {
        const Window window = static_cast<Window>(handle);
        if (rects == nullptr || count <= 0) {
            XShapeCombineMask(display_, window, ShapeBounding, 0, 0, None, ShapeSet);
        } else {
            std::vector<XRectangle> list;
            for (int32_t i = 0; i < count; ++i) {
                const int32_t* r = rects + 4 * i;
                if (r[2] < r[0] || r[3] < r[1]) continue;
                list.push_back(XRectangle{static_cast<short>(r[0]), static_cast<short>(r[1]),
                                          static_cast<unsigned short>(r[2] - r[0] + 1),
                                          static_cast<unsigned short>(r[3] - r[1] + 1)});
            }
            XShapeCombineRectangles(display_, window, ShapeBounding, 0, 0, list.data(), static_cast<int>(list.size()),
                                    ShapeSet, Unsorted);
        }
        XFlush(display_);
    }

    bool GetBounds(NativeWindowHandle handle, int32_t bounds[4]) override {
        Window rootReturn, child;
        int x, y;
        unsigned width, height, border, depth;
        if (!XGetGeometry(display_, static_cast<Window>(handle), &rootReturn, &x, &y, &width, &height, &border,
                          &depth)) {
            return false;
        }
        const WindowState* state = Find(handle);
        if (state != nullptr && state->topLevel) {
            XTranslateCoordinates(display_, static_cast<Window>(handle), root_, 0, 0, &x, &y, &child);
        }
        bounds[0] = x;
        bounds[1] = y;
        bounds[2] = x + static_cast<int32_t>(width) - 1;
        bounds[3] = y + static_cast<int32_t>(height) - 1;
        return true;
    }

    void Show(NativeWindowHandle handle, bool show) override {
        WindowState* state = Find(handle);
        if (state == nullptr) return;
        state->mapped = show;
        if (show) {
            XMapWindow(display_, static_cast<Window>(handle));
        } else {
            XUnmapWindow(display_, static_cast<Window>(handle));
        }
        XFlush(display_);
    }

    void PostShow(NativeWindowHandle handle, bool show) override {
        {
            std::lock_guard<std::mutex> guard(postLock_);
            posted_.push_back({handle, show});
        }
        Wake();
    }

    bool IsMinimized(NativeWindowHandle handle) override {
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        bool iconic = false;
        if (XGetWindowProperty(display_, static_cast<Window>(handle), wmStateAtom_, 0, 2, False, wmStateAtom_, &type,
                               &format, &count, &after, &data) == Success &&
            data != nullptr && count > 0 && format == 32) {
            iconic = reinterpret_cast<long*>(data)[0] == IconicState;
        }
        if (data != nullptr) XFree(data);
        return iconic;
    }

    void Activate(NativeWindowHandle handle) override {
        if (grabbed_ != 0) SetCapture(grabbed_, false);
        XRaiseWindow(display_, static_cast<Window>(handle));
        if (IsVisible(handle)) XSetInputFocus(display_, static_cast<Window>(handle), RevertToParent, CurrentTime);
        XFlush(display_);
    }

    void* ForegroundOwner() override {
        Window focus;
        int revert;
        XGetInputFocus(display_, &focus, &revert);
        const WindowState* state = Find(focus);
        return state == nullptr ? nullptr : state->owner;
    }

    void GetWorkArea(int32_t, int32_t, int32_t area[4]) override {
        area[0] = 0;
        area[1] = 0;
        area[2] = DisplayWidth(display_, screen_) - 1;
        area[3] = DisplayHeight(display_, screen_) - 1;
    }

    bool Pump(bool wait) override {
        bool worked = PumpOnce();
        while (wait && !worked && !quit_) {
            WaitForInput();
            worked = PumpOnce();
        }
        // A quit ends the loop that sees it (and the loops around it, which are told by the
        // window system); the next loop starts afresh.
        const bool running = !quit_;
        quit_ = false;
        return running;
    }

    void PostQuit() override { quit_ = true; }

    void PostEndModal(NativeWindowHandle handle) override { modalEnds_.push_back(handle); }

    void PostRepaintAll(NativeWindowHandle handle) override {
        if (WindowState* state = Find(handle)) state->pending.Add(0, 0, state->width - 1, state->height - 1);
    }

    void Wake() override {
        const char byte = 1;
        // A full pipe already holds a wake-up.
        if (wakePipe_[1] >= 0) {
            const ssize_t written = write(wakePipe_[1], &byte, 1);
            (void)written;
        }
    }

    int WakeDescriptor() const override { return wakePipe_[0]; }

    void InvalidateRect(NativeWindowHandle handle, int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        if (WindowState* state = Find(handle)) {
            state->pending.Add(std::max(0, left), std::max(0, top), std::min(right, state->width - 1),
                               std::min(bottom, state->height - 1));
        }
    }

    void UpdateNow(NativeWindowHandle handle) override {
        WindowState* state = Find(handle);
        if (state == nullptr || state->pending.Empty() || !state->mapped) return;
        PaintPending(handle, *state);
    }

    void Present(NativeWindowHandle handle, const uint32_t* pixels, int32_t rowLength, int32_t width, int32_t height,
                 int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        WindowState* state = Find(handle);
        if (state == nullptr) return;
        left = std::max(0, left);
        top = std::max(0, top);
        right = std::min(right, width - 1);
        bottom = std::min(bottom, height - 1);
        if (right < left || bottom < top) return;
        const Window window = static_cast<Window>(handle);
        GC gc = DefaultGC(display_, screen_);
        const int32_t areaWidth = right - left + 1;
        const int32_t areaHeight = bottom - top + 1;
        if (shmAvailable_ && areaWidth * areaHeight >= kSharedMemoryThreshold && EnsureShm(*state, width, height)) {
            XImage* image = state->shmImage;
            for (int32_t y = top; y <= bottom; ++y) {
                std::memcpy(image->data + static_cast<size_t>(y) * image->bytes_per_line + left * 4,
                            pixels + static_cast<size_t>(y) * rowLength + left, static_cast<size_t>(areaWidth) * 4);
            }
            XShmPutImage(display_, window, gc, image, left, top, left, top, static_cast<unsigned>(areaWidth),
                         static_cast<unsigned>(areaHeight), False);
            // The segment is reused by the next paint: the server must have read it.
            XSync(display_, False);
            return;
        }
        // The image borrows the pixels; the row length is the bitmap's.
        XImage* image = XCreateImage(display_, DefaultVisual(display_, screen_), 24, ZPixmap, 0,
                                     const_cast<char*>(reinterpret_cast<const char*>(pixels)),
                                     static_cast<unsigned>(width), static_cast<unsigned>(height), 32, rowLength * 4);
        if (image == nullptr) return;
        image->byte_order = LSBFirst;
        XPutImage(display_, window, gc, image, left, top, left, top, static_cast<unsigned>(areaWidth),
                  static_cast<unsigned>(areaHeight));
        image->data = nullptr;  // not ours to free
        XDestroyImage(image);
        XFlush(display_);
    }

    void SetCapture(NativeWindowHandle handle, bool on) override {
        if (on) {
            if (XGrabPointer(display_, static_cast<Window>(handle), False,
                             ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync, GrabModeAsync,
                             None, None, CurrentTime) == GrabSuccess) {
                grabbed_ = handle;
            }
        } else if (grabbed_ != 0) {
            XUngrabPointer(display_, CurrentTime);
            grabbed_ = 0;
        }
        XFlush(display_);
    }

    void SetCursorShape(int32_t shape) override {
        static const unsigned int shapes[] = {XC_left_ptr, XC_hand2, XC_xterm, XC_sb_h_double_arrow,
                                              XC_sb_v_double_arrow, XC_crosshair, XC_watch};
        if (shape < 0 || shape >= 7 || pointerWindow_ == 0 || Find(pointerWindow_) == nullptr) return;
        Cursor& cursor = cursors_[shape];
        if (cursor == 0) cursor = XCreateFontCursor(display_, shapes[shape]);
        XDefineCursor(display_, static_cast<Window>(pointerWindow_), cursor);
        XFlush(display_);
    }

    void GetCursorScreenPosition(int32_t& x, int32_t& y) override {
        Window rootReturn, child;
        int rootX = 0, rootY = 0, winX, winY;
        unsigned int mask;
        XQueryPointer(display_, root_, &rootReturn, &child, &rootX, &rootY, &winX, &winY, &mask);
        x = rootX;
        y = rootY;
    }

    void ScreenToClient(NativeWindowHandle handle, int32_t& x, int32_t& y) override {
        Window child;
        int outX, outY;
        XTranslateCoordinates(display_, root_, static_cast<Window>(handle), x, y, &outX, &outY, &child);
        x = outX;
        y = outY;
    }

    void ClientToScreen(NativeWindowHandle handle, int32_t& x, int32_t& y) override {
        Window child;
        int outX, outY;
        XTranslateCoordinates(display_, static_cast<Window>(handle), root_, x, y, &outX, &outY, &child);
        x = outX;
        y = outY;
    }

    void SetCursorScreenPosition(int32_t x, int32_t y) override {
        XWarpPointer(display_, None, root_, 0, 0, 0, 0, x, y);
        XFlush(display_);
    }

    void TrackMouseLeave(NativeWindowHandle handle) override {
        if (WindowState* state = Find(handle)) state->tracking = true;
    }

    uint8_t GetInputState() override {
        Window rootReturn, child;
        int rootX, rootY, winX, winY;
        unsigned int mask = 0;
        XQueryPointer(display_, root_, &rootReturn, &child, &rootX, &rootY, &winX, &winY, &mask);
        return StateMask(mask);
    }

    void SetTimer(NativeWindowHandle handle, uintptr_t timerId, int32_t interval) override {
        WindowState* state = Find(handle);
        if (state == nullptr) return;
        if (interval < 1) {
            state->timers.erase(timerId);
        } else {
            state->timers[timerId] = Timer{interval, Milliseconds() + static_cast<uint32_t>(interval)};
        }
    }

private:
    WindowState* Find(NativeWindowHandle handle) {
        auto found = windows_.find(handle);
        return found == windows_.end() ? nullptr : &found->second;
    }

    void Deliver(NativeInput input) { sink_.OnNativeInput(input); }

    NativeInput InputFor(NativeWindowHandle handle, NativeInput::Kind kind) {
        NativeInput input;
        input.kind = kind;
        input.window = handle;
        if (const WindowState* state = Find(handle)) input.owner = state->owner;
        return input;
    }

    // One round: posted requests, the wake pipe, X events, timers, then paints. True when
    // anything reached the sink.
    bool PumpOnce() {
        bool worked = false;
        std::vector<std::pair<NativeWindowHandle, bool>> shows;
        {
            std::lock_guard<std::mutex> guard(postLock_);
            shows.swap(posted_);
        }
        for (auto& [handle, show] : shows) Show(handle, show);
        char bytes[64];
        bool woken = false;
        while (wakePipe_[0] >= 0 && read(wakePipe_[0], bytes, sizeof bytes) > 0) woken = true;
        if (woken) {
            Deliver(InputFor(0, NativeInput::kExecuteEvents));
            worked = true;
        }
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            worked |= Translate(event);
        }
        if (!modalEnds_.empty()) {
            while (!modalEnds_.empty()) {
                const NativeWindowHandle handle = modalEnds_.front();
                modalEnds_.pop_front();
                Deliver(InputFor(handle, NativeInput::kEndModal));
            }
            // The modal loop ends with this pass: a timer due meanwhile belongs to whatever
            // loop runs next, not to a loop that has already ended.
            return true;
        }
        worked |= FireTimers();
        // Paints are not "work": they never keep a waiting loop awake.
        std::vector<NativeWindowHandle> dirty;
        for (auto& [handle, state] : windows_) {
            if (!state.pending.Empty() && state.mapped) dirty.push_back(handle);
        }
        for (NativeWindowHandle handle : dirty) {
            if (WindowState* state = Find(handle)) PaintPending(handle, *state);
        }
        return worked;
    }

    void PaintPending(NativeWindowHandle handle, WindowState& state) {
        const Area area = state.pending;
        state.pending = Area{};
        NativeInput input = InputFor(handle, NativeInput::kPaint);
        input.left = area.left;
        input.top = area.top;
        input.right = area.right;
        input.bottom = area.bottom;
        Deliver(input);
    }

    bool FireTimers() {
        const uint32_t now = Milliseconds();
        std::vector<std::pair<NativeWindowHandle, uintptr_t>> due;
        for (auto& [handle, state] : windows_) {
            for (auto& [id, timer] : state.timers) {
                if (static_cast<int32_t>(now - timer.due) >= 0) {
                    due.emplace_back(handle, id);
                    timer.due = now + static_cast<uint32_t>(timer.interval);
                }
            }
        }
        for (auto& [handle, id] : due) {
            WindowState* state = Find(handle);
            if (state == nullptr || state->timers.count(id) == 0) continue;
            NativeInput input = InputFor(handle, NativeInput::kTimer);
            input.timerId = id;
            Deliver(input);
        }
        return !due.empty();
    }

    // Blocks until the X connection or the wake pipe has something, or the next timer is due.
    void WaitForInput() {
        if (XPending(display_) > 0 || !modalEnds_.empty()) return;
        int timeout = -1;
        const uint32_t now = Milliseconds();
        for (auto& [handle, state] : windows_) {
            for (auto& [id, timer] : state.timers) {
                const int32_t left = static_cast<int32_t>(timer.due - now);
                timeout = timeout < 0 ? std::max(0, left) : std::min(timeout, std::max(0, left));
            }
        }
        pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        poll(fds, wakePipe_[0] >= 0 ? 2 : 1, timeout);
    }

    bool Translate(XEvent& event) {
        const NativeWindowHandle handle = event.xany.window;
        WindowState* state = Find(handle);
        if (state == nullptr) return false;
        switch (event.type) {
            case Expose:
                state->pending.Add(event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width - 1,
                                   event.xexpose.y + event.xexpose.height - 1);
                return false;
            case ButtonPress:
            case ButtonRelease: {
                const unsigned button = event.xbutton.button;
                pointerWindow_ = handle;
                if (button == 4 || button == 5) {
                    if (event.type == ButtonRelease) return false;
                    NativeInput input = InputFor(handle, NativeInput::kMouseWheel);
                    input.left = event.xbutton.x;
                    input.top = event.xbutton.y;
                    input.value = button == 4 ? 120 : -120;
                    input.state = StateMask(event.xbutton.state);
                    Deliver(input);
                    return true;
                }
                if (button < 1 || button > 3) return false;
                const int32_t index = button == 1 ? 0 : button == 2 ? 1 : 2;
                NativeInput::Kind kind = event.type == ButtonRelease ? NativeInput::kMouseUp : NativeInput::kMouseDown;
                if (kind == NativeInput::kMouseDown) {
                    const uint32_t time = static_cast<uint32_t>(event.xbutton.time);
                    if (lastClickWindow_ == handle && lastClickButton_ == index &&
                        time - lastClickTime_ < kDoubleClickMilliseconds &&
                        std::abs(event.xbutton.x - lastClickX_) < 4 && std::abs(event.xbutton.y - lastClickY_) < 4) {
                        kind = NativeInput::kMouseDoubleClick;
                        lastClickWindow_ = 0;
                    } else {
                        lastClickWindow_ = handle;
                        lastClickButton_ = index;
                        lastClickTime_ = time;
                        lastClickX_ = event.xbutton.x;
                        lastClickY_ = event.xbutton.y;
                    }
                }
                NativeInput input = InputFor(handle, kind);
                input.left = event.xbutton.x;
                input.top = event.xbutton.y;
                input.value = index;
                // The state X reports is the one before this button changed; the toolkit
                // wants it after, as Win32 gives it.
                uint8_t mask = StateMask(event.xbutton.state);
                const uint8_t bit = static_cast<uint8_t>(1 << index);
                mask = event.type == ButtonPress ? static_cast<uint8_t>(mask | bit) : static_cast<uint8_t>(mask & ~bit);
                input.state = mask;
                Deliver(input);
                return true;
            }
            case MotionNotify: {
                pointerWindow_ = handle;
                NativeInput input = InputFor(handle, NativeInput::kMouseMove);
                input.left = event.xmotion.x;
                input.top = event.xmotion.y;
                input.state = StateMask(event.xmotion.state);
                Deliver(input);
                return true;
            }
            case LeaveNotify:
                if (!state->tracking || event.xcrossing.mode != NotifyNormal) return false;
                state->tracking = false;
                Deliver(InputFor(handle, NativeInput::kMouseLeave));
                return true;
            case KeyPress:
            case KeyRelease: {
                char text[16] = {};
                KeySym sym = 0;
                const int length = XLookupString(&event.xkey, text, sizeof text - 1, &sym, nullptr);
                const uint32_t key = VirtualKey(sym);
                NativeInput input = InputFor(handle, event.type == KeyPress ? NativeInput::kKeyDown : NativeInput::kKeyUp);
                input.value = static_cast<int32_t>(key);
                input.state = StateMask(event.xkey.state);
                if (key != 0) Deliver(input);
                if (event.type == KeyPress && length == 1 && static_cast<unsigned char>(text[0]) >= 0x20) {
                    NativeInput character = InputFor(handle, NativeInput::kCharacter);
                    character.value = static_cast<unsigned char>(text[0]);
                    Deliver(character);
                } else if (event.type == KeyPress) {
                    const long ucs = sym >= 0x01000100 && sym <= 0x0110FFFF ? static_cast<long>(sym - 0x01000000)
                                     : sym >= 0x20 && sym <= 0xFF       ? static_cast<long>(sym)
                                                                         : 0;
                    if (ucs != 0) {
                        NativeInput character = InputFor(handle, NativeInput::kCharacter);
                        character.value = static_cast<int32_t>(ucs);
                        Deliver(character);
                    }
                }
                return true;
            }
            case ConfigureNotify: {
                const bool resized = event.xconfigure.width != state->width || event.xconfigure.height != state->height;
                state->width = event.xconfigure.width;
                state->height = event.xconfigure.height;
                int32_t bounds[4];
                if (!GetBounds(handle, bounds)) return false;
                NativeInput input = InputFor(handle, NativeInput::kBounds);
                input.left = bounds[0];
                input.top = bounds[1];
                input.right = bounds[2];
                input.bottom = bounds[3];
                Deliver(input);
                if (resized) ReleaseShm(*state);
                return true;
            }
            case ClientMessage:
                if (event.xclient.message_type == protocolsAtom_ &&
                    static_cast<Atom>(event.xclient.data.l[0]) == deleteAtom_) {
                    Deliver(InputFor(handle, NativeInput::kCloseRequest));
                    return true;
                }
                return false;
            case MapNotify:
                state->mapped = true;
                return false;
            case UnmapNotify:
                state->mapped = false;
                return false;
            default:
                return false;
        }
    }

    bool EnsureShm(WindowState& state, int32_t width, int32_t height) {
        if (state.shmImage != nullptr && state.shmImage->width == width && state.shmImage->height == height) {
            return true;
        }
        ReleaseShm(state);
        XImage* image = XShmCreateImage(display_, DefaultVisual(display_, screen_), 24, ZPixmap, nullptr, &state.shm,
                                        static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (image == nullptr) return false;
        state.shm.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * image->height,
                                 IPC_CREAT | 0600);
        if (state.shm.shmid < 0) {
            XDestroyImage(image);
            return false;
        }
        state.shm.shmaddr = image->data = static_cast<char*>(shmat(state.shm.shmid, nullptr, 0));
        state.shm.readOnly = False;
        const uint64_t errorsBefore = X11Errors::Count();
        XShmAttach(display_, &state.shm);
        XSync(display_, False);
        const bool shmFailed = X11Errors::Count() != errorsBefore;
        // Marked for removal now: it goes when both sides have detached.
        shmctl(state.shm.shmid, IPC_RMID, nullptr);
        if (shmFailed) {
            // A display on another machine cannot share memory: stay with the socket.
            shmdt(state.shm.shmaddr);
            image->data = nullptr;
            XDestroyImage(image);
            shmAvailable_ = false;
            return false;
        }
        state.shmImage = image;
        return true;
    }

    void ReleaseShm(WindowState& state) {
        if (state.shmImage == nullptr) return;
        XShmDetach(display_, &state.shm);
        XSync(display_, False);
        shmdt(state.shm.shmaddr);
        state.shmImage->data = nullptr;
        XDestroyImage(state.shmImage);
        state.shmImage = nullptr;
    }

    Display* display_;
    NativeInputSink& sink_;
    int screen_ = 0;
    Window root_ = 0;
    Atom deleteAtom_ = 0, protocolsAtom_ = 0, utf8Atom_ = 0, netNameAtom_ = 0, wmStateAtom_ = 0;
    bool shmAvailable_ = false;
    int wakePipe_[2] = {-1, -1};
    bool quit_ = false;
    std::map<NativeWindowHandle, WindowState> windows_;
    std::deque<NativeWindowHandle> modalEnds_;
    std::mutex postLock_;
    std::vector<std::pair<NativeWindowHandle, bool>> posted_;
    std::map<int32_t, Cursor> cursors_;
    NativeWindowHandle grabbed_ = 0;
    NativeWindowHandle pointerWindow_ = 0;
    NativeWindowHandle lastClickWindow_ = 0;
    int32_t lastClickButton_ = -1;
    uint32_t lastClickTime_ = 0;
    int lastClickX_ = 0, lastClickY_ = 0;
};

}  // namespace

NativeWindowing* NativeWindowing::Open(NativeInputSink& sink) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return nullptr;
    // The host may destroy its window, and with it ours, before it closes the editor: the
    // requests on our vanished windows then fail on this connection alone.
    X11Errors::Contain(display);
    return new X11Windowing(display, sink);
}

}  // namespace KivPlatform
