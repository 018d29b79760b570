#include "dynamics/gain/tandrel_shape_sources.h"

#include "dynamics/gain/kiv_effective_ratio.h"
#include "dynamics/parameters/tandrel_parameter_slot.h"
#include "dynamics/parameters/tandrel_parameter_table.h"

namespace {

double Squared(double value) { return value * value; }

KivDynamicsProcessorDescription DescribeProcessor(const TandrelParameterTable& table,
                                                  const TandrelProcessorSlots& slots, bool expander) {
    KivDynamicsProcessorDescription processor;
    processor.threshold = Squared(table.Value(slots.threshold));
    processor.ratio = KivEffectiveRatio(table.Value(slots.ratio));
    processor.knee = table.Value(slots.kneeSize);
    processor.range = table.Value(slots.range);
    processor.compressor = expander ? 0 : 1;
    return processor;
}

}  // namespace

TandrelShapeSources TandrelDescribeShapeSources(const TandrelParameterTable& table, bool expander1, bool expander2) {
    TandrelShapeSources sources;
    if (table.IsOn(kTandrelProcessor1Group))
        sources.processors[sources.processorCount++] = DescribeProcessor(table, kTandrelProcessor1Slots, expander1);
    if (table.IsOn(kTandrelProcessor2Group))
        sources.processors[sources.processorCount++] = DescribeProcessor(table, kTandrelProcessor2Slots, expander2);
    sources.gateEnabled = table.IsOn(kTandrelGateGroup);
    if (sources.gateEnabled) {
        sources.gate.threshold = Squared(table.Value(kTandrelGateThreshold));
        sources.gate.knee = table.Value(kTandrelGateKnee);
        sources.gate.size = table.Value(kTandrelGateSize);
        sources.gate.bottom = Squared(table.Value(kTandrelGateBottom));
    }
    return sources;
}
