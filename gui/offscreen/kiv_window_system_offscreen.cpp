#include "gui/offscreen/kiv_window_system_offscreen.h"

#include <algorithm>

#include "base/kiv_boundary.h"
#include "base/kiv_trace.h"
#include "gui/core/kiv_windows.h"
#include "threads/kiv_synchronizer_guard.h"

namespace {
KivRect Union(const KivRect& a, const KivRect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return KivRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                   std::max(a.bottom, b.bottom)};
}
}  // namespace

KivWindowSystemOffscreen::~KivWindowSystemOffscreen() {
    // Windows still open lose their records with the system.
    while (!natives_.empty()) DestroyNativeWindow(*natives_.begin()->second.window);
}

KivRect KivWindowSystemOffscreen::GetWorkArea(KivPoint) { return KivRect{0, 0, 1919, 1079}; }

KivWindowSystemOffscreen::Native* KivWindowSystemOffscreen::Find(const KivControl& control) {
    const KivNativeHandle handle = GetNativeHandle(control);
    auto found = natives_.find(handle);
    return found == natives_.end() ? nullptr : &found->second;
}

const KivWindowSystemOffscreen::Native* KivWindowSystemOffscreen::Find(const KivControl& control) const {
    const KivNativeRecord* record = FindRecord(control);
    if (record == nullptr) return nullptr;
    auto found = natives_.find(record->handle);
    return found == natives_.end() ? nullptr : &found->second;
}

void KivWindowSystemOffscreen::CreateNativeWindow(KivWindow& window, KivNativeHandle parent) {
    if (FindRecord(window) != nullptr) return;
    const KivNativeHandle handle = nextHandle_++;
    Native& native = natives_[handle];
    native.window = &window;
    native.parent = parent;
    native.child = parent != 0;
    native.bounds = window.GetDeviceBounds();
    AttachRecord(window, handle);
}

void KivWindowSystemOffscreen::DestroyNativeWindow(KivWindow& window) {
    const KivNativeHandle handle = DetachRecord(window);
    if (handle == 0) return;
    natives_.erase(handle);
    if (captureWindow_ == handle) captureWindow_ = 0;
    if (foreground_ == handle) foreground_ = 0;
    for (auto it = clockTimers_.begin(); it != clockTimers_.end();) {
        it = it->first->GetWindow() == &window ? clockTimers_.erase(it) : std::next(it);
    }
}

void KivWindowSystemOffscreen::SetParentWindow(KivWindow& window, KivNativeHandle parent) {
    if (Native* native = Find(window)) native->parent = parent;
}

void KivWindowSystemOffscreen::SetParentWindow(KivWindow& window, KivNativeHandle parent, bool child) {
    if (Native* native = Find(window)) {
        native->parent = parent;
        native->child = child && parent != 0;
    }
}

bool KivWindowSystemOffscreen::IsVisible(const KivWindow& window) {
    const Native* native = Find(window);
    return native != nullptr && native->visible;
}

void KivWindowSystemOffscreen::SetTitle(KivWindow& window, const KivString& title) {
    if (Native* native = Find(window)) native->title = title;
}

void KivWindowSystemOffscreen::SetWindowPosition(KivWindow& window, KivPoint position) {
    if (Native* native = Find(window)) {
        native->bounds = native->bounds.Offset(position.x - native->bounds.left, position.y - native->bounds.top);
    }
}

void KivWindowSystemOffscreen::SetWindowSize(KivWindow& window, KivPoint size) {
    if (Native* native = Find(window)) {
        native->bounds.right = native->bounds.left + size.x - 1;
        native->bounds.bottom = native->bounds.top + size.y - 1;
    }
}

void KivWindowSystemOffscreen::SetWindowBounds(KivWindow& window, const KivRect& bounds) {
    if (Native* native = Find(window)) native->bounds = bounds;
}

void KivWindowSystemOffscreen::SetShape(KivWindow& window, const KivRect* rects, int32_t count) {
    if (Native* native = Find(window)) native->shape.assign(rects, rects + (rects == nullptr ? 0 : count));
}

KivRect KivWindowSystemOffscreen::GetWindowBounds(const KivWindow& window) {
    const Native* native = Find(window);
    return native == nullptr ? KivRect{} : native->bounds;
}

void KivWindowSystemOffscreen::Move(KivWindow& window) { SetWindowBounds(window, window.GetDeviceBounds()); }

