#pragma once

namespace KivPlatform {

// Vector instruction sets reported by CPUID leaf 1.
struct ProcessorFeatures {
    bool sse = false;
    bool sse2 = false;
    bool sse3 = false;
    bool ssse3 = false;
    bool sse41 = false;
    bool sse42 = false;
};

ProcessorFeatures DetectProcessorFeatures();

}  // namespace KivPlatform
