// The delay line that keeps bypass, single-channel modes and the look-ahead aligned with the
// latency: exact delays in any block pattern, in place too; a change of the delay read from
// real history and faded with powers summing to 1; the new delay holds from the change on.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "plugin/kiv_delay_line.h"

namespace {

constexpr int32_t kFade = 100;

std::vector<float> Ramp(int32_t count) {
    std::vector<float> x(count);
    for (int32_t n = 0; n < count; ++n) x[n] = static_cast<float>(n + 1);
    return x;
}

TEST(DelayLine, DelaysExactlyInAnyBlockPatternAndInPlace) {
    for (const int32_t delay : {0, 1, 221, 1000}) {
        KivDelayLine line;
        line.Reserve(1000, 64);
        line.SetDelay(delay);
        std::vector<float> x = Ramp(3000), y = x;
        const int32_t blocks[] = {1, 64, 7, 63, 2};
        for (int32_t at = 0, b = 0; at < 3000; at += blocks[b % 5], ++b) {
            const int32_t count = std::min(blocks[b % 5], 3000 - at);
            line.Process(y.data() + at, y.data() + at, count);  // in place
        }
        for (int32_t n = 0; n < 3000; ++n) ASSERT_EQ(y[n], n < delay ? 0.0f : x[n - delay]) << delay << " " << n;
    }
}

// From delay 10 to delay 500 after a step from A to 0 at sample 1000 (so the old tap reads 0
// and the new one A during the fade), and the other way round: the two weights, read off the
// output, are monotonic, their squares sum to 1, and the new delay is exact after 100 samples.
TEST(DelayLine, ChangedDelayFadesWithPowersSummingToOne) {
    std::vector<double> weights[2];
    for (int32_t side = 0; side < 2; ++side) {
        KivDelayLine line;
        line.Reserve(600, 50);
        line.SetFadeLength(kFade);
        line.SetDelay(10);
        std::vector<float> x(2000), y(2000);
        for (int32_t n = 0; n < 2000; ++n) x[n] = (n < 1000) == (side == 0) ? 0.5f : 0.0f;
        for (int32_t at = 0; at < 2000; at += 50) {
            if (at == 1200) line.SetDelay(500);
            line.Process(x.data() + at, y.data() + at, 50);
        }
        for (int32_t n = 1200; n < 1200 + kFade; ++n) weights[side].push_back(y[n] / 0.5);
        for (int32_t n = 1200 + kFade; n < 2000; ++n) ASSERT_EQ(y[n], x[n - 500]) << n;
    }
    // side 0: old tap 0, new tap 0.5 -> the new weight; side 1 the old one. Each is the sine
    // or cosine of the middle of its step, exactly (the line looks them up in a table).
    for (int32_t k = 0; k < kFade; ++k) {
        const double angle = 0.5 * std::numbers::pi * (k + 0.5) / kFade;
        ASSERT_EQ(weights[0][k] * 0.5, static_cast<float>(0.5 * std::sin(angle))) << k;
        ASSERT_EQ(weights[1][k] * 0.5, static_cast<float>(0.5 * std::cos(angle))) << k;
        EXPECT_NEAR(weights[0][k] * weights[0][k] + weights[1][k] * weights[1][k], 1.0, 1e-6) << k;
        if (k > 0) {
            EXPECT_GT(weights[0][k], weights[0][k - 1]);
            EXPECT_LT(weights[1][k], weights[1][k - 1]);
        }
    }
}

// A line that has heard 100 samples and is asked for 300 fades to 300 at once: once the
// fade is over, it plays what a line started with that delay plays (silence for what it never
// heard, then the input exactly 300 samples late), so the output agrees with the latency the
// host was told. A line only fed (nobody listening) plays the right delayed audio at once.
TEST(DelayLine, NewDelayHoldsAtOnceAndFeedingKeepsIt) {
    KivDelayLine line;
    line.Reserve(1000, 100);
    line.SetFadeLength(kFade);
    const std::vector<float> x = Ramp(1000);
    std::vector<float> y(1000);
    line.Process(x.data(), y.data(), 100);
    for (int32_t n = 0; n < 100; ++n) ASSERT_EQ(y[n], x[n]) << n;
    line.SetDelay(300);
    for (int32_t at = 100; at < 500; at += 100) line.Process(x.data() + at, y.data() + at, 100);
    // The fade's old side: the undelayed ramp, weighted down to nothing.
    for (int32_t n = 101; n < 100 + kFade; ++n) ASSERT_LT(y[n] / x[n], y[n - 1] / x[n - 1]) << n;
    for (int32_t n = 100 + kFade; n < 500; ++n) ASSERT_EQ(y[n], n < 300 ? 0.0f : x[n - 300]) << n;

    KivDelayLine fed;
    fed.Reserve(1000, 100);
    fed.Feed(x.data(), 500);
    fed.SetDelay(221);
    fed.Feed(x.data() + 500, 100);
    fed.Process(x.data() + 600, y.data(), 100);
    for (int32_t n = 0; n < 100; ++n) ASSERT_EQ(y[n], x[600 + n - 221]) << n;
}

// A line that has wrapped many times is reset and then asked for a delay far longer than it
// has heard since: the old audio (a rising ramp) never plays again, only the new (falling)
// signal, faded out, and then silence until the new delay is reached.
TEST(DelayLine, AfterAResetNoDelayReadsAudioFromBeforeIt) {
    KivDelayLine line;
    line.Reserve(1000, 100);
    line.SetFadeLength(kFade);
    line.SetDelay(50);
    const std::vector<float> old = Ramp(5000);
    std::vector<float> y(5000);
    for (int32_t at = 0; at < 5000; at += 100) line.Process(old.data() + at, y.data() + at, 100);
    line.Reset();
    std::vector<float> x(600), z(600);
    for (int32_t n = 0; n < 600; ++n) x[n] = -static_cast<float>(n + 1);
    line.Process(x.data(), z.data(), 100);
    for (int32_t n = 0; n < 100; ++n) ASSERT_EQ(z[n], n < 50 ? 0.0f : x[n - 50]) << n;
    line.SetDelay(900);
    for (int32_t at = 100; at < 600; at += 100) line.Process(x.data() + at, z.data() + at, 100);
    for (int32_t n = 100; n < 600; ++n) {
        ASSERT_LE(z[n], 0.0f) << n;
        if (n >= 100 + kFade) {
            ASSERT_EQ(z[n], 0.0f) << n;
        }
    }
}

}  // namespace