void KivWindowSystemOffscreen::MoveAndShow(KivWindow& window) {
    Move(window);
    Show(window, true);
}

void KivWindowSystemOffscreen::Show(KivWindow& window, bool show) {
    Native* native = Find(window);
    if (native == nullptr || native->visible == show) return;
    native->visible = show;
    if (show) {
        native->pending = Union(native->pending, window.GetClientRect());
        if (!native->child) foreground_ = GetNativeHandle(window);
    }
}

bool KivWindowSystemOffscreen::IsMinimized(const KivWindow&) { return false; }

void KivWindowSystemOffscreen::ShowAsync(KivWindow& window, bool show) {
    if (IsGuiThread()) Show(window, show);
    // From other threads the offscreen system has nothing to post to: showing is the GUI
    // thread's business, so the request waits for it.
}

void KivWindowSystemOffscreen::Hide(KivWindow& window) { Show(window, false); }

void KivWindowSystemOffscreen::Activate(KivWindow& window) {
    captureWindow_ = 0;
    if (Find(window) != nullptr) foreground_ = GetNativeHandle(window);
}

bool KivWindowSystemOffscreen::IsForeground(const KivWindow& window) {
    return foreground_ != 0 && foreground_ == GetNativeHandle(window);
}

void KivWindowSystemOffscreen::ProcessPendingEvents() {
    KivGuard("KivWindowSystemOffscreen::ProcessPendingEvents", [&] {
        while (RunPending()) {
        }
    });
}

bool KivWindowSystemOffscreen::RunPending() {
    bool worked = false;
    if (KivWindows* windows = KivWindows::Instance()) worked |= windows->ExecuteQueued() > 0;
    for (;;) {
        Input input;
        {
            KivSynchronizerGuard guard(inputLock_);
            if (inputs_.empty()) break;
            input = inputs_.front();
            inputs_.pop_front();
        }
        KivGuard("KivWindowProc (messages)", [&] { Dispatch(input); });
        worked = true;
    }
    std::vector<KivControl*> due;
    for (auto& [control, timer] : clockTimers_) {
        if (timer.due <= clock_) {
            due.push_back(control);
            // One tick however late, as native timers do.
            timer.due = clock_ + static_cast<uint64_t>(timer.interval);
        }
    }
    for (KivControl* control : due) {
        if (clockTimers_.count(control) != 0) {
            KivGuard("KivWindowProc (messages)", [&] { FireTimer(control); });
            worked = true;
        }
    }
    // Paints come last, after everything that may invalidate; they never count as work so
    // that a loop waiting for quiet stops.
    PaintPending();
    return worked;
}

void KivWindowSystemOffscreen::PaintPending() {
    std::vector<KivNativeHandle> handles;
    for (auto& [handle, native] : natives_) {
        if (native.visible && !native.pending.IsEmpty()) handles.push_back(handle);
    }
    for (KivNativeHandle handle : handles) {
        auto found = natives_.find(handle);
        if (found == natives_.end()) continue;
        const KivRect rect = found->second.pending;
        found->second.pending = KivRect{0, 0, -1, -1};
        KivWindow* window = found->second.window;
        KivGuard("KivWindowProc (messages)", [&] { PaintWindow(*window, rect, window->GetStyle()); });
    }
}

void KivWindowSystemOffscreen::Dispatch(const Input& input) {
    auto found = natives_.find(input.window);
    if (found == natives_.end()) return;
    KivWindow& window = *found->second.window;
    const auto button = static_cast<KivMouseButton>(input.value);
    // Injected points are screen pixels of the window, as a user's clicks are.
    const KivPoint point = window.GetScale().ToLogical(input.point);
    switch (input.kind) {
        case Input::kDown: window.HandleMouseDown(point, button, inputState_); break;
        case Input::kDouble: window.HandleMouseDown(point, button, inputState_, true); break;
        case Input::kUp: window.HandleMouseUp(point, button, inputState_); break;
        case Input::kMove: window.HandleMouseMove(point, inputState_); break;
        case Input::kWheel: window.HandleMouseWheel(point, input.value, inputState_); break;
        case Input::kLeave:
            found->second.trackingLeave = false;
            window.HandleMouseLeave();
            break;
        case Input::kKeyDown: window.HandleKeyDown(static_cast<uint32_t>(input.value), inputState_); break;
        case Input::kKeyUp: window.HandleKeyUp(static_cast<uint32_t>(input.value), inputState_); break;
        case Input::kCharacter: window.HandleCharacter(static_cast<char32_t>(input.value)); break;
        case Input::kClose: window.HandleCloseRequest(); break;
        case Input::kResize: {
            const KivRect bounds = found->second.bounds;
            found->second.bounds =
                KivRect{bounds.left, bounds.top, bounds.left + input.point.x - 1, bounds.top + input.point.y - 1};
            window.HandleNativeBounds(found->second.bounds);
            break;
        }
        case Input::kEndModal:
            found->second.endModalPosted = false;
            window.HandleModalEnd();
            break;
    }
}

