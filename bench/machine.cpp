#include "machine.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include "pixels/loop_choice.h"
#include "pixels/presentation_stores.h"
#include "pixels/testing_hooks.h"

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

const char* VectorSetName(int bytesPerPixel)
{
    return platform::pixels::VectorSetName(platform::pixels::ChosenLoops(bytesPerPixel).set);
}

const char* KeyedStoresName(int bytesPerPixel)
{
    return platform::pixels::KeyedStoresName(platform::pixels::ChosenLoops(bytesPerPixel).keyedStores);
}

std::string ChosenMethods()
{
    namespace pixels = platform::pixels;
    std::string text = "loops ";
    double trialMs = 0.0;
    for (int bytes : { 4, 2 }) {
        text += std::string(VectorSetName(bytes)) + " " + KeyedStoresName(bytes)
            + (bytes == 4 ? " (32-bit), " : " (16-bit)");
        trialMs += pixels::LastTrial(bytes).milliseconds;
    }
    if (pixels::HeldVectorSet() || pixels::HeldKeyedStores()) text += ", held";
    char trial[64];
    std::snprintf(trial, sizeof(trial), " after %.1f ms of trials", trialMs);
    text += trial;
    text += std::string("; presentation stores ") + ChosenPresentationStoresName(640 * 480 * 4) + " (window32), "
        + ChosenPresentationStoresName(640 * 480 * 2) + " (full16)";
    if (pixels::HeldPresentationStores()) text += ", held";
    return text;
}

std::string LoopTrialTimes()
{
    namespace pixels = platform::pixels;
    std::string text;
    for (int bytes : { 4, 2 }) {
        const pixels::TrialReport report = pixels::LastTrial(bytes);
        text += bytes == 4 ? "32-bit:" : "; 16-bit:";
        if (report.candidates.empty()) text += " (one candidate, not timed)";
        for (const pixels::CandidateTime& candidate : report.candidates) {
            char entry[64];
            std::snprintf(entry, sizeof(entry), " %s %s %.1f", pixels::VectorSetName(candidate.choice.set),
                pixels::KeyedStoresName(candidate.choice.keyedStores), candidate.microseconds);
            text += entry;
        }
    }
    return text + " (microseconds a pass, the best round)";
}

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

bool UseStoreMethod(const std::string& name)
{
    using platform::pixels::KeyedStores;
    if (name != "masked" && name != "blend") return false;
    platform::pixels::HoldKeyedStores(name == "masked" ? KeyedStores::Masked : KeyedStores::Blend);
    return true;
}

bool UsePresentationStores(const std::string& name)
{
    using platform::pixels::PresentationStores;
    if (name != "ordinary" && name != "streaming") return false;
    platform::pixels::HoldPresentationStores(
        name == "streaming" ? PresentationStores::Streaming : PresentationStores::Ordinary);
    return true;
}

const char* ChosenPresentationStoresName(size_t bytes)
{
    const auto kind = platform::pixels::ChosenPresentationStores(bytes);
    return kind ? platform::pixels::PresentationStoresName(*kind) : "undecided";
}

} // namespace bench
