// Which vector instructions the pixel loops may use: SSE2 always (it is part
// of every x86-64), AVX2 and AVX-512 when the processor has them. Chosen at
// run time, so one build runs everywhere.
#pragma once

namespace platform::ddraw::rows {

enum class VectorSet { Sse2, Avx2, Avx512 };

#if defined(__x86_64__) || defined(__i386__)
bool HaveAvx2();
bool HaveAvx512(); // AVX-512 F and BW
#else
// Elsewhere (WebAssembly) the portable loops alone are built, and the calls
// of the x86 ones fall away.
constexpr bool HaveAvx2() { return false; }
constexpr bool HaveAvx512() { return false; }
#endif

// The widest set this processor has.
VectorSet ProcessorVectors();
// Tests hold the loops to a narrower set, to check each on the same machine.
void LimitVectors(VectorSet widest);

} // namespace platform::ddraw::rows
