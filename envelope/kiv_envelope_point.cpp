#include "envelope/kiv_envelope_point.h"

#include "base/kiv_memory.h"

void* KivEnvelopePoint::operator new(size_t size) { return KivMemory::Allocate(size); }

void KivEnvelopePoint::operator delete(void* block) noexcept { KivMemory::Free(block); }
