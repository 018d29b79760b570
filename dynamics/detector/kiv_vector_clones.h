#pragma once

// Marks a function of element-wise passes over blocks to be compiled twice: for processors
// with AVX2 (four doubles per instruction, half the divisions and square roots per sample)
// and for the x86-64 baseline (two). The loader picks one when the library is loaded. AVX2
// without FMA never fuses a multiply into an addition, so both give the same bits. Where the
// loader cannot choose (Windows DLLs) the baseline build is the only one.
#if defined(__x86_64__) && defined(__ELF__) && defined(__GNUC__) && !defined(__clang__)
#define KIV_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define KIV_VECTOR_CLONES
#endif
