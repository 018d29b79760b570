#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Where the controls of a grid land. Cells are filled in reading order (row by row) or, for
// a vertical fill, column by column; each control takes the first place from the previous
// control's place onwards where its block of cells is free and inside the grid. The count
// of the direction filled first is fixed; the other grows as far as the controls need.
struct KivLayoutGridCell {
    int32_t column = 0;
    int32_t row = 0;
    int32_t columns = 1;  // cells covered
    int32_t rows = 1;
};

struct KivLayoutGridPlan {
    std::vector<KivLayoutGridCell> cells;  // one per control, in the controls' order
    int32_t columnCount = 0;
    int32_t rowCount = 0;
};

// `spans` holds each control's covered cells as (columns, rows). Spans beyond the fixed
// count are cut to it; spans below 1 count as 1.
KivLayoutGridPlan KivLayoutPlanGrid(const std::vector<KivLayoutGridCell>& spans, int32_t columns, int32_t rows,
                                    bool verticalFill);
