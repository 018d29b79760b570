#pragma once
#include <cstdint>

#include "gui/drawing/kiv_point.h"
#include "gui/layout/kiv_layout.h"

// Tells a layout how large one control is, its layout borders on both sides included.
// The order of the virtual operations is part of the interface.
class KivLayout::SizeComputer {
public:
    virtual ~SizeComputer() = default;
    virtual int32_t GetWidth(KivControl& control) const = 0;
    virtual int32_t GetHeight(KivControl& control) const = 0;
};

// The size a control takes now: its alternative size where it is collapsed and that size is
// set, the size the style gives it within `available` where it sizes itself, else its size.
class KivLayout::CurrentSizeComputer : public KivLayout::SizeComputer {
public:
    explicit CurrentSizeComputer(KivPoint available = KivPoint{kUnbounded, kUnbounded}) : available_(available) {}
    int32_t GetWidth(KivControl& control) const override;
    int32_t GetHeight(KivControl& control) const override;

    // The same without the borders: the extent of the control itself.
    KivPoint GetContentSize(KivControl& control) const;

    static constexpr int32_t kUnbounded = 1 << 24;

private:
    KivPoint available_;
};

// The smallest size a control accepts: its minimal content size, but not less than its
// current size unless it stretches (a non-zero ratio) or sizes itself in that direction. A
// collapsed control can shrink to no height at all.
class KivLayout::MinimalSizeComputer : public KivLayout::SizeComputer {
public:
    int32_t GetWidth(KivControl& control) const override;
    int32_t GetHeight(KivControl& control) const override;
};
