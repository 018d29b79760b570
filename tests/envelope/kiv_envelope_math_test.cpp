#include "envelope/kiv_envelope_math.h"

#include <gtest/gtest.h>

#include <cmath>

// The runtime's functions serve as the reference: the own versions must agree to within a
// few units in the last place over the ranges the curves use. pow carries the rounding of
// the product exponent * log(base) into its result: the bound grows with that product.
namespace {
double PowTolerance(double u, double e) {
    const double result = std::pow(u, e);
    return 1e-300 + result * 5e-16 * (2.0 + std::fabs(e * std::log(u)));
}
}  // namespace

TEST(EnvelopeMath, ExpLogAndPowAgreeWithTheRuntime) {
    for (double x = -700.0; x <= 700.0; x += 0.37) EXPECT_NEAR(KivEnvelopeMath::Exp(x) / std::exp(x), 1.0, 4e-16) << x;
    for (double x = 1e-300; x < 1e300; x *= 1.93) EXPECT_NEAR(KivEnvelopeMath::Log(x), std::log(x), 4e-16 * std::fabs(std::log(x)) + 1e-300) << x;
    for (double u = 0.0013; u <= 1.0; u += 0.0013)
        for (double e : {0.0497870683678639, 0.22313016014842982, 1.0, 4.4816890703380645, 20.085536923187668})
            EXPECT_NEAR(KivEnvelopeMath::Pow(u, e), std::pow(u, e), PowTolerance(u, e)) << u << "^" << e;
    EXPECT_EQ(KivEnvelopeMath::Pow(0.0, 3.0), 0.0);
    EXPECT_EQ(KivEnvelopeMath::Pow(1.0, 3.0), 1.0);
    EXPECT_EQ(KivEnvelopeMath::Exp(0.0), 1.0);
    EXPECT_EQ(KivEnvelopeMath::Log(1.0), 0.0);
    EXPECT_TRUE(std::isinf(KivEnvelopeMath::Exp(800.0)));
    EXPECT_EQ(KivEnvelopeMath::Exp(-800.0), 0.0);
}
