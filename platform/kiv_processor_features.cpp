#include "platform/kiv_processor_features.h"

#include <cpuid.h>

namespace KivPlatform {

ProcessorFeatures DetectProcessorFeatures() {
    ProcessorFeatures features;
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return features;
    features.sse = (edx & bit_SSE) != 0;
    features.sse2 = (edx & bit_SSE2) != 0;
    features.sse3 = (ecx & bit_SSE3) != 0;
    features.ssse3 = (ecx & bit_SSSE3) != 0;
    features.sse41 = (ecx & bit_SSE4_1) != 0;
    features.sse42 = (ecx & bit_SSE4_2) != 0;
    return features;
}

}  // namespace KivPlatform