void KivWindowSystemOffscreen::RunMessageLoop() {
    quit_ = false;
    while (!quit_) {
        ProcessPendingEvents();
        if (!quit_) wake_.Acquire();
    }
}

void KivWindowSystemOffscreen::EndModal(KivWindow& window) {
    Native* native = Find(window);
    if (native == nullptr) return;
    if (native->endModalPosted) {
        KivTrace::Write(KivString("KivWindowSystemOffscreen::EndModal called more than once"));
        return;
    }
    native->endModalPosted = true;
    Queue(Input{Input::kEndModal, GetNativeHandle(window), {}, 0});
}

void KivWindowSystemOffscreen::RunModal(KivWindow& window) {
    if (modalHook_) {
        ProcessPendingEvents();
        modalHook_(window);
    }
    while (window.IsModal() && window.HasNativeWindow() && !quit_) {
        ProcessPendingEvents();
        if (window.IsModal() && window.HasNativeWindow() && !quit_) wake_.Acquire();
    }
}

void KivWindowSystemOffscreen::Quit() {
    quit_ = true;
    wake_.Release();
}

void KivWindowSystemOffscreen::SendForceExecuteEvents() { wake_.Release(); }

void KivWindowSystemOffscreen::Invalidate(KivControl& control, const KivRect* rect) {
    Native* native = Find(control);
    if (native == nullptr) return;
    KivWindow& window = *native->window;
    const KivRect area = rect == nullptr ? window.GetClientRect() : ToWindow(control, *rect);
    native->pending = Union(native->pending, area.Intersection(window.GetClientRect()));
}

void KivWindowSystemOffscreen::UpdateNow(KivWindow& window) {
    Native* native = Find(window);
    if (native == nullptr || native->pending.IsEmpty()) return;
    const KivRect rect = native->pending;
    native->pending = KivRect{0, 0, -1, -1};
    PaintWindow(window, rect, window.GetStyle());
}

void KivWindowSystemOffscreen::SetMouseCapture(KivWindow& window, bool on) {
    const KivNativeHandle handle = GetNativeHandle(window);
    if (on) {
        captureWindow_ = handle;
    } else if (captureWindow_ == handle) {
        captureWindow_ = 0;
    }
}

KivPoint KivWindowSystemOffscreen::GetCursorPosition(const KivControl& control) {
    const KivRect at = control.GetWindowRect();
    KivPoint origin{};
    if (const Native* native = Find(control)) origin = KivPoint{native->bounds.left, native->bounds.top};
    const KivPoint inWindow = control.GetWindow() != nullptr
                                  ? control.GetWindow()->GetScale().ToLogical(KivPoint{cursor_.x - origin.x, cursor_.y - origin.y})
                                  : KivPoint{cursor_.x - origin.x, cursor_.y - origin.y};
    return KivPoint{inWindow.x - at.left, inWindow.y - at.top};
}

void KivWindowSystemOffscreen::SetCursorPosition(const KivControl& control, KivPoint point) {
    const KivRect at = control.GetWindowRect();
    KivPoint origin{};
    if (const Native* native = Find(control)) origin = KivPoint{native->bounds.left, native->bounds.top};
    KivScale scale;
    if (control.GetWindow() != nullptr) scale = control.GetWindow()->GetScale();
    cursor_ = KivPoint{scale.Edge(point.x + at.left) + origin.x, scale.Edge(point.y + at.top) + origin.y};
}

void KivWindowSystemOffscreen::TrackMouseLeave(KivWindow& window) {
    if (Native* native = Find(window)) native->trackingLeave = true;
}

void KivWindowSystemOffscreen::SetTimer(KivControl& control, int32_t interval) {
    NoteTimer(control, interval);
    if (interval < 1) {
        clockTimers_.erase(&control);
    } else {
        clockTimers_[&control] = Timer{interval, clock_ + static_cast<uint64_t>(interval)};
    }
}

