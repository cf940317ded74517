// The tables of loops each vector set's file builds: both store methods,
// both pixel sizes. Only the sets this program is built with for its
// processor family are there.
#pragma once

#include "pixels/loops.h"

namespace platform::pixels {

struct LoopSet {
    PixelLoops masked32, masked16, blend32, blend16;
};

extern const LoopSet kPortableLoops;
#if defined(__x86_64__) || defined(__i386__)
extern const LoopSet kSse2Loops;
extern const LoopSet kAvx2Loops;
extern const LoopSet kAvx512Loops;
#endif
#if defined(__wasm_simd128__)
extern const LoopSet kWasmSimdLoops;
#endif

} // namespace platform::pixels
