#include "gui/core/kiv_window_system_native.h"

#include <algorithm>
#include <string>

#include "base/kiv_boundary.h"
#include "base/kiv_exception.h"
#include "base/kiv_trace.h"
#include "gui/core/kiv_windows.h"
#include "platform/kiv_clock.h"

using KivPlatform::NativeInput;

KivWindowSystemNative::~KivWindowSystemNative() = default;

KivString KivWindowSystemNative::GetName() {
    return native_ != nullptr ? KivString(native_->Name()) : KivString();
}

void KivWindowSystemNative::Initialize() {
    KivWindowSystemBase::Initialize();
    if (native_ != nullptr) return;
    native_.reset(KivPlatform::NativeWindowing::Open(*this));
    if (native_ == nullptr) throw KivException(KivString("No display is available."), KivException::kNotInitialized);
}

KivPlatform::NativeWindowHandle KivWindowSystemNative::Handle(const KivControl& control) {
    return native_ == nullptr ? 0 : GetNativeHandle(control);
}

KivRect KivWindowSystemNative::GetWorkArea(KivPoint point) {
    int32_t area[4] = {0, 0, -1, -1};
    if (native_ != nullptr) native_->GetWorkArea(point.x, point.y, area);
    return KivRect{area[0], area[1], area[2], area[3]};
}

void KivWindowSystemNative::CreateNativeWindow(KivWindow& window, KivNativeHandle parent) {
    if (native_ == nullptr || FindRecord(window) != nullptr) return;
    const KivRect bounds = window.GetDeviceBounds();
    const KivPlatform::NativeWindowHandle handle =
        native_->NewWindow(parent, bounds.left, bounds.top, bounds.Width(), bounds.Height(), &window);
    if (handle == 0) throw KivException(KivString("Could not create native window."));
    try {
        AttachRecord(window, handle);
    } catch (...) {
        native_->DestroyWindow(handle);
        throw;
    }
}

void KivWindowSystemNative::DestroyNativeWindow(KivWindow& window) {
    endingModal_.erase(std::remove(endingModal_.begin(), endingModal_.end(), &window), endingModal_.end());
    const KivNativeHandle handle = DetachRecord(window);
    if (handle != 0) native_->DestroyWindow(handle);
}

void KivWindowSystemNative::SetParentWindow(KivWindow& window, KivNativeHandle parent) {
    if (const auto handle = Handle(window)) native_->SetParent(handle, parent, false, parent != 0);
}

void KivWindowSystemNative::SetParentWindow(KivWindow& window, KivNativeHandle parent, bool child) {
    if (const auto handle = Handle(window)) native_->SetParent(handle, parent, true, child);
}

bool KivWindowSystemNative::IsVisible(const KivWindow& window) {
    const auto handle = Handle(window);
    return handle != 0 && native_->IsVisible(handle);
}

void KivWindowSystemNative::SetTitle(KivWindow& window, const KivString& title) {
    if (const auto handle = Handle(window)) {
        const std::u16string text = title.ToU16();
        native_->SetTitle(handle, text.c_str(), static_cast<int32_t>(text.size()));
    }
}

void KivWindowSystemNative::SetWindowPosition(KivWindow& window, KivPoint position) {
    if (const auto handle = Handle(window)) native_->Place(handle, position.x, position.y, 0, 0, KivPlatform::NativeWindowing::kMove);
}

void KivWindowSystemNative::SetWindowSize(KivWindow& window, KivPoint size) {
    if (const auto handle = Handle(window)) native_->Place(handle, 0, 0, size.x, size.y, KivPlatform::NativeWindowing::kSize);
}

void KivWindowSystemNative::SetWindowBounds(KivWindow& window, const KivRect& bounds) {
    if (const auto handle = Handle(window)) {
        native_->Place(handle, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
                       KivPlatform::NativeWindowing::kMove | KivPlatform::NativeWindowing::kSize);
    }
}

