#include "parameters/kiv_random_generator.h"

namespace {

uint32_t seed = 1;

}  // namespace

namespace KivRandomGenerator {

void SetSeed(uint32_t newSeed) noexcept { seed = newSeed; }

uint32_t GetSeed() noexcept { return seed; }

uint32_t NextSeed() noexcept {
    seed = seed * 214013u + 2531011u;
    return seed;
}

double Draw() noexcept { return static_cast<double>((NextSeed() >> 16) & 0x7FFFu) / 32767.0; }

}  // namespace KivRandomGenerator
