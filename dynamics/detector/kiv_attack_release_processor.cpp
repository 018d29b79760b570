#include "dynamics/detector/kiv_attack_release_processor.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <type_traits>
#include <utility>

#include "dynamics/detector/kiv_attack_release_steps.h"
#include "dynamics/detector/kiv_logarithmic_release_loop.h"

namespace {

namespace Steps = KivAttackReleaseSteps;

constexpr uint8_t kUpdateInterval = KivLogarithmicReleaseLoop::kUpdateInterval;

template <typename Attack, typename Release>
double StepByStepLoop(KivEnvelopeChannel& channel, double* values, int32_t count,
                      const KivEnvelopeContext& context) {
    double e = channel.envelope;
    double releaseCoefficient = channel.release.releaseCoefficient;
    uint8_t counter = channel.stepCounter;
    double largest = count > 0 ? 0.0 : e;
    const double attackCoefficient = context.attackCoefficient;
    for (int32_t i = 0; i < count; ++i) {
        const double x = values[i];
        e = x <= e ? Release::Step(e, x, releaseCoefficient, context.releaseShape)
                   : Attack::Step(e, x, attackCoefficient, context.attackShape);
        if (++counter == kUpdateInterval) {
            counter = 0;
            if (context.releaseModeUpdate != nullptr) {
                context.releaseModeUpdate(*context.releaseModeBlock, channel.release, e);
                releaseCoefficient = channel.release.releaseCoefficient;
            }
        }
        values[i] = e;
        largest = std::max(largest, e);
    }
    channel.envelope = e;
    channel.logarithmOf = -1.0;  // no logarithm to go on from
    channel.stepCounter = counter;
    return largest;
}

template <typename Attack, typename Release>
double EnvelopeLoop(KivEnvelopeChannel& channel, double* values, int32_t count, const KivEnvelopeContext& context) {
    // The logarithmic release keeps the envelope as its logarithm between release samples.
    if constexpr (std::is_same_v<Release, Steps::Logarithmic>)
        return KivLogarithmicReleaseLoop::Run<Attack>(channel, values, count, context);
    else
        return StepByStepLoop<Attack, Release>(channel, values, count, context);
}

// Attack and release steps by mode (Slowest .. Custom (logarithmic)).
using AttackSteps = std::tuple<Steps::Logarithmic, Steps::Root, Steps::AdaptiveUp, Steps::Linear, Steps::Power,
                               Steps::ExtremeUp, Steps::Custom<true>, Steps::CustomLogarithmic<true>>;
using ReleaseSteps = std::tuple<Steps::Power, Steps::Linear, Steps::Root, Steps::Logarithmic, Steps::AdaptiveDown,
                                Steps::ExtremeDown, Steps::Custom<false>, Steps::CustomLogarithmic<false>>;

template <size_t... I>
constexpr std::array<KivAttackReleaseProcessor::Loop, sizeof...(I)> LoopTable(std::index_sequence<I...>) {
    return {&EnvelopeLoop<std::tuple_element_t<I / kKivAttackReleaseModeCount, AttackSteps>,
                          std::tuple_element_t<I % kKivAttackReleaseModeCount, ReleaseSteps>>...};
}

constexpr auto kLoops = LoopTable(std::make_index_sequence<kKivAttackReleaseModeCount * kKivAttackReleaseModeCount>());

int32_t Index(KivAttackReleaseMode mode) noexcept {
    return std::clamp(static_cast<int32_t>(mode), 0, kKivAttackReleaseModeCount - 1);
}

template <size_t... I>
constexpr std::array<bool, sizeof...(I)> LogarithmicReleases(std::index_sequence<I...>) {
    return {std::is_same_v<std::tuple_element_t<I, ReleaseSteps>, Steps::Logarithmic>...};
}

constexpr auto kLogarithmicReleases = LogarithmicReleases(std::make_index_sequence<kKivAttackReleaseModeCount>());

}  // namespace

void KivAttackReleaseProcessor::Select(Mode attack, Mode release) noexcept {
    loop_ = kLoops[Index(attack) * kKivAttackReleaseModeCount + Index(release)];
    logarithmicRelease_ = kLogarithmicReleases[Index(release)];
}
