#pragma once

// Marks a function of element-wise passes over blocks to be compiled three times: for
// processors with AVX-512 (eight doubles per instruction), with AVX2 (four) and for the
// x86-64 baseline (two), so wider processors need fewer divisions and square roots per
// sample. The loader picks one when the library is loaded. The dynamics library is built
// without fused multiply-adds, so every build gives the same bits. Where the loader cannot
// choose (Windows DLLs) the baseline build is the only one; so it is in sanitizer builds,
// whose instrumented chooser would run before the sanitizer's runtime is ready.
#if defined(__x86_64__) && defined(__ELF__) && defined(__GNUC__) && !defined(__clang__) && \
    !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define KIV_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define KIV_VECTOR_CLONES
#endif
