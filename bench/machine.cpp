#include "machine.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include "pixels/loop_choice.h"
#include "pixels/store_kinds.h"

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

const char* VectorSetName() { return platform::pixels::VectorSetName(platform::pixels::ChosenLoops(4).set); }

bool UseVectorSet(const std::string& name)
{
    using platform::pixels::VectorSet;
    VectorSet set = VectorSet::Sse2;
    if (name == "avx512")
        set = VectorSet::Avx512;
    else if (name == "avx2")
        set = VectorSet::Avx2;
    else if (name == "portable")
        set = VectorSet::Portable;
    else if (name != "sse2")
        return false;
    return platform::pixels::HoldVectorSet(set);
}

const char* StoreKindName(size_t bytes)
{
    const auto kind = platform::pixels::ChosenStoreKind(bytes);
    return kind ? platform::pixels::StoreKindName(*kind) : "undecided";
}

} // namespace bench
