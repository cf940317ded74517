// The loops built for AVX2.
#if defined(__x86_64__) || defined(__i386__)
#define PIXELS_TARGET __attribute__((target("avx2")))
#include "pixels/vectors_avx2.h"

#include "pixels/kernels.h"

namespace platform::pixels {

extern const LoopSet kAvx2Loops = MakeLoopSet<Avx2Vector>(VectorSet::Avx2);

} // namespace platform::pixels
#endif
