#pragma once
#include "gui/layout/kiv_layout_side_base.h"

// A line of controls through the whole free rectangle, which it uses up. Its own "space"
// attribute sets its spacing like "layoutspace".
class KivLayoutClient : public KivLayoutSideBase {
public:
    KivLayoutClient(KivControl* parent, KivLayoutAxis axis) : KivLayoutSideBase(parent), axis_(axis) {}

    void LoadAttributes(const KivXMLItem& item) override;
    void Arrange(KivRect& free) override;
    void ComputeSize(const KivRect& free, const SizeComputer& computer, KivLayoutExtent& extent) override;

    KivLayoutAxis GetAxis() const { return axis_; }

private:
    KivLayoutAxis axis_;
};

class KivLayoutHorizontal : public KivLayoutClient {
public:
    explicit KivLayoutHorizontal(KivControl* parent) : KivLayoutClient(parent, KivLayoutAxis::kHorizontal) {}
};

class KivLayoutVertical : public KivLayoutClient {
public:
    explicit KivLayoutVertical(KivControl* parent) : KivLayoutClient(parent, KivLayoutAxis::kVertical) {}
};
