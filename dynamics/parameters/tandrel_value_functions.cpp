#include "dynamics/parameters/tandrel_value_functions.h"

#include <algorithm>

#include "base/kiv_format.h"
#include "base/kiv_format_scanner.h"
#include "base/kiv_number.h"
#include "dynamics/gain/kiv_effective_ratio.h"
#include "parameters/kiv_parameter_value_functions.h"

namespace {

// "1 : x" is the expander side of the knob; the scanner captures x only when the text starts
// that way, so "4 : 1" and plain numbers fall through to the number reader.
bool ReadExpanderRatio(const KivString& text, double& divisor) {
    KivFormatScanner scanner("1 : {0}", text);
    return scanner.GetArgumentCount() > 0 && !scanner.GetCapture(0).IsEmpty() && scanner.Read(divisor);
}

constexpr const char* kInfinityText = "Infinity";
// Codes a hair inside the ends: finite ratios that show as "20.00 : 1" or "1 : 1.00" read
// back as such and never as the limiter or as "1.00 : 1".
constexpr double kLargestFiniteCode = kKivInfiniteRatioCode - 1e-6;
constexpr double kGentlestExpanderCode = 1.0 - 1e-9;

KivString RatioText(double code) {
    if (KivIsInfiniteRatioCode(code)) return kInfinityText;
    if (KivIsExpandingRatioCode(code)) return KivFormat("1 : {0.2}").Argument(2.0 - code).Result();
    return KivFormat("{0.2} : 1").Argument(code).Result();
}

double ShownValue(const KivEffectParameter& record) {
    const auto& values = record.values.asFloat;
    return record.HasFlag(KivEffectParameter::kTargetMode) ? values.target : values.value;
}

void SwitchedTime(KivString& out, KivEffectParameter& record, const KivString& in, const char* offText) {
    if (in.IsEmpty() && ShownValue(record) <= 1e-5) {
        out = offText;
        return;
    }
    KivTimeValueFunction(out, record, in);
}

}  // namespace

void TandrelRatioValueFunction(KivString& out, KivEffectParameter& record, const KivString& in) {
    double& code = record.values.asFloat.value;
    if (in.IsEmpty()) {
        out = RatioText(code);
        return;
    }
    double divisor = 0.0;
    if (in.Trimmed().EqualsFolded(kInfinityText)) code = kKivInfiniteRatioCode;
    else if (ReadExpanderRatio(in, divisor)) code = std::min(2.0 - divisor, kGentlestExpanderCode);
    else code = std::min(KivNumber::TextToDouble(in), kLargestFiniteCode);
    out.Clear();
}

void TandrelPeakTimeValueFunction(KivString& out, KivEffectParameter& record, const KivString& in) {
    SwitchedTime(out, record, in, "Peak");
}

void TandrelDisabledTimeValueFunction(KivString& out, KivEffectParameter& record, const KivString& in) {
    SwitchedTime(out, record, in, "Disabled");
}
