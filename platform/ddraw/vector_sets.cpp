#include "ddraw/vector_sets.h"

namespace platform::ddraw::rows {
namespace {

VectorSet Detect()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")) return VectorSet::Avx512;
    if (__builtin_cpu_supports("avx2")) return VectorSet::Avx2;
#endif
    return VectorSet::Sse2;
}

VectorSet& Allowed()
{
    static VectorSet allowed = ProcessorVectors();
    return allowed;
}

} // namespace

VectorSet ProcessorVectors()
{
    static const VectorSet processor = Detect();
    return processor;
}

void LimitVectors(VectorSet widest) { Allowed() = widest < ProcessorVectors() ? widest : ProcessorVectors(); }

#if defined(__x86_64__) || defined(__i386__)
bool HaveAvx2() { return Allowed() >= VectorSet::Avx2; }
bool HaveAvx512() { return Allowed() >= VectorSet::Avx512; }
#endif

} // namespace platform::ddraw::rows
