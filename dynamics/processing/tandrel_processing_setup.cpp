#include "dynamics/processing/tandrel_processing_setup.h"

#include <cmath>
#include <iterator>

#include "dynamics/gain/tandrel_linear_gains.h"
#include "dynamics/gain/tandrel_shape_sources.h"
#include "dynamics/parameters/tandrel_parameter_slot.h"
#include "dynamics/parameters/tandrel_parameter_table.h"

int32_t TandrelLookAheadSamples(double seconds, int32_t sampleRate) noexcept {
    const double samples = seconds * sampleRate;
    const double whole = std::floor(samples);
    return static_cast<int32_t>(whole) + (samples - whole >= 0.5 ? 1 : 0);
}

namespace {

KivFollowerSettings ReadFollowerSettings(const TandrelParameterTable& table, const TandrelProductSettings& product,
                                         int32_t sampleRate, const TandrelLinearGains& gains) {
    KivFollowerSettings settings;
    settings.sampleRate = sampleRate;
    settings.attack = table.Value(kTandrelAttack);
    settings.release = table.Value(kTandrelRelease);
    settings.autoSpeed = table.Value(kTandrelAutoSpeed);
    settings.lowestThreshold = kTandrelDefaultLowestThreshold;
    settings.rmsLength = table.Value(kTandrelRMSLength);
    settings.peakHold = table.Value(kTandrelPeakHold);
    settings.releaseMode = static_cast<KivReleaseMode>(table.Item(kTandrelReleaseMode));
    settings.attackShape = product.attackShape;
    settings.releaseShape = product.releaseShape;
    settings.dryWet = table.Value(kTandrelDryWet);
    settings.inputGain = gains.input;
    settings.outputGain = gains.output;
    settings.shapeMode = table.Item(kTandrelShapeMode);
    settings.hasSecondShape = true;
    return settings;
}

}  // namespace

TandrelProcessingSetup TandrelReadProcessingSetup(const TandrelParameterTable& table,
                                                  const TandrelProductSettings& product, int32_t sampleRate,
                                                  KivEnvelope& drawnShape, KivEnvelope& shape) {
    const TandrelLinearGains gains = TandrelComputeLinearGains(table);
    TandrelProcessingSetup setup;
    setup.follower = ReadFollowerSettings(table, product, sampleRate, gains);
    const TandrelShapeSources sources = TandrelDescribeShapeSources(table, product.expander1, product.expander2);
    const TandrelShapeOptions options{product.customShape != 0, table.IsOn(kTandrelMaximize),
                                      product.doNotLimitAbove0dB != 0};
    const TandrelChosenShape chosen = TandrelChooseTransferShape(sources, options, drawnShape, shape);
    setup.shapeKind = chosen.kind;
    setup.follower.lowestThreshold = chosen.lowestThreshold;
    setup.gain = {setup.follower.dryWet, gains.input, gains.output, static_cast<KivShapeMode>(setup.follower.shapeMode)};
    setup.link = table.Value(kTandrelLinkChannels);
    setup.releaseMode = table.Item(kTandrelReleaseMode);
    setup.lookAheadSamples = TandrelLookAheadSamples(table.Value(kTandrelLookAhead), sampleRate);
    const bool switches[] = {table.IsOn(kTandrelProcessor1Group), table.IsOn(kTandrelProcessor2Group),
                             table.IsOn(kTandrelGateGroup),       table.IsOn(kTandrelMaximize),
                             product.customShape != 0,            product.expander1 != 0,
                             product.expander2 != 0};
    for (uint32_t bit = 0; bit < std::size(switches); ++bit) setup.switches |= switches[bit] ? 1u << bit : 0u;
    return setup;
}
