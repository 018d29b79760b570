#include "gui/core/kiv_window_system_base.h"

#include <cstring>
#include <utility>

#include "gui/core/kiv_opaque_area.h"
#include "gui/drawing/kiv_drawer_to_kiv_bitmap.h"
#include "gui/drawing/kiv_drawer_using_style.h"
#include "platform/kiv_system_thread.h"
#include "threads/kiv_synchronizer_guard.h"

KivWindowSystemBase::~KivWindowSystemBase() = default;

void KivWindowSystemBase::Initialize() { guiThread_ = KivPlatform::CurrentThreadId(); }

bool KivWindowSystemBase::IsGuiThread() const { return KivPlatform::CurrentThreadId() == guiThread_; }

KivNativeRecord* KivWindowSystemBase::FindRecord(const KivControl& control) {
    const KivWindow* window = control.GetWindow();
    if (window == nullptr) return nullptr;
    return static_cast<KivNativeRecord*>(window->Extensions().Get(kKivNativeRecordTag));
}

KivNativeHandle KivWindowSystemBase::GetNativeHandle(const KivControl& control) {
    const KivNativeRecord* record = FindRecord(control);
    return record == nullptr ? 0 : record->handle;
}

KivNativeRecord& KivWindowSystemBase::AttachRecord(KivWindow& window, KivNativeHandle handle) {
    auto* record = new KivNativeRecord();
    record->window = &window;
    record->handle = handle;
    try {
        window.Extensions().Set(kKivNativeRecordTag, record);
    } catch (...) {
        delete record;
        throw;
    }
    ++recordCount_;
    window.NoteNativeWindow(true);
    return *record;
}

KivNativeHandle KivWindowSystemBase::DetachRecord(KivWindow& window) {
    auto* record = static_cast<KivNativeRecord*>(window.Extensions().Remove(kKivNativeRecordTag));
    if (record == nullptr) return 0;
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->first->GetWindow() == &window) {
            it->first->NoteTimerInterval(0);
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
    const KivNativeHandle handle = record->handle;
    ReleaseWindow(window);  // the use of the window itself
    // Remaining uses belong to code that has not released yet; the record goes with the window.
    delete record;
    --recordCount_;
    window.NoteNativeWindow(false);
    return handle;
}

void KivWindowSystemBase::ReleaseWindow(KivWindow& window) {
    KivNativeRecord* record = FindRecord(window);
    auto* detached = record;
    if (detached == nullptr) return;
    KivSynchronizerGuard guard(detached->lock);
    if (detached->useCount > 0) --detached->useCount;
}

void KivWindowSystemBase::BeginPaintPass(KivWindow& window) {
    KivNativeRecord* record = FindRecord(window);
    if (record == nullptr) return;
    KivSynchronizerGuard guard(record->lock);
    ++record->paintDepth;
    std::memset(record->paintMarks, 0, sizeof record->paintMarks);
}

void KivWindowSystemBase::EndPaintPass(KivWindow& window) {
    KivNativeRecord* record = FindRecord(window);
    if (record == nullptr) return;
    KivSynchronizerGuard guard(record->lock);
    if (record->paintDepth > 0) --record->paintDepth;
    std::memset(record->paintMarks, 0, sizeof record->paintMarks);
}

void KivWindowSystemBase::PaintWindow(KivControl& control, const KivRect& rect, const KivDrawingStyle* style) {
    if (rect.IsEmpty()) return;
    KivWindow* window = control.GetWindow();
    KivNativeRecord* record = FindRecord(control);
    if (window == nullptr || record == nullptr) return;
    const KivPoint logicalSize = window->GetPaintSize();
    if (logicalSize.x <= 0 || logicalSize.y <= 0) return;
    const KivScale& scale = window->GetScale();
    const KivPoint size = scale.ToDeviceSize(logicalSize);
    if (record->backBuffer.Width() != size.x || record->backBuffer.Height() != size.y) {
        // Made again at the new size: everything is painted afresh.
        record->backBuffer.Resize(size.x, size.y);
    }
    // Controls paint the logical area; the back buffer takes its device pixels.
    const KivRect area = ToWindow(control, rect).Intersection(KivRect{0, 0, logicalSize.x - 1, logicalSize.y - 1});
    if (area.IsEmpty()) return;
    const KivRect device = scale.ToDevice(area).Intersection(record->backBuffer.Bounds());
    if (device.IsEmpty()) return;
    BeginPaintPass(*window);
    record->backBuffer.SetClip(device);
    PaintTree<KivDrawerToKivBitmap>(*window, style, area, record->backBuffer, scale, area);
    record->backBuffer.ResetClip();
    EndPaintPass(*window);
    Present(*record, device);
    ++paintCount_;
}

namespace {

// The control that paints all of `area` by itself, when one does: a repaint of a graph's
// plot then skips the window's and the panels' backgrounds beneath it, which it would cover.
KivControl& TopOfArea(KivWindow& window, const KivRect& area) {
    const KivPoint middle{area.left + (area.right - area.left) / 2, area.top + (area.bottom - area.top) / 2};
    for (KivControl* control = window.ControlAt(middle); control != nullptr && control != &window;
         control = control->GetParent()) {
        const auto* opaque = static_cast<const KivOpaqueArea*>(control->Extensions().Get(kKivOpaqueAreaTag));
        if (opaque != nullptr && control->IsShowing() && opaque->Covers(area)) return *control;
    }
    return window;
}

}  // namespace

template <typename Drawer, typename... Arguments>
void KivWindowSystemBase::PaintTree(KivWindow& window, const KivDrawingStyle* style, const KivRect& area,
                                    Arguments&&... arguments) {
    KivControl& top = TopOfArea(window, area);
    if (style != nullptr) {
        KivDrawerUsingStyle<Drawer> drawer(*style, std::forward<Arguments>(arguments)...);
        top.Paint(drawer, area);
        top.PaintChildren(drawer, area);
    } else {
        Drawer drawer(std::forward<Arguments>(arguments)...);
        top.Paint(drawer, area);
        top.PaintChildren(drawer, area);
    }
}

void KivWindowSystemBase::FireTimer(KivControl* control) {
    if (timers_.count(control) != 0) control->OnTimer();
}

void KivWindowSystemBase::NoteTimer(KivControl& control, int32_t interval) {
    if (interval < 1) {
        timers_.erase(&control);
        control.NoteTimerInterval(0);
    } else {
        timers_[&control] = interval;
        control.NoteTimerInterval(interval);
    }
}

KivRect KivWindowSystemBase::ToWindow(const KivControl& control, const KivRect& rect) {
    const KivRect at = control.GetWindowRect();
    return rect.Offset(at.left, at.top);
}
