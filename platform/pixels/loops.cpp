#include "pixels/loops.h"
#include "pixels/testing_hooks.h"

#include "pixels/loop_sets.h"

#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

#include "common/diagnostics.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace platform::pixels {
namespace {

const LoopSet* BuiltSet(VectorSet set)
{
    switch (set) {
    case VectorSet::Portable:
        return &kPortableLoops;
#if defined(__x86_64__) || defined(__i386__)
    case VectorSet::Sse2:
        return &kSse2Loops;
    case VectorSet::Avx2:
        return &kAvx2Loops;
    case VectorSet::Avx512:
        return &kAvx512Loops;
#endif
#if defined(__wasm_simd128__)
    case VectorSet::WasmSimd128:
        return &kWasmSimdLoops;
#endif
    default:
        break;
    }
    return nullptr;
}

bool Probe(VectorSet set)
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    switch (set) {
    case VectorSet::Portable:
        return true;
    case VectorSet::Sse2:
        return __builtin_cpu_supports("sse2");
    case VectorSet::Avx2:
        return __builtin_cpu_supports("avx2");
    case VectorSet::Avx512:
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    case VectorSet::WasmSimd128:
        return false;
    }
    return false;
#else
#if defined(__wasm_simd128__)
    // A WebAssembly module with SIMD compiles only where the engine runs it.
    if (set == VectorSet::WasmSimd128) return true;
#endif
    return set == VectorSet::Portable;
#endif
}

// SAMPLE_WIDEST_LOOPS (portable, sse2, avx2, avx512 or simd128) runs the
// process as on a processor without the wider sets. The sanitizer run uses it:
// AddressSanitizer checks the portable loops' every access, and none made
// through vector intrinsics.
VectorSet WidestAllowed()
{
    const char* named = std::getenv("SAMPLE_WIDEST_LOOPS");
    constexpr VectorSet kEvery = std::end(kVectorSets)[-1];
    if (named == nullptr || *named == '\0') return kEvery;
    constexpr std::pair<std::string_view, VectorSet> kNames[]
        = { { "portable", VectorSet::Portable }, { "sse2", VectorSet::Sse2 }, { "avx2", VectorSet::Avx2 },
              { "avx512", VectorSet::Avx512 }, { "simd128", VectorSet::WasmSimd128 } };
    for (const auto& [name, set] : kNames)
        if (name == named) return set;
    diagnostics::DebugOutput(std::string("SAMPLE_WIDEST_LOOPS=") + named
        + " is none of portable, sse2, avx2, avx512, simd128: every set the processor has is used");
    return kEvery;
}

} // namespace

const char* VectorSetName(VectorSet set)
{
    switch (set) {
    case VectorSet::Portable:
        return "portable";
    case VectorSet::Sse2:
        return "SSE2";
    case VectorSet::Avx2:
        return "AVX2";
    case VectorSet::Avx512:
        return "AVX-512";
    case VectorSet::WasmSimd128:
        return "SIMD128";
    }
    return "unknown";
}

const char* KeyedStoresName(KeyedStores method) { return method == KeyedStores::Masked ? "masked" : "blend"; }

bool ProcessorHas(VectorSet set)
{
    static const VectorSet widest = WidestAllowed();
    static const bool has[] = { Probe(VectorSet::Portable), Probe(VectorSet::Sse2), Probe(VectorSet::Avx2),
        Probe(VectorSet::Avx512), Probe(VectorSet::WasmSimd128) };
    return has[int(set)] && set <= widest;
}

const PixelLoops* LoopsOf(VectorSet set, KeyedStores method, int bytesPerPixel)
{
    const LoopSet* built = BuiltSet(set);
    if (built == nullptr || !ProcessorHas(set)) return nullptr;
    const bool wide = bytesPerPixel == 4;
    const PixelLoops& masked = wide ? built->masked32 : built->masked16;
    if (method == KeyedStores::Masked && masked.keyedStores == KeyedStores::Masked) return &masked;
    return wide ? &built->blend32 : &built->blend16;
}

bool HasMaskedStores(VectorSet set, int bytesPerPixel)
{
    const PixelLoops* loops = LoopsOf(set, KeyedStores::Masked, bytesPerPixel);
    return loops != nullptr && loops->keyedStores == KeyedStores::Masked;
}

void FinishStreaming()
{
#if defined(__x86_64__) || defined(__i386__)
    _mm_sfence();
#endif
}

} // namespace platform::pixels
