// Which vector instructions the pixel loops may use: SSE2 always (it is part
// of every x86-64), AVX2 and AVX-512 when the processor has them. Chosen at
// run time, so one build runs everywhere.
#pragma once

namespace platform::ddraw::rows {

enum class VectorSet { Sse2, Avx2, Avx512 };

bool HaveAvx2();
bool HaveAvx512(); // AVX-512 F and BW

// The widest set this processor has.
VectorSet ProcessorVectors();
// Tests hold the loops to a narrower set, to check each on the same machine.
void LimitVectors(VectorSet widest);

} // namespace platform::ddraw::rows
