#pragma once
#include <cstdint>

#include "base/kiv_string.h"
#include "gui/core/kiv_control_extensions.h"
#include "gui/core/kiv_event.h"
#include "gui/drawing/kiv_point.h"
#include "gui/drawing/kiv_rect.h"

class KivDrawer;
class KivLayout;
class KivWindow;
class KivXMLItem;

// Mouse buttons as the window system reports them.
enum class KivMouseButton : int32_t { kLeft = 0, kMiddle = 1, kRight = 2 };

// The input-state mask: which buttons and modifier keys are held.
namespace KivInputState {
inline constexpr uint8_t kLeftButton = 1;
inline constexpr uint8_t kMiddleButton = 2;
inline constexpr uint8_t kRightButton = 4;
inline constexpr uint8_t kControl = 16;
inline constexpr uint8_t kAlt = 32;
inline constexpr uint8_t kShift = 64;
}  // namespace KivInputState

// Where a control sits across its layout cell when it neither stretches nor sizes itself.
enum class KivAlignment : int32_t { kStart = 0, kEnd = 1, kCenter = 2 };

// What a layout needs to know of each control it places.
struct KivLayoutData {
    int32_t borderX = 0;  // kept free on both sides inside the cell
    int32_t borderY = 0;
    int32_t ratioX = 0;   // non-zero: shares the free space of its line in proportion
    int32_t ratioY = 0;
    KivAlignment alignment = KivAlignment::kStart;
    bool autoSize = false;       // sized to its content by the style
    bool laidOut = false;        // held by a layout
    KivPoint alternativeSize{};  // the collapsed size; 0 where not set
    KivLayout* layout = nullptr;
};

// Base of every control. Controls form a tree below a window; only the GUI thread touches
// them. Coordinates: a control's bounds are in its parent's client coordinates; painting and
// the dirty rectangles handed to Paint are in window coordinates (see GetWindowRect).
//
// The order of the virtual operations is part of the interface (slot numbers below).
class KivControl : public KivEventTarget {
public:
    class KivXmlLoader;  // builds control trees from GUI descriptions (gui/loader)

    KivControl();
    // 0: detaches from the parent; the window system forgets the control's timer.
    ~KivControl() override;

