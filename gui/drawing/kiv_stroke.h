#pragma once
#include "gui/drawing/kiv_point.h"

class KivCoverageRasterizer;

// Lines for the coverage rasterizer: each segment becomes a rectangle `width` wide centred
// on it, lengthened by half the width at both ends so that the end pixels are covered as
// fully as the rest (square caps). All segments share one orientation, so connected
// segments merge where they overlap instead of cancelling. Points are in pixel-corner space.
namespace KivStroke {
void AddSegment(KivCoverageRasterizer& rasterizer, KivPointF from, KivPointF to, double width);
}  // namespace KivStroke
