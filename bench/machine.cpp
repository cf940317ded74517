#include "machine.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include "ddraw/store_kinds.h"
#include "ddraw/vector_sets.h"

namespace bench {

namespace {

// What the system calls the processor ("model name" in /proc/cpuinfo), which
// may differ from what the processor says of itself.
std::string SystemName()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line))
        if (line.rfind("model name", 0) == 0) {
            const size_t colon = line.find(':');
            return colon == std::string::npos ? std::string() : line.substr(line.find_first_not_of(" \t", colon + 1));
        }
    return {};
}

std::string OwnName()
{
#if defined(__x86_64__) || defined(__i386__)
    unsigned int highest = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(0x80000000u, &highest, &ebx, &ecx, &edx) == 0 || highest < 0x80000004u) return "unknown";
    char brand[49] = {};
    for (unsigned int leaf = 0; leaf < 3; ++leaf) {
        unsigned int registers[4] = {};
        __get_cpuid(0x80000002u + leaf, &registers[0], &registers[1], &registers[2], &registers[3]);
        std::memcpy(brand + leaf * 16, registers, sizeof(registers));
    }
    unsigned int signature = 0;
    __get_cpuid(1, &signature, &ebx, &ecx, &edx);
    const unsigned int baseFamily = (signature >> 8) & 0xF, baseModel = (signature >> 4) & 0xF;
    const unsigned int family = baseFamily == 0xF ? baseFamily + ((signature >> 20) & 0xFF) : baseFamily;
    const unsigned int model
        = baseFamily == 0x6 || baseFamily == 0xF ? baseModel | (((signature >> 16) & 0xF) << 4) : baseModel;
    std::string name(brand);
    const size_t first = name.find_first_not_of(' '), last = name.find_last_not_of(' ');
    name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
    char numbers[48];
    std::snprintf(numbers, sizeof(numbers), "family %u, model %u", family, model);
    return name.empty() ? numbers : name + ", " + numbers;
#else
    return {};
#endif
}

} // namespace

std::string ProcessorName()
{
    const std::string system = SystemName(), own = OwnName();
    if (system.empty()) return own.empty() ? "unknown" : own;
    return own.empty() ? system : system + " (" + own + ")";
}

const char* VectorSetName()
{
    if (platform::ddraw::rows::HaveAvx512()) return "AVX-512";
    if (platform::ddraw::rows::HaveAvx2()) return "AVX2";
    return "SSE2";
}

bool UseVectorSet(const std::string& name)
{
    using platform::ddraw::rows::VectorSet;
    VectorSet widest = VectorSet::Sse2;
    if (name == "avx512")
        widest = VectorSet::Avx512;
    else if (name == "avx2")
        widest = VectorSet::Avx2;
    else if (name != "sse2")
        return false;
    if (widest > platform::ddraw::rows::ProcessorVectors()) return false;
    platform::ddraw::rows::LimitVectors(widest);
    return true;
}

const char* StoreKindName(size_t bytes)
{
    const auto kind = platform::ddraw::rows::ChosenStoreKind(bytes);
    if (!kind) return "undecided";
    return *kind == platform::ddraw::rows::StoreKind::Streaming ? "streaming" : "ordinary";
}

} // namespace bench