void KivWindowSystemNative::SetShape(KivWindow& window, const KivRect* rects, int32_t count) {
    const auto handle = Handle(window);
    if (handle == 0) return;
    std::vector<int32_t> list;
    for (int32_t i = 0; rects != nullptr && i < count; ++i) {
        list.insert(list.end(), {rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
    }
    native_->SetShape(handle, list.empty() ? nullptr : list.data(), static_cast<int32_t>(list.size() / 4));
}

KivRect KivWindowSystemNative::GetWindowBounds(const KivWindow& window) {
    int32_t bounds[4] = {0, 0, -1, -1};
    if (const auto handle = Handle(window)) native_->GetBounds(handle, bounds);
    return KivRect{bounds[0], bounds[1], bounds[2], bounds[3]};
}

void KivWindowSystemNative::Move(KivWindow& window) { SetWindowBounds(window, window.GetDeviceBounds()); }

void KivWindowSystemNative::MoveAndShow(KivWindow& window) {
    Move(window);
    Show(window, true);
}

void KivWindowSystemNative::Show(KivWindow& window, bool show) {
    if (const auto handle = Handle(window)) native_->Show(handle, show);
}

bool KivWindowSystemNative::IsMinimized(const KivWindow& window) {
    const auto handle = Handle(window);
    return handle != 0 && native_->IsMinimized(handle);
}

void KivWindowSystemNative::ShowAsync(KivWindow& window, bool show) {
    const auto handle = Handle(window);
    if (handle == 0) return;
    if (IsGuiThread()) {
        native_->Show(handle, show);
    } else {
        native_->PostShow(handle, show);
    }
}

void KivWindowSystemNative::Hide(KivWindow& window) {
    Show(window, false);
    hiddenAt_ = KivPlatform::Milliseconds();
}

void KivWindowSystemNative::Activate(KivWindow& window) {
    if (const auto handle = Handle(window)) native_->Activate(handle);
}

bool KivWindowSystemNative::IsForeground(const KivWindow& window) {
    return native_ != nullptr && native_->ForegroundOwner() == static_cast<const void*>(&window);
}

void KivWindowSystemNative::ProcessPendingEvents() {
    if (native_ == nullptr) return;
    KivGuard("KivWindowProc (events)", [&] {
        if (KivWindows* windows = KivWindows::Instance()) windows->ExecuteQueued();
    });
    if (!native_->Pump(false)) quit_ = true;
}

void KivWindowSystemNative::RunMessageLoop() {
    if (native_ == nullptr) return;
    quit_ = false;
    while (!quit_) {
        if (!native_->Pump(true)) quit_ = true;
    }
    quit_ = false;
}

void KivWindowSystemNative::EndModal(KivWindow& window) {
    const auto handle = Handle(window);
    if (handle == 0) return;
    if (std::find(endingModal_.begin(), endingModal_.end(), &window) != endingModal_.end()) {
        KivTrace::Write(KivString::FromUTF8(std::string(TraceName()) + "::EndModal called more than once"));
        return;
    }
    endingModal_.push_back(&window);
    native_->PostEndModal(handle);
}

void KivWindowSystemNative::RunModal(KivWindow& window) {
    if (native_ == nullptr) return;
    // A quit seen here stays noted, so that the loop around this one ends as well.
    while (window.IsModal() && window.HasNativeWindow() && !quit_) {
        if (!native_->Pump(true)) quit_ = true;
    }
}

void KivWindowSystemNative::Quit() {
    if (native_ != nullptr) native_->PostQuit();
}

void KivWindowSystemNative::SendForceExecuteEvents() {
    if (native_ != nullptr) native_->Wake();
}

void KivWindowSystemNative::Invalidate(KivControl& control, const KivRect* rect) {
    const auto handle = Handle(control);
    if (handle == 0) return;
    if (rect == nullptr) {
        native_->PostRepaintAll(handle);
        return;
    }
    const KivWindow* window = control.GetWindow();
    const KivRect area = window->GetScale().ToDevice(ToWindow(control, *rect));
    if (!area.IsEmpty()) native_->InvalidateRect(handle, area.left, area.top, area.right, area.bottom);
}

void KivWindowSystemNative::UpdateNow(KivWindow& window) {
    if (const auto handle = Handle(window)) native_->UpdateNow(handle);
}

void KivWindowSystemNative::SetMouseCapture(KivWindow& window, bool on) {
    if (const auto handle = Handle(window)) native_->SetCapture(handle, on);
}

void KivWindowSystemNative::SetCursorShape(int32_t shape) {
    if (native_ != nullptr) native_->SetCursorShape(shape);
}

KivPoint KivWindowSystemNative::GetCursorScreenPosition() {
    KivPoint point{};
    if (native_ != nullptr) native_->GetCursorScreenPosition(point.x, point.y);
    return point;
}

KivPoint KivWindowSystemNative::GetCursorPosition(const KivControl& control) {
    KivPoint point = GetCursorScreenPosition();
    if (const auto handle = Handle(control)) {
        native_->ScreenToClient(handle, point.x, point.y);
        point = control.GetWindow()->GetScale().ToLogical(point);
        const KivRect at = control.GetWindowRect();
        point = KivPoint{point.x - at.left, point.y - at.top};
    }
    return point;
}

void KivWindowSystemNative::SetCursorPosition(const KivControl& control, KivPoint point) {
    const auto handle = Handle(control);
    if (handle == 0) return;
    const KivRect at = control.GetWindowRect();
    const KivScale& scale = control.GetWindow()->GetScale();
    int32_t x = scale.Edge(point.x + at.left), y = scale.Edge(point.y + at.top);
    native_->ClientToScreen(handle, x, y);
    native_->SetCursorScreenPosition(x, y);
}

void KivWindowSystemNative::TrackMouseLeave(KivWindow& window) {
    if (const auto handle = Handle(window)) native_->TrackMouseLeave(handle);
}

uint8_t KivWindowSystemNative::GetInputState() { return native_ == nullptr ? 0 : native_->GetInputState(); }

void KivWindowSystemNative::SetTimer(KivControl& control, int32_t interval) {
    const auto handle = Handle(control);
    // A timer lives with the native window of the control's window.
    if (handle == 0) {
        NoteTimer(control, 0);
        return;
    }
    NoteTimer(control, interval);
    native_->SetTimer(handle, reinterpret_cast<uintptr_t>(&control), interval);
}

int KivWindowSystemNative::GetWakeDescriptor() const { return native_ == nullptr ? -1 : native_->WakeDescriptor(); }

void KivWindowSystemNative::Present(KivNativeRecord& record, const KivRect& rect) {
    const KivBitmap& buffer = record.backBuffer;
    native_->Present(record.handle, buffer.Pixels(), buffer.RowLength(), buffer.Width(), buffer.Height(), rect.left,
                     rect.top, rect.right, rect.bottom);
}

void KivWindowSystemNative::OnNativeInput(const NativeInput& input) {
    if (input.kind == NativeInput::kExecuteEvents) {
        KivGuard("KivWindowProc (events)", [&] {
            if (KivWindows* windows = KivWindows::Instance()) windows->ExecuteQueued();
        });
        return;
    }
    auto* window = static_cast<KivWindow*>(input.owner);
    if (window == nullptr || FindRecord(*window) == nullptr) return;
    // Input arrives in native pixels; the controls live in the window's logical ones.
    const KivPoint point = window->GetScale().ToLogical(KivPoint{input.left, input.top});
    const auto button = static_cast<KivMouseButton>(input.value);
    switch (input.kind) {
        case NativeInput::kMouseDown:
        case NativeInput::kMouseDoubleClick:
        case NativeInput::kMouseUp:
        case NativeInput::kMouseMove:
        case NativeInput::kMouseWheel:
        case NativeInput::kMouseLeave:
            KivGuard("WndProcMouse", [&] {
                switch (input.kind) {
                    case NativeInput::kMouseDown: window->HandleMouseDown(point, button, input.state); break;
                    case NativeInput::kMouseDoubleClick: window->HandleMouseDown(point, button, input.state, true); break;
                    case NativeInput::kMouseUp: window->HandleMouseUp(point, button, input.state); break;
                    case NativeInput::kMouseMove: window->HandleMouseMove(point, input.state); break;
                    case NativeInput::kMouseWheel: window->HandleMouseWheel(point, input.value, input.state); break;
                    default: window->HandleMouseLeave(); break;
                }
            });
            return;
        default:
            break;
    }
    KivGuard("KivWindowProc (messages)", [&] {
        switch (input.kind) {
            case NativeInput::kPaint:
                PaintWindow(*window,
                            window->GetScale().ToLogicalCovering(KivRect{input.left, input.top, input.right, input.bottom}),
                            window->GetStyle());
                break;
            case NativeInput::kKeyDown: window->HandleKeyDown(static_cast<uint32_t>(input.value), input.state); break;
            case NativeInput::kKeyUp: window->HandleKeyUp(static_cast<uint32_t>(input.value), input.state); break;
            case NativeInput::kCharacter: window->HandleCharacter(static_cast<char32_t>(input.value)); break;
            case NativeInput::kTimer: FireTimer(reinterpret_cast<KivControl*>(input.timerId)); break;
            case NativeInput::kCloseRequest: window->HandleCloseRequest(); break;
            case NativeInput::kBounds:
                window->HandleNativeBounds(KivRect{input.left, input.top, input.right, input.bottom});
                break;
            case NativeInput::kEndModal:
                endingModal_.erase(std::remove(endingModal_.begin(), endingModal_.end(), window), endingModal_.end());
                window->HandleModalEnd();
                break;
            default: break;
        }
    });
}
