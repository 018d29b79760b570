#pragma once
#include <cstdint>
#include <map>

#include "gui/core/kiv_control.h"
#include "gui/core/kiv_window.h"
#include "gui/core/kiv_window_system.h"
#include "gui/drawing/kiv_bitmap.h"
#include "threads/kiv_lock.h"

// What a window system keeps of each native window, stored with the window under the
// "W3WD" extension tag: the native handle, the back buffer and its size, a use count and
// the paint-pass marks.
struct KivNativeRecord {
    KivWindow* window = nullptr;
    KivNativeHandle handle = 0;
    KivBitmap backBuffer;  // its width and height are the back buffer's size
    KivLock lock;
    int32_t useCount = 1;
    int32_t paintDepth = 0;
    // One mark per control painted in the current pass (by a hash of its address), so that
    // a control reached twice in one pass can tell.
    uint8_t paintMarks[256] = {};
};

// The work every window system shares: native records, painting through the back buffer,
// routing of timer ticks to their controls. Implementations supply the native side.
class KivWindowSystemBase : public KivWindowSystem {
public:
    ~KivWindowSystemBase() override;

    void Initialize() override;
    KivNativeHandle GetNativeHandle(const KivControl& control) override;
    void ReleaseWindow(KivWindow& window) override;
    void PaintWindow(KivControl& control, const KivRect& rect, const KivDrawingStyle* style) override;
    void BeginPaintPass(KivWindow& window) override;
    void EndPaintPass(KivWindow& window) override;
    void SetOptions(bool a, bool b) override {
        optionA_ = a;
        optionB_ = b;
    }

    static KivNativeRecord* FindRecord(const KivControl& control);
    bool IsGuiThread() const;
    // Paint passes that reached the screen, for tests and benchmarks.
    int64_t GetPaintCount() const { return paintCount_; }
    // Native windows alive now.
    int32_t GetNativeWindowCount() const { return recordCount_; }

protected:
    // Makes the record of a new native window and stores it under the tag.
    KivNativeRecord& AttachRecord(KivWindow& window, KivNativeHandle handle);
    // Forgets the window's record and the timers of its controls; the handle it had.
    KivNativeHandle DetachRecord(KivWindow& window);
    // Copies `rect` of the back buffer to the screen.
    virtual void Present(KivNativeRecord& record, const KivRect& rect) = 0;
    // Timers: the system-independent bookkeeping; implementations start and stop the native
    // timer and call FireTimer.
    void FireTimer(KivControl* control);
    bool HasTimer(KivControl* control) const { return timers_.count(control) != 0; }
    void NoteTimer(KivControl& control, int32_t interval);
    // The control's window offset: the control rectangle in window coordinates.
    static KivRect ToWindow(const KivControl& control, const KivRect& rect);

    uint32_t guiThread_ = 0;
    bool optionA_ = false;
    bool optionB_ = false;
    std::map<KivControl*, int32_t> timers_;

private:
    // Paints `area` of the window's tree with a Drawer made of `arguments`, answering style
    // queries from `style` when one is given.
    template <typename Drawer, typename... Arguments>
    static void PaintTree(KivWindow& window, const KivDrawingStyle* style, const KivRect& area,
                          Arguments&&... arguments);

    int64_t paintCount_ = 0;
    int32_t recordCount_ = 0;
};
