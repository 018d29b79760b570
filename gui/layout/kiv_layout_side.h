#pragma once
#include <cstdint>

#include "gui/layout/kiv_layout_side_base.h"

// A strip along one side of the free rectangle, as deep as its deepest visible control; its
// controls form a line along the strip. The free rectangle loses the strip and the spacing.
class KivLayoutSide : public KivLayoutSideBase {
public:
    enum Side : int32_t { kLeft = 0, kTop = 1, kRight = 2, kBottom = 3 };

    // Raises "Invalid side-layout direction." for a side other than 0 to 3.
    KivLayoutSide(KivControl* parent, int32_t side);

    void Arrange(KivRect& free) override;
    void ComputeSize(const KivRect& free, const SizeComputer& computer, KivLayoutExtent& extent) override;

    Side GetSide() const { return side_; }

private:
    static int32_t CheckedSide(int32_t side);
    // Along a top or bottom strip the line runs horizontally.
    KivLayoutAxis LineAxis() const;
    KivRect Strip(const KivRect& free, int32_t depth) const;
    void Shrink(KivRect& free, int32_t taken) const;

    Side side_;
};

class KivLayoutLeft : public KivLayoutSide {
public:
    explicit KivLayoutLeft(KivControl* parent) : KivLayoutSide(parent, kLeft) {}
};

class KivLayoutTop : public KivLayoutSide {
public:
    explicit KivLayoutTop(KivControl* parent) : KivLayoutSide(parent, kTop) {}
};

class KivLayoutRight : public KivLayoutSide {
public:
    explicit KivLayoutRight(KivControl* parent) : KivLayoutSide(parent, kRight) {}
};

class KivLayoutBottom : public KivLayoutSide {
public:
    explicit KivLayoutBottom(KivControl* parent) : KivLayoutSide(parent, kBottom) {}
};
