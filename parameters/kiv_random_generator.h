#pragma once
#include <cstdint>

// The module's one pseudo-random generator: seed := seed * 214013 + 2531011 with 32-bit
// wrap-around. Randomisation of parameters and any other random choice of the framework draw
// from it, so a seed set once reproduces a whole sequence. The seed is not protected by a
// lock: a lost update between threads only costs randomness.
namespace KivRandomGenerator {

void SetSeed(uint32_t seed) noexcept;
uint32_t GetSeed() noexcept;
// Advances the seed and returns the new one.
uint32_t NextSeed() noexcept;
// Advances the seed and returns ((seed >> 16) & 0x7FFF) / 32767, so 0 and 1 both occur.
double Draw() noexcept;

}  // namespace KivRandomGenerator
