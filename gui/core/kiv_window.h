#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "gui/core/kiv_control_invalidator.h"
#include "gui/core/kiv_panel.h"
#include "gui/core/kiv_window_system.h"
#include "gui/drawing/kiv_color.h"
#include "gui/drawing/kiv_scale.h"

class KivDrawingStyle;

// A top-level window, or a child window inside a host's window. It owns a native window
// while shown (made by the window system's CreateNativeWindow, dropped through
// DestroyNativeWindow) and routes the window system's input to the controls of its tree.
// Its bounds are in screen coordinates (a child window's in its parent's client area); its
// controls' are relative to its client area.
//
// A window may be shown larger or smaller than it is laid out (its scale): its size and
// everything inside it stay in logical pixels, and the window system multiplies at the
// native side (the native window's size, the back buffer, input points, repaint areas), so
// that every control scales without knowing of it. The position stays in native pixels.
class KivWindow : public KivPanel {
public:
    KivWindow();
    ~KivWindow() override;

    // Fills the window with its background colour.
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    void SetBounds(const KivRect& bounds) override;
    void SetVisible(bool visible) override;
    // 23: asks for confirmation when this is an application's main window.
    bool OnCloseRequest() override;
    void Invalidate(const KivRect* rect = nullptr) override;
    void SetText(const KivString& text) override;
    KivString GetText() const override { return title_; }
    void SaveState(KivXMLItem& item) override;
    void LoadState(const KivXMLItem& item) override;

    // Shows the window, making its native window first (inside `parent` when given).
    void Show(KivNativeHandle parent = 0);
    void Hide();
    // Drops the native window; the control tree stays.
    void Close();
    bool HasNativeWindow() const { return hasNative_; }
    KivNativeHandle GetNativeHandle() const;
    KivNativeHandle GetParentHandle() const { return parentHandle_; }

    // Runs a modal loop until EndModal; the value given to EndModal.
    int32_t RunModal();
    void EndModal(int32_t result);
    bool IsModal() const { return modal_; }

    void SetBackground(KivColor colour) { background_ = colour; }
    KivColor GetBackground() const { return background_; }
    void SetStyle(const KivDrawingStyle* style) { style_ = style; }
    const KivDrawingStyle* GetStyle() const { return style_; }
    void SetApplicationMainWindow(bool main) { applicationMain_ = main; }
    // The second size mode: the window shows at its alternative (collapsed) size.
    bool IsInAlternativeSize() const { return IsCollapsed() && Layout().alternativeSize.x > 0; }
    // The size of the client area as painted now.
    KivPoint GetPaintSize() const;
    // How much larger than laid out the window is shown (1: as laid out); a change resizes
    // the native window and repaints it.
    const KivScale& GetScale() const { return scale_; }
    void SetScale(double factor);
    // The native window's bounds: the position, and the paint size at the scale; and the
    // window's bounds for native ones.
    KivRect GetDeviceBounds() const;
    KivRect FromDeviceBounds(const KivRect& device) const;
    // Asked before an application's main window closes; true lets it close. No dialog
    // belongs to this layer: the base agrees.
    virtual bool Confirm(const KivString& question);

    KivControlInvalidator& GetInvalidator();

    // Focus and capture inside the tree.
    KivControl* GetFocus() const { return focus_; }
    void SetFocus(KivControl* control);
    void SetCapture(KivControl* control);
    KivControl* GetCapture() const { return capture_; }
    KivControl* GetHover() const { return hover_; }
    // A control of the tree is going away: forget it as focus, capture or hover.
    void ForgetControl(KivControl* control);

    // Input from the window system; points in client coordinates.
    void HandleMouseDown(KivPoint point, KivMouseButton button, uint8_t state, bool doubleClick = false);
    void HandleMouseUp(KivPoint point, KivMouseButton button, uint8_t state);
    void HandleMouseMove(KivPoint point, uint8_t state);
    // These four answer whether a control took the input, so that input a host forwards and
    // no control wants goes back to the host (a space bar that starts its transport).
    bool HandleMouseWheel(KivPoint point, int32_t delta, uint8_t state);
    void HandleMouseLeave();
    bool HandleKeyDown(uint32_t key, uint8_t state);
    bool HandleKeyUp(uint32_t key, uint8_t state);
    bool HandleCharacter(char32_t character);
    // The native window was resized (client size, in native pixels) or moved by the user.
    void HandleNativeBounds(const KivRect& bounds);
    // The user asked to close the window: closes it when OnCloseRequest agrees.
    void HandleCloseRequest();
    void HandleModalEnd() { modal_ = false; }

    // Set by the window system.
    void NoteNativeWindow(bool exists);

private:
    KivControl* Target(KivPoint point);
    static KivPoint ToControl(const KivControl* control, KivPoint point);

    KivString title_;
    KivScale scale_;
    KivColor background_ = KivColor::Rgb(240, 240, 240);
    const KivDrawingStyle* style_ = nullptr;
    KivNativeHandle parentHandle_ = 0;
    // Read by other threads' repaint requests.
    std::atomic<bool> hasNative_{false};
    bool modal_ = false;
    int32_t modalResult_ = 0;
    bool applicationMain_ = false;
    KivControl* focus_ = nullptr;
    KivControl* capture_ = nullptr;
    KivControl* hover_ = nullptr;
    std::unique_ptr<KivControlInvalidator> invalidator_;
};
