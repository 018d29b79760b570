#pragma once
#include "dynamics/gain/kiv_shape_mode.h"

class KivEnvelope;

// Moves a transfer shape in linear amplitude into the domain where `mode` interpolates it:
// unchanged (Linear), square roots of both coordinates (Squared), or log10 of both
// (Logarithmic, with zero held at 1e-30 and the axes widened to -300 .. 300).
void KivConvertShapeDomain(KivEnvelope& shape, KivShapeMode mode);
