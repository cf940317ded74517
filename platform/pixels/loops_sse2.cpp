// The loops built for SSE2.
#if defined(__x86_64__) || defined(__i386__)
#define PIXELS_TARGET __attribute__((target("sse2")))
#include "pixels/vectors_sse2.h"

#include "pixels/kernels.h"

namespace platform::pixels {

extern const LoopSet kSse2Loops = MakeLoopSet<Sse2Vector>(VectorSet::Sse2);

} // namespace platform::pixels
#endif
