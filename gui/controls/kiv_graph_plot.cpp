#include "gui/controls/kiv_graph_plot.h"

#include <algorithm>

#include "envelope/kiv_envelope.h"

namespace {
// Pixels spanned by a range on an axis of `pixels` pixels; never zero, so that a collapsed
// area still maps without dividing by zero.
double Span(int32_t pixels) { return std::max(1.0, pixels - 1.0); }
// A range that is empty or reversed would turn every mapping into NaN or mirror it.
double Extent(double minimum, double maximum) { return maximum - minimum > 1e-12 ? maximum - minimum : 1.0; }
}  // namespace

KivGraphPlot::KivGraphPlot(const KivRect& area, const KivEnvelope& envelope)
    : area_(area),
      xMinimum_(envelope.GetXMinimum()),
      xMaximum_(envelope.GetXMaximum()),
      yMinimum_(envelope.GetYMinimum()),
      yMaximum_(envelope.GetYMaximum()) {}

KivPointF KivGraphPlot::ToPixel(double x, double y) const {
    return KivPointF{area_.left + (x - xMinimum_) / XPerPixel(), area_.bottom - (y - yMinimum_) / YPerPixel()};
}

double KivGraphPlot::XAt(double pixelX) const { return xMinimum_ + (pixelX - area_.left) * XPerPixel(); }

double KivGraphPlot::YAt(double pixelY) const { return yMinimum_ + (area_.bottom - pixelY) * YPerPixel(); }

double KivGraphPlot::XPerPixel() const { return Extent(xMinimum_, xMaximum_) / Span(area_.Width()); }

double KivGraphPlot::YPerPixel() const { return Extent(yMinimum_, yMaximum_) / Span(area_.Height()); }
