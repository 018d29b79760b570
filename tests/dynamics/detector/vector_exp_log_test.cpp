#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "dynamics/detector/kiv_attack_release_processor.h"
#include "dynamics/detector/kiv_vector_exp_log.h"
#include "dynamics/detector/kiv_vector_exp_log_avx2.h"

namespace {

// Units in the last place of `reference` that `value` is away from it.
double UlpDistance(double value, double reference) {
    const double ulp = std::nextafter(std::fabs(reference), 1e308) - std::fabs(reference);
    return std::fabs(value - reference) / ulp;
}

// Deterministic spread of values over many octaves.
std::vector<double> Spread(double lowest, double highest, int32_t count) {
    std::vector<double> values(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) values[i] = lowest + (highest - lowest) * std::fmod(i * 0.6180339887, 1.0);
    return values;
}

}  // namespace

TEST(VectorExpLog, LogarithmsWithinTwoUlpOfTheLibrary) {
    std::vector<double> exponents = Spread(-690.0, 690.0, 100001), values, logarithms(exponents.size());
    for (double x : exponents) values.push_back(std::exp(x));
    KivVectorExpLog::Logarithms(values.data(), logarithms.data(), static_cast<int32_t>(values.size()));
    for (size_t i = 0; i < values.size(); ++i)
        ASSERT_LE(UlpDistance(logarithms[i], std::log(values[i])), 2.0) << values[i];
}

TEST(VectorExpLog, LogarithmsNearOneKeepTheirRelativePrecision) {
    std::vector<double> values = Spread(0.7, 1.45, 10001), logarithms(values.size());
    KivVectorExpLog::Logarithms(values.data(), logarithms.data(), static_cast<int32_t>(values.size()));
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i] == 1.0) continue;
        ASSERT_LE(UlpDistance(logarithms[i], std::log(values[i])), 2.0) << values[i];
    }
}

TEST(VectorExpLog, ExponentialsWithinTwoUlpOfTheLibrary) {
    std::vector<double> values = Spread(-708.0, 709.0, 100001), exponentials(values.size());
    KivVectorExpLog::Exponentials(values.data(), exponentials.data(), static_cast<int32_t>(values.size()));
    for (size_t i = 0; i < values.size(); ++i)
        ASSERT_LE(UlpDistance(exponentials[i], std::exp(values[i])), 2.0) << values[i];
}

TEST(VectorExpLog, EveryLengthIsCompleteIncludingTheTail) {
    for (int32_t count = 0; count < 150; ++count) {  // every stage: long turns, short turns, the tail
        std::vector<double> values(static_cast<size_t>(count), 2.0), out(static_cast<size_t>(count) + 1, -1.0);
        KivVectorExpLog::Logarithms(values.data(), out.data(), count);
        for (int32_t i = 0; i < count; ++i) EXPECT_NEAR(out[i], std::log(2.0), 1e-15);
        EXPECT_EQ(out[static_cast<size_t>(count)], -1.0);
    }
}

// The logarithmic release kept as a logarithm against the step-by-step formula.
TEST(LogarithmicRelease, FollowsTheStepByStepFormula) {
    KivAttackReleaseProcessor processor;
    processor.Select(KivAttackReleaseMode::kFast, KivAttackReleaseMode::kFast);
    const double attack = std::exp(-1.0 / 48.0), release = std::exp(-1.0 / 4800.0);
    KivEnvelopeContext context{attack, nullptr, nullptr, nullptr, nullptr};
    KivEnvelopeChannel channel;
    channel.envelope = 1e-15;
    channel.release.releaseCoefficient = release;
    const int32_t count = 48000;
    std::vector<double> input(count), values(count);
    for (int32_t i = 0; i < count; ++i)
        input[i] = 1e-15 + std::fabs(std::sin(i * 0.01)) * (0.5 + 0.5 * std::sin(i * 0.0003)) * (i % 9000 < 6000);
    double reference = 1e-15, worst = 0.0;
    for (int32_t start = 0; start < count; start += 512) {
        const int32_t n = std::min(512, count - start);
        std::copy(input.begin() + start, input.begin() + start + n, values.begin() + start);
        processor.Run(channel, values.data() + start, n, context);
        for (int32_t i = start; i < start + n; ++i) {
            const double x = input[i];
            reference = x <= reference ? std::exp(std::log(x) * (1.0 - release) + std::log(reference) * release)
                                       : (reference - x) * attack + x;
            worst = std::max(worst, std::fabs(values[i] - reference) / reference);
        }
    }
    EXPECT_LT(worst, 1e-12);
    EXPECT_EQ(channel.envelope, values.back());
}

TEST(VectorExpLog, ProcessorPathsGiveTheSameBits) {
    if (!KivVectorExpLog::UsesAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    const std::vector<double> exponents = Spread(-700.0, 700.0, 4099);
    std::vector<double> values, best(exponents.size()), narrow(exponents.size()), wide(exponents.size());
    for (double x : exponents) values.push_back(std::exp(x));
    const int32_t count = static_cast<int32_t>(values.size());
    // The best path the processor offers (AVX-512 or AVX2), AVX2 itself, and SSE2.
    KivVectorExpLog::Logarithms(values.data(), best.data(), count);
    KivVectorExpLogAvx2::Logarithms(values.data(), wide.data(), count);
    KivVectorExpLog::LogarithmsSse2(values.data(), narrow.data(), count);
    EXPECT_EQ(best, narrow);
    EXPECT_EQ(wide, narrow);
    KivVectorExpLog::Exponentials(exponents.data(), best.data(), count);
    KivVectorExpLogAvx2::Exponentials(exponents.data(), wide.data(), count);
    KivVectorExpLog::ExponentialsSse2(exponents.data(), narrow.data(), count);
    EXPECT_EQ(best, narrow);
    EXPECT_EQ(wide, narrow);
}
