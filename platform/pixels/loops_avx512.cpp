// The loops built for AVX-512 (F and BW).
#if defined(__x86_64__) || defined(__i386__)
#define PIXELS_TARGET __attribute__((target("avx512f,avx512bw")))
#include "pixels/vectors_avx512.h"

#include "pixels/kernels.h"

namespace platform::pixels {

extern const LoopSet kAvx512Loops = MakeLoopSet<Avx512Vector>(VectorSet::Avx512);

} // namespace platform::pixels
#endif