    // 1: the common attributes of a control's element in a GUI description.
    virtual void LoadAttributes(const KivXMLItem& item);
    // 2: paints the part of the control inside `dirty` (window coordinates, already the
    // drawer's clip). The base paints nothing: a plain control is transparent.
    virtual void Paint(KivDrawer& drawer, const KivRect& dirty);
    // 3: paints the visible children that meet `dirty`, each clipped to itself.
    virtual void PaintChildren(KivDrawer& drawer, const KivRect& dirty);
    // 4: the size the control wants when it sizes itself, given the space available.
    virtual KivPoint ComputeAutoSize(KivPoint available);
    // 5: the smallest size at which the control still works.
    virtual KivPoint ComputeMinimalSize();
    // 6: the size of a control that adapts to the space offered. The base raises code 1 with
    // the service "compute plastic control size".
    virtual KivPoint ComputePlasticSize(KivPoint available);
    // 7: moves and sizes the control inside its parent; OnSize follows a change of size.
    virtual void SetBounds(const KivRect& bounds);
    // 8: the control's size has changed: the base arranges the children.
    virtual void OnSize();
    // 9, 10.
    virtual void SetVisible(bool visible);
    virtual void SetEnabled(bool enabled);
    // 11 to 17: mouse input, points in the control's own coordinates.
    virtual void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state);
    virtual void OnMouseUp(KivPoint point, KivMouseButton button, uint8_t state);
    virtual void OnMouseDoubleClick(KivPoint point, KivMouseButton button, uint8_t state);
    virtual void OnMouseMove(KivPoint point, uint8_t state);
    // True when the control used the wheel; otherwise the parent is asked.
    virtual bool OnMouseWheel(KivPoint point, int32_t delta, uint8_t state);
    virtual void OnMouseEnter();
    virtual void OnMouseLeave();
    // 18 to 20: keyboard input for the focused control; true when used, otherwise the parent
    // is asked. Keys are the window system's virtual key codes (Win32 numbering).
    virtual bool OnKeyDown(uint32_t key, uint8_t state);
    virtual bool OnKeyUp(uint32_t key, uint8_t state);
    virtual bool OnCharacter(char32_t character);
    // 21: focus gained (true) or lost.
    virtual void OnFocus(bool gained);
    // 22: whether the control takes the focus when clicked or tabbed to.
    virtual bool CanTakeFocus();
    // 23: a close request of the window; true lets it close.
    virtual bool OnCloseRequest();
    // 24: a tick of the timer started with the window system's SetTimer for this control.
    virtual void OnTimer();
    // 25: the deepest visible child under `point` (this control's coordinates), or this.
    virtual KivControl* ControlAt(KivPoint point);
    // 26: the cursor shape to show over `point`; 0 is the arrow.
    virtual int32_t GetCursorShape(KivPoint point);
    // 27: places the children (by the layouts of Part "layout"; a plain control has none).
    virtual void Arrange();
    // 28: the size the control takes now (its size, or its alternative size when collapsed).
    virtual KivPoint ComputeCurrentSize();
    // 29 to 32: children. A plain control holds none: AddChild raises code 1.
    virtual void AddChild(KivControl* child);
    virtual void RemoveChild(KivControl* child);
    virtual int32_t GetChildCount() const;
    virtual KivControl* GetChild(int32_t index) const;
    // 33: asks for a repaint of `rect` (control coordinates; null: all of the control). Any
    // thread, as long as the tree itself is not being changed meanwhile: the request goes to
    // the window's invalidator and is merged there.
    virtual void Invalidate(const KivRect* rect = nullptr);
    // 34: the control joined a window's tree (or left it: null).
    virtual void OnWindowChanged(KivWindow* window);
    // 35: the native window of the control's window appeared (true) or went away.
    virtual void OnNativeWindow(bool exists);
    // 36, 37: the control's text (caption, title); empty for a plain control.
    virtual void SetText(const KivString& text);
    virtual KivString GetText() const;
    // 38, 39: "collapsed", "maximized", "windowposx" and "windowposy" of controls with
    // "autosavestate".
    virtual void SaveState(KivXMLItem& item);
    virtual void LoadState(const KivXMLItem& item);

    // Tree.
    KivControl* GetParent() const { return parent_; }
    // The window at the root of the tree, null while detached. A window is its own window.
    KivWindow* GetWindow() const { return window_; }
    // The control's rectangle in its window's client coordinates.
    KivRect GetWindowRect() const;
    // Bounds in the parent's coordinates; size and client rectangle from (0, 0).
    const KivRect& GetBounds() const { return bounds_; }
    KivPoint GetSize() const { return KivPoint{bounds_.Width(), bounds_.Height()}; }
    KivRect GetClientRect() const { return KivRect{0, 0, bounds_.Width() - 1, bounds_.Height() - 1}; }

    bool IsVisible() const { return visible_; }
    // Visible itself and every parent up to the window.
    bool IsShowing() const;
    bool IsEnabled() const { return enabled_; }
    bool IsCollapsed() const { return collapsed_; }
    void SetCollapsed(bool collapsed);
    bool IsMaximized() const { return maximized_; }
    void SetAutoSaveState(bool on) { autoSaveState_ = on; }
    bool GetAutoSaveState() const { return autoSaveState_; }

    KivLayoutData& Layout() { return layout_; }
    const KivLayoutData& Layout() const { return layout_; }
    KivControlExtensions& Extensions() { return extensions_; }
    const KivControlExtensions& Extensions() const { return extensions_; }

    // The interval of the control's timer; the window system keeps it up to date.
    int32_t GetTimerInterval() const { return timerInterval_; }
    void NoteTimerInterval(int32_t interval) { timerInterval_ = interval; }

    const KivString& GetHelp() const { return help_; }
    int32_t GetMinimalClientWidth() const { return minClientSize_.x; }
    int32_t GetMinimalClientHeight() const { return minClientSize_.y; }

protected:
    // Sets parent and window of this control and its subtree (used by panels).
    void AttachTo(KivControl* parent);
    void SetWindowOfTree(KivWindow* window);
    bool maximized_ = false;

private:
    friend class KivPanel;
    KivControl* parent_ = nullptr;
    KivWindow* window_ = nullptr;
    KivRect bounds_{0, 0, -1, -1};
    bool visible_ = true;
    bool enabled_ = true;
    bool tabStop_ = false;
    bool collapsed_ = false;
    bool autoSaveState_ = false;
    KivPoint minClientSize_{};
    int32_t timerInterval_ = 0;
    KivString help_;
    KivLayoutData layout_;
    KivControlExtensions extensions_;
};
