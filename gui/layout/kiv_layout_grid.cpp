#include "gui/layout/kiv_layout_grid.h"

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/core/kiv_control.h"
#include "gui/layout/kiv_layout_cell.h"
#include "gui/layout/kiv_layout_extent.h"
#include "gui/layout/kiv_layout_size_computer.h"
#include "gui/layout/kiv_layout_used_up.h"

namespace {

int32_t ReadInteger(const KivXMLItem& item, const char* name, int32_t fallback) {
    const KivString key(name);
    if (!item.HasAttribute(key)) return fallback;
    return static_cast<int32_t>(KivNumber::TextToInteger(item.GetAttribute(key)));
}

}  // namespace

void KivLayoutGrid::LoadAttributes(const KivXMLItem& item) {
    KivLayout::LoadAttributes(item);
    columns_ = ReadInteger(item, "columns", columns_);
    rows_ = ReadInteger(item, "rows", rows_);
    verticalFill_ = ReadInteger(item, "verticalfill", verticalFill_ ? 1 : 0) != 0;
    defaultColumnSpan_ = ReadInteger(item, "columnspancount", defaultColumnSpan_);
}

void KivLayoutGrid::LoadControlAttributes(KivControl& control, const KivXMLItem& item) {
    const KivLayoutGridCell span = spans_.Get(control, KivLayoutGridCell{0, 0, defaultColumnSpan_, 1});
    SetSpan(control, ReadInteger(item, "hspan", span.columns), ReadInteger(item, "vspan", span.rows));
}

void KivLayoutGrid::RemoveControl(KivControl& control) {
    spans_.Erase(control);
    KivLayout::RemoveControl(control);
}

void KivLayoutGrid::SetSize(int32_t columns, int32_t rows) {
    columns_ = columns;
    rows_ = rows;
}

void KivLayoutGrid::SetSpan(const KivControl& control, int32_t columns, int32_t rows) {
    spans_.Set(control, KivLayoutGridCell{0, 0, columns, rows});
}

KivLayoutGridPlan KivLayoutGrid::Plan() const {
    std::vector<KivLayoutGridCell> spans;
    for (int32_t index = 0; index < GetControlCount(); ++index) {
        spans.push_back(spans_.Get(GetControl(index), KivLayoutGridCell{0, 0, defaultColumnSpan_, 1}));
    }
    return KivLayoutPlanGrid(spans, columns_, rows_, verticalFill_);
}

KivLayoutGridTracks KivLayoutGrid::Columns(const KivLayoutGridPlan& plan, const SizeComputer& computer) const {
    std::vector<KivLayoutGridTrackItem> items;
    for (int32_t index = 0; index < GetControlCount(); ++index) {
        KivControl& control = GetControl(index);
        if (!control.IsVisible()) continue;
        const KivLayoutGridCell& cell = plan.cells[static_cast<size_t>(index)];
        items.push_back({cell.column, cell.columns, computer.GetWidth(control), control.Layout().ratioX});
    }
    KivLayoutGridTracks tracks(plan.columnCount, GetSpacing());
    tracks.Fit(items);
    return tracks;
}

KivLayoutGridTracks KivLayoutGrid::Rows(const KivLayoutGridPlan& plan, const SizeComputer& computer) const {
    std::vector<KivLayoutGridTrackItem> items;
    for (int32_t index = 0; index < GetControlCount(); ++index) {
        KivControl& control = GetControl(index);
        if (!control.IsVisible()) continue;
        const KivLayoutGridCell& cell = plan.cells[static_cast<size_t>(index)];
        items.push_back({cell.row, cell.rows, computer.GetHeight(control), control.Layout().ratioY});
    }
    KivLayoutGridTracks tracks(plan.rowCount, GetSpacing());
    tracks.Fit(items);
    return tracks;
}

void KivLayoutGrid::Arrange(KivRect& free) {
    const KivLayoutGridPlan plan = Plan();
    const CurrentSizeComputer computer({free.Width(), free.Height()});
    KivLayoutGridTracks columns = Columns(plan, computer);
    KivLayoutGridTracks rows = Rows(plan, computer);
    columns.Stretch(free.Width());
    rows.Stretch(free.Height());
    for (int32_t index = 0; index < GetControlCount(); ++index) {
        KivControl& control = GetControl(index);
        if (!control.IsVisible()) continue;
        const KivLayoutGridCell& cell = plan.cells[static_cast<size_t>(index)];
        const int32_t left = free.left + columns.Offset(cell.column);
        const int32_t top = free.top + rows.Offset(cell.row);
        const KivRect area{left, top, left + columns.Extent(cell.column, cell.columns) - 1,
                           top + rows.Extent(cell.row, cell.rows) - 1};
        KivLayoutPlaceInCell(control, area, CurrentSizeComputer({area.Width(), area.Height()}).GetContentSize(control));
    }
    KivLayoutUseUp(free);
}

void KivLayoutGrid::ComputeSize(const KivRect&, const SizeComputer& computer, KivLayoutExtent& extent) {
    const KivLayoutGridPlan plan = Plan();
    extent.Need(Columns(plan, computer).Total(), Rows(plan, computer).Total());
}
