#pragma once
#include <cstdint>
#include <vector>

#include "base/kiv_object.h"
#include "gui/drawing/kiv_point.h"
#include "gui/drawing/kiv_rect.h"

class KivControl;
class KivXMLItem;
struct KivLayoutExtent;

// Places a list of controls of one parent inside the rectangle its parent still has free,
// and hands back what remains. The layouts of a parent run in the order they were created,
// so a window is built from strips taken off its sides and a client layout filling the rest.
//
// The order of the virtual operations is part of the interface (slot numbers below).
//
// A layout never owns its controls; its parent panel owns both. A control that leaves its
// panel (removed, moved or destroyed) leaves its layout too, so a layout never holds a
// control that is gone; a layout destroyed first lets go of its controls.
class KivLayout : public KivObject {
public:
    class SizeComputer;
    class CurrentSizeComputer;
    class MinimalSizeComputer;

    // Joins `parent`'s list of layouts at once (the parent then owns it); `parent` must be a
    // panel. Without a parent the creator owns the layout.
    explicit KivLayout(KivControl* parent);
    // 0.
    ~KivLayout() override;

    // 1: "layoutspace", "deflayoutborderx", "deflayoutbordery".
    virtual void LoadAttributes(const KivXMLItem& item);
    // 2: a child's attributes that belong to this layout; the base reads none.
    virtual void LoadControlAttributes(KivControl& control, const KivXMLItem& item);
    // 3: appends `control` (leaving any other layout), marks it as laid out and stores the
    // borders that are not negative.
    virtual void AddControl(KivControl& control, int32_t borderX, int32_t borderY);
    // 4.
    virtual void RemoveControl(KivControl& control);
    // 5: AddControl with the default borders.
    virtual void Add(KivControl& control);
    // 6.
    virtual void Remove(KivControl& control);
    // 7: places the controls inside `free` and shrinks `free` by what the layout used.
    virtual void Arrange(KivRect& free) = 0;
    // 8: adds what the layout takes to `extent`, measuring controls with `computer`.
    virtual void ComputeSize(const KivRect& free, const SizeComputer& computer, KivLayoutExtent& extent) = 0;
    // 9, 10: ComputeSize with the minimal and with the current size computer.
    virtual void ComputeMinimalSize(const KivRect& free, KivLayoutExtent& extent);
    virtual void ComputeCurrentSize(const KivRect& free, KivLayoutExtent& extent);
    // 11: whether the layout takes space from the free rectangle at all; only side and
    // client layouts do, and only while one of their controls is visible.
    virtual bool TakesSpace() const;

    int32_t GetControlCount() const { return static_cast<int32_t>(controls_.size()); }
    KivControl& GetControl(int32_t index) const { return *controls_[static_cast<size_t>(index)]; }
    bool Holds(const KivControl& control) const;

    // The gap between neighbouring controls: the style's control spacing plus "layoutspace".
    int32_t GetSpacing() const { return styleControlSpacing_ + space_; }
    void SetSpace(int32_t space) { space_ = space; }
    void SetDefaultBorders(int32_t borderX, int32_t borderY);

    // The active style's control spacing; the style sets it when it is installed.
    static void SetStyleControlSpacing(int32_t spacing) { styleControlSpacing_ = spacing; }
    static int32_t GetStyleControlSpacing() { return styleControlSpacing_; }

protected:
    // The visible controls, in list order.
    std::vector<KivControl*> VisibleControls() const;

private:
    std::vector<KivControl*> controls_;
    int32_t space_ = 0;
    int32_t defaultBorderX_ = -1;
    int32_t defaultBorderY_ = -1;
    static int32_t styleControlSpacing_;
};
