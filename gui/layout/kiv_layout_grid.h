#pragma once
#include <cstdint>
#include <vector>

#include "gui/layout/kiv_layout.h"
#include "gui/layout/kiv_layout_control_data.h"
#include "gui/layout/kiv_layout_grid_cells.h"
#include "gui/layout/kiv_layout_grid_tracks.h"

// Rows and columns filling the free rectangle, which the grid uses up. Attributes:
// "columns" and "rows" (the grid's size; the direction not filled first grows when the
// controls need more cells), "verticalfill" (fill column by column), "columnspancount" (the
// columns a control covers when it names no "hspan"); per control "hspan" and "vspan".
// Hidden controls keep their cells but give them no size. Columns and rows take the size
// of their largest control; space left over goes to those holding stretching controls, and
// otherwise stays free at the right and bottom. In its cell a control is placed as in a line.
class KivLayoutGrid : public KivLayout {
public:
    using KivLayout::KivLayout;

    void LoadAttributes(const KivXMLItem& item) override;
    void LoadControlAttributes(KivControl& control, const KivXMLItem& item) override;
    void RemoveControl(KivControl& control) override;
    void Arrange(KivRect& free) override;
    void ComputeSize(const KivRect& free, const SizeComputer& computer, KivLayoutExtent& extent) override;

    void SetSize(int32_t columns, int32_t rows);
    void SetVerticalFill(bool verticalFill) { verticalFill_ = verticalFill; }
    void SetDefaultColumnSpan(int32_t columns) { defaultColumnSpan_ = columns; }
    void SetSpan(const KivControl& control, int32_t columns, int32_t rows);

private:
    KivLayoutGridPlan Plan() const;
    // Sizes of the columns and rows measured with `computer`.
    KivLayoutGridTracks Columns(const KivLayoutGridPlan& plan, const SizeComputer& computer) const;
    KivLayoutGridTracks Rows(const KivLayoutGridPlan& plan, const SizeComputer& computer) const;

    int32_t columns_ = 1;
    int32_t rows_ = 0;
    bool verticalFill_ = false;
    int32_t defaultColumnSpan_ = 1;
    KivLayoutControlData<KivLayoutGridCell> spans_;
};
