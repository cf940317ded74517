// What the AVX-512 row and column loops share. Only functions marked AVX512
// may use these instructions, and only after HaveAvx512() said yes.
#pragma once

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#define SAMPLE_HAVE_AVX512_PATH 1
#define AVX512 __attribute__((target("avx512f,avx512bw")))
#endif