namespace {

// A reset line whose ring still holds loud audio from before, playing a long delay it has not
// heard yet, is asked for a short one: the fade's old tap reaches back past what the line has
// heard and must read silence, so the output is exactly the new tap under its rising weight,
// sin(pi/2 (k + 0.5) / 100), and never the audio from before the reset.
TEST(DelayLine, AFadeFromADelayNotYetHeardRisesFromSilence) {
    KivDelayLine line;
    line.Reserve(1000, 100);
    line.SetFadeLength(kFade);
    line.SetDelay(300);
    const std::vector<float> old(4000, 1000.0f);
    std::vector<float> y(4000);
    for (int32_t at = 0; at < 4000; at += 100) line.Process(old.data() + at, y.data() + at, 100);
    line.Reset();
    const std::vector<float> x = Ramp(400);
    std::vector<float> z(400);
    line.Process(x.data(), z.data(), 100);
    for (int32_t n = 0; n < 100; ++n) ASSERT_EQ(z[n], 0.0f) << n;
    line.SetDelay(50);
    for (int32_t at = 100; at < 400; at += 100) line.Process(x.data() + at, z.data() + at, 100);
    for (int32_t k = 0; k < kFade; ++k) {
        const double rising = std::sin(0.5 * std::numbers::pi * (k + 0.5) / kFade);
        ASSERT_NEAR(z[100 + k], x[50 + k] * rising, 1e-4 * x[50 + k]) << k;
    }
    for (int32_t n = 100 + kFade; n < 400; ++n) ASSERT_EQ(z[n], x[n - 50]) << n;
}

}  // namespace
