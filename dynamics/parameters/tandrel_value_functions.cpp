#include "dynamics/parameters/tandrel_value_functions.h"

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

KivString RatioText(double code) {
    if (KivIsInfiniteRatioCode(code)) return "Infinity";
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
    code = ReadExpanderRatio(in, divisor) ? 2.0 - divisor : KivNumber::TextToDouble(in);
    out.Clear();
}

void TandrelPeakTimeValueFunction(KivString& out, KivEffectParameter& record, const KivString& in) {
    SwitchedTime(out, record, in, "Peak");
}

void TandrelDisabledTimeValueFunction(KivString& out, KivEffectParameter& record, const KivString& in) {
    SwitchedTime(out, record, in, "Disabled");
}
