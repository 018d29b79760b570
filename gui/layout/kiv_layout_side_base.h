#pragma once
#include "gui/layout/kiv_layout.h"
#include "gui/layout/kiv_layout_axis.h"
#include "gui/layout/kiv_layout_control_data.h"
#include "gui/layout/kiv_layout_line.h"

// Common base of side and client layouts: both place their visible controls as one line. A
// child's "space" attribute adds that much room before it in the line.
class KivLayoutSideBase : public KivLayout {
public:
    using KivLayout::KivLayout;

    void LoadControlAttributes(KivControl& control, const KivXMLItem& item) override;
    void RemoveControl(KivControl& control) override;
    // Whether a control of the line is visible.
    bool TakesSpace() const override;

    void SetGapBefore(const KivControl& control, int32_t gap) { gaps_.Set(control, gap); }

protected:
    // The visible controls as a line running along `axis`.
    KivLayoutLine VisibleLine(KivLayoutAxis axis) const;

private:
    KivLayoutControlData<int32_t> gaps_;
};
