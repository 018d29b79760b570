#include "parameters/values/kiv_signal_generator_shape_text.h"

#include "base/kiv_format.h"
#include "parameters/values/kiv_rounding.h"

namespace {

const char* const kPlaceholderNames[kKivSignalGeneratorShapeCount] = {
    "Shape 1", "Shape 2",  "Shape 3",  "Shape 4",  "Shape 5",  "Shape 6",  "Shape 7",  "Shape 8",
    "Shape 9", "Shape 10", "Shape 11", "Shape 12", "Shape 13", "Shape 14", "Shape 15", "Shape 16"};

const char* const* shapeNames = kPlaceholderNames;

}  // namespace

void KivSetSignalGeneratorShapeNames(const char* const names[kKivSignalGeneratorShapeCount]) {
    shapeNames = names ? names : kPlaceholderNames;
}

KivString KivGetSignalGeneratorShapeName(int32_t shape) {
    if (shape < 0 || shape >= kKivSignalGeneratorShapeCount) return KivString();
    return shapeNames[shape];
}

KivString KivFormatSignalGeneratorShape(double position) {
    // The last shape is reached as "all of shape 15 blended into 16", never as a shape 16 with
    // nothing after it.
    int32_t shape = 0;
    double fraction = 0.0;
    if (position >= 15.0) {
        shape = 14;
        fraction = 1.0;
    } else if (position >= 0.0) {
        shape = static_cast<int32_t>(position);
        fraction = position - shape;
    }
    int64_t percent = KivRoundHalfUpToInteger(100.0 * fraction);
    if (percent == 0) return KivGetSignalGeneratorShapeName(shape);
    if (percent == 100) return KivGetSignalGeneratorShapeName(shape + 1);
    return KivFormat("{0}% {1}, {2}% {3}")
        .Argument(100 - percent)
        .Argument(KivGetSignalGeneratorShapeName(shape))
        .Argument(percent)
        .Argument(KivGetSignalGeneratorShapeName(shape + 1))
        .Result();
}
