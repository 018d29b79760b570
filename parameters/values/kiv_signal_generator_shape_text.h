#pragma once
#include "base/kiv_string.h"

// Display of a position between the signal generator's 16 shapes, e.g. "75% Sine, 25% Triangle".
constexpr int32_t kKivSignalGeneratorShapeCount = 16;

// The shape names belong to the signal generator, which installs its table here when it is
// built; until then the shapes are called "Shape 1" .. "Shape 16". The table must live as long
// as the module (literal texts).
void KivSetSignalGeneratorShapeNames(const char* const names[kKivSignalGeneratorShapeCount]);
KivString KivGetSignalGeneratorShapeName(int32_t shape);

KivString KivFormatSignalGeneratorShape(double position);
