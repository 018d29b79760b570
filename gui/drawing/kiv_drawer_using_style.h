#pragma once
#include <utility>

#include "gui/drawing/kiv_drawing_style.h"

// A drawer that also answers the style queries from a style: the kind handed to controls,
// KivDrawerUsingStyle<KivDrawerToKivBitmap>.
template <typename Drawer>
class KivDrawerUsingStyle : public Drawer {
public:
    // `style` must outlive the drawer; the remaining arguments build the drawer underneath.
    template <typename... Arguments>
    explicit KivDrawerUsingStyle(const KivDrawingStyle& style, Arguments&&... arguments)
        : Drawer(std::forward<Arguments>(arguments)...), style_(&style) {}

    void SetStyle(const KivDrawingStyle& style) noexcept { style_ = &style; }
    const KivDrawingStyle& Style() const noexcept { return *style_; }

    int32_t GetStyleColorCount() const override { return style_->ColorCount(); }
    KivColor GetStyleColor(int32_t index) const override {
        return IsIndex(index, style_->ColorCount()) ? style_->Color(index) : KivColor{};
    }
    int32_t FindStyleColor(const KivString& name) const override {
        for (int32_t index = 0; index < style_->ColorCount(); ++index) {
            if (style_->ColorName(index).EqualsFolded(name)) return index;
        }
        return -1;
    }
    KivString GetStyleColorName(int32_t index) const override {
        return IsIndex(index, style_->ColorCount()) ? style_->ColorName(index) : KivString();
    }
    int32_t GetStyleFontCount() const override { return style_->FontCount(); }
    const KivFont* GetStyleFont(int32_t index) const override {
        return IsIndex(index, style_->FontCount()) ? style_->Font(index) : nullptr;
    }
    int32_t FindStyleFont(const KivString& name) const override {
        for (int32_t index = 0; index < style_->FontCount(); ++index) {
            if (style_->FontName(index).EqualsFolded(name)) return index;
        }
        return -1;
    }
    KivString GetStyleFontName(int32_t index) const override {
        return IsIndex(index, style_->FontCount()) ? style_->FontName(index) : KivString();
    }

private:
    static bool IsIndex(int32_t index, int32_t count) { return index >= 0 && index < count; }

    const KivDrawingStyle* style_;
};