void KivWindowSystemOffscreen::Queue(const Input& input) {
    {
        KivSynchronizerGuard guard(inputLock_);
        inputs_.push_back(input);
    }
    wake_.Release();
}

void KivWindowSystemOffscreen::InjectMouseDown(KivWindow& window, KivPoint point, KivMouseButton button,
                                               bool doubleClick) {
    cursor_ = point;
    Queue(Input{doubleClick ? Input::kDouble : Input::kDown, GetNativeHandle(window), point,
                static_cast<int32_t>(button)});
}

void KivWindowSystemOffscreen::InjectMouseUp(KivWindow& window, KivPoint point, KivMouseButton button) {
    cursor_ = point;
    Queue(Input{Input::kUp, GetNativeHandle(window), point, static_cast<int32_t>(button)});
}

void KivWindowSystemOffscreen::InjectMouseMove(KivWindow& window, KivPoint point) {
    cursor_ = point;
    Queue(Input{Input::kMove, GetNativeHandle(window), point, 0});
}

void KivWindowSystemOffscreen::InjectMouseWheel(KivWindow& window, KivPoint point, int32_t delta) {
    Queue(Input{Input::kWheel, GetNativeHandle(window), point, delta});
}

void KivWindowSystemOffscreen::InjectMouseLeave(KivWindow& window) {
    // Only a window that asked to be told hears of the leave, as with native tracking.
    if (IsTrackingMouseLeave(window)) Queue(Input{Input::kLeave, GetNativeHandle(window), {}, 0});
}

void KivWindowSystemOffscreen::InjectKeyDown(KivWindow& window, uint32_t key) {
    Queue(Input{Input::kKeyDown, GetNativeHandle(window), {}, static_cast<int32_t>(key)});
}

void KivWindowSystemOffscreen::InjectKeyUp(KivWindow& window, uint32_t key) {
    Queue(Input{Input::kKeyUp, GetNativeHandle(window), {}, static_cast<int32_t>(key)});
}

void KivWindowSystemOffscreen::InjectCharacter(KivWindow& window, char32_t character) {
    Queue(Input{Input::kCharacter, GetNativeHandle(window), {}, static_cast<int32_t>(character)});
}

void KivWindowSystemOffscreen::InjectCloseRequest(KivWindow& window) {
    Queue(Input{Input::kClose, GetNativeHandle(window), {}, 0});
}

void KivWindowSystemOffscreen::InjectResize(KivWindow& window, KivPoint size) {
    Queue(Input{Input::kResize, GetNativeHandle(window), size, 0});
}

void KivWindowSystemOffscreen::AdvanceClock(uint32_t milliseconds) { clock_ += milliseconds; }

const KivBitmap* KivWindowSystemOffscreen::GetScreen(const KivWindow& window) const {
    const Native* native = Find(window);
    return native == nullptr ? nullptr : &native->screen;
}

std::vector<KivRect> KivWindowSystemOffscreen::TakePaintedRects() {
    std::vector<KivRect> rects;
    rects.swap(painted_);
    return rects;
}

bool KivWindowSystemOffscreen::HasMouseCapture(const KivWindow& window) const {
    const KivNativeRecord* record = FindRecord(window);
    return record != nullptr && captureWindow_ == record->handle;
}

bool KivWindowSystemOffscreen::IsTrackingMouseLeave(const KivWindow& window) const {
    const Native* native = Find(window);
    return native != nullptr && native->trackingLeave;
}

KivString KivWindowSystemOffscreen::GetTitle(const KivWindow& window) const {
    const Native* native = Find(window);
    return native == nullptr ? KivString() : native->title;
}

void KivWindowSystemOffscreen::Present(KivNativeRecord& record, const KivRect& rect) {
    auto found = natives_.find(record.handle);
    if (found == natives_.end()) return;
    KivBitmap& screen = found->second.screen;
    const KivBitmap& buffer = record.backBuffer;
    if (screen.Width() != buffer.Width() || screen.Height() != buffer.Height()) {
        screen.Resize(buffer.Width(), buffer.Height());
    }
    for (int32_t y = rect.top; y <= rect.bottom; ++y) {
        std::copy(buffer.Row(y) + rect.left, buffer.Row(y) + rect.right + 1, screen.Row(y) + rect.left);
    }
    painted_.push_back(rect);
}
