#pragma once
#include "gui/core/kiv_panel.h"

// Two panes (the first two children) beside each other, or one above the other with
// "vertical" 1, parted by a bar the user drags. Neither pane gets smaller than its minimum
// ("minfirst", "minsecond"; 40 pixels by default) while there is room for both; with less
// room the first pane keeps its minimum. The bar starts at "splitposition" pixels (the size
// of the first pane; by default half way). When the splitter is resized, "keep" says what
// stays: "ratio" (the default) keeps the first pane's share of the room, "first" keeps the
// first pane's size and "second" the second pane's, so a side bar can stay as wide as the
// user left it.
class KivSplitter : public KivPanel {
public:
    enum class Keep : int32_t { kRatio, kFirst, kSecond };
    static constexpr int32_t kBarSize = 6;

    void LoadAttributes(const KivXMLItem& item) override;
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    void Arrange() override;
    void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseUp(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseMove(KivPoint point, uint8_t state) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    int32_t GetCursorShape(KivPoint point) override;

    bool IsVertical() const { return vertical_; }
    void SetVertical(bool vertical);
    void SetMinimalSizes(int32_t first, int32_t second);
    void SetKeep(Keep keep) { keep_ = keep; }
    // The first pane's size along the split; clamped by the minimums.
    int32_t GetSplitPosition() const { return position_; }
    void SetSplitPosition(int32_t position);
    // The bar in control coordinates.
    KivRect BarRect() const;

    // The user moved the bar (item: the new split position).
    KivEvent<KivOnItemParams<int32_t>> OnSplit{this};

private:
    int32_t Length() const { return vertical_ ? GetSize().y : GetSize().x; }
    // The room both panes share: the length without the bar.
    int32_t Room() const { return std::max(0, Length() - kBarSize); }
    int32_t Clamp(int32_t position) const;
    // Remembers what Keep needs from the current position.
    void NotePosition();
    void PlacePanes();
    bool OnBar(KivPoint point) const;

    bool vertical_ = false;
    int32_t minFirst_ = 40;
    int32_t minSecond_ = 40;
    Keep keep_ = Keep::kRatio;
    int32_t position_ = -1;  // -1 until placed: half way
    double ratio_ = 0.5;
    int32_t second_ = 0;
    bool dragging_ = false;
    bool hover_ = false;
    int32_t grab_ = 0;
};
