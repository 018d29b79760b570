#pragma once
// A panel with controls of given sizes, for checking the rectangles layouts hand out.
#include <gtest/gtest.h>

#include <algorithm>

#include "gui/core/kiv_panel.h"
#include "gui/drawing/kiv_rect.h"
#include "gui/layout/kiv_layout.h"

// A control whose minimal and automatic sizes the test chooses.
class KivTestControl : public KivControl {
public:
    KivPoint minimal{};
    KivPoint automatic{};  // capped by the space offered
    KivPoint ComputeMinimalSize() override { return minimal; }
    KivPoint ComputeAutoSize(KivPoint available) override { return KivPoint{std::min(automatic.x, available.x), std::min(automatic.y, available.y)}; }
};

class KivLayoutTestPanel : public KivPanel {
public:
    KivLayoutTestPanel(int32_t width, int32_t height) {
        KivLayout::SetStyleControlSpacing(0);
        SetBounds(KivRect{0, 0, width - 1, height - 1});
    }
    // A visible child of `width` × `height`, not yet in a layout.
    KivTestControl& Make(int32_t width, int32_t height) {
        auto* control = new KivTestControl;
        AddChild(control);
        control->SetBounds(KivRect{0, 0, width - 1, height - 1});
        return *control;
    }
    template <typename Layout>
    Layout& Make() {
        return *new Layout(this);
    }
    KivTestControl& In(KivLayout& layout, int32_t width, int32_t height) {
        KivTestControl& control = Make(width, height);
        layout.Add(control);
        return control;
    }
};

inline void ExpectRect(const KivRect& actual, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    EXPECT_EQ(actual.left, left);
    EXPECT_EQ(actual.top, top);
    EXPECT_EQ(actual.right, right);
    EXPECT_EQ(actual.bottom, bottom);
}
