#include "base/kiv_memory.h"
#include "envelope/kiv_envelope_computer.h"

namespace {
constexpr double kSlopeStep = 1e-10;
constexpr double kInverseSlopeStep = 1e10;
}  // namespace

double KivEnvelopeComputer::Item::SlopeRight(double x) const noexcept {
    return (Value(x + kSlopeStep) - Value(x)) * kInverseSlopeStep;
}

double KivEnvelopeComputer::Item::SlopeLeft(double x) const noexcept {
    return (Value(x) - Value(x - kSlopeStep)) * kInverseSlopeStep;
}

void* KivEnvelopeComputer::Item::operator new(size_t size) { return KivMemory::Allocate(size); }

void KivEnvelopeComputer::Item::operator delete(void* block) noexcept { KivMemory::Free(block); }
