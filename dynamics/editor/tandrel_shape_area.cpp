#include "dynamics/editor/tandrel_shape_area.h"

#include "gui/controls/kiv_control_painting.h"
#include "gui/drawing/kiv_drawer.h"
#include "gui/text/kiv_text_alignment.h"

namespace {

constexpr KivColor kGrid = KivColor::Rgb(70, 78, 90);
constexpr KivColor kDiagonal = KivColor::Rgb(96, 106, 120);
constexpr int32_t kDivisions = 4;

}  // namespace

void TandrelShapeArea::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect box = GetWindowRect();
    KivControlPainting::Field(drawer, box, false);
    const KivRect plot = KivControlPainting::Inset(box, 6, 6);
    for (int32_t step = 1; step < kDivisions; ++step) {
        const int32_t x = plot.left + plot.Width() * step / kDivisions;
        const int32_t y = plot.top + plot.Height() * step / kDivisions;
        drawer.FillRectangle(KivRect{x, plot.top, x, plot.bottom}, kGrid, KivDrawingMode::kCopy);
        drawer.FillRectangle(KivRect{plot.left, y, plot.right, y}, kGrid, KivDrawingMode::kCopy);
    }
    drawer.MoveTo(KivPoint{plot.left, plot.bottom});
    drawer.LineTo(KivPoint{plot.right, plot.top}, kDiagonal, KivDrawingMode::kCopy);
    KivControlPainting::Text(drawer, KivStyleFont::kSmall, GetText(), KivControlPainting::Inset(plot, 4, 2),
                             KivTextAlignment::kLeft, KivControlPainting::TextColor(drawer, IsEnabled()));
}
