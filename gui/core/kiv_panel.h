#pragma once
#include <vector>

#include "gui/core/kiv_control.h"

// A control that holds child controls. It owns them: they die with the panel. Its layouts
// (objects of the layout engine, run in order of creation by Arrange) are owned as well.
class KivPanel : public KivControl {
public:
    KivPanel() = default;
    ~KivPanel() override;

    void AddChild(KivControl* child) override;
    void RemoveChild(KivControl* child) override;
    int32_t GetChildCount() const override;
    KivControl* GetChild(int32_t index) const override;

    // Runs the panel's layouts over its client rectangle, in the order they were created.
    // Children that no layout holds stay where their position puts them: a panel without
    // layouts is arranged by whoever placed its children.
    void Arrange() override;

    // Destroys every child (each leaves the tree first).
    void DeleteChildren();

    // Layouts join their parent at creation and are destroyed with it.
    void AddLayout(KivObject* layout) { layouts_.push_back(layout); }
    int32_t GetLayoutCount() const { return static_cast<int32_t>(layouts_.size()); }
    KivObject* GetLayoutObject(int32_t index) const { return layouts_[static_cast<size_t>(index)]; }

private:
    std::vector<KivControl*> children_;
    std::vector<KivObject*> layouts_;
};

// A panel whose children are placed by its layouts.
class KivContainer : public KivPanel {
public:
    KivContainer() = default;
};
