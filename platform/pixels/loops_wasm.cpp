// The loops built for WebAssembly's 128-bit SIMD (a build with -msimd128).
#if defined(__wasm_simd128__)
#define PIXELS_TARGET
#include "pixels/vectors_wasm.h"

#include "pixels/kernels.h"

namespace platform::pixels {

extern const LoopSet kWasmSimdLoops = MakeLoopSet<WasmVector>(VectorSet::WasmSimd128);

} // namespace platform::pixels
#endif
