#include "frame_timing.h"

#include "pixels/presentation_stores.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Frames until `seconds` have passed, at least one; returns ms per frame.
double RunFor(const std::function<void()>& frame, double seconds)
{
    const Clock::time_point start = Clock::now();
    int64_t frames = 0;
    double elapsed = 0.0;
    do {
        frame();
        ++frames;
        elapsed = SecondsSince(start);
    } while (elapsed < seconds);
    return elapsed * 1000.0 / double(frames);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// Bytes per second `copy` moves between two buffers that together take
// `workingSetBytes`: the best of a few rounds, since a floor is what the
// machine can do at its best.
double BestBandwidth(
    uint64_t workingSetBytes, double seconds, const std::function<void(uint8_t*, const uint8_t*, size_t)>& copy)
{
    const size_t half = std::max<size_t>(size_t(workingSetBytes / 2), 4096) / 64 * 64;
    std::vector<uint8_t> from(half, 0x5A), to(half, 0);
    double best = 0.0;
    constexpr int kRounds = 5;
    for (int round = 0; round < kRounds; ++round) {
        const Clock::time_point start = Clock::now();
        int64_t copies = 0;
        double elapsed = 0.0;
        do {
            copy(to.data(), from.data(), half);
            // Keep the compiler from dropping copies nobody reads.
            from[size_t(copies) % half] ^= to[(size_t(copies) * 7) % half];
            ++copies;
            elapsed = SecondsSince(start);
        } while (elapsed < seconds / kRounds);
        best = std::max(best, 2.0 * double(half) * double(copies) / elapsed);
    }
    return best;
}

} // namespace

double MedianMillisecondsPerFrame(const std::function<void()>& frame, const TimingPlan& plan)
{
    RunFor(frame, plan.warmUpSeconds);
    std::vector<double> results;
    for (int repeat = 0; repeat < std::max(plan.repeats, 1); ++repeat)
        results.push_back(RunFor(frame, plan.secondsPerRepeat));
    return Median(results);
}

double CopyBandwidth(uint64_t workingSetBytes, double seconds)
{
    return BestBandwidth(
        workingSetBytes, seconds, [](uint8_t* to, const uint8_t* from, size_t bytes) { std::memcpy(to, from, bytes); });
}

double CopyBandwidthAsPresented(uint64_t workingSetBytes, double seconds, size_t presentedBytes)
{
    namespace pixels = platform::pixels;
    const pixels::PresentationStores kind
        = pixels::ChosenPresentationStores(presentedBytes).value_or(pixels::PresentationStores::Ordinary);
    return BestBandwidth(workingSetBytes, seconds, [kind](uint8_t* to, const uint8_t* from, size_t bytes) {
        pixels::CopyRowWith(kind, to, from, int64_t(bytes / 4), 4, 0xFFFFFFFFu);
        pixels::FinishStores(kind);
    });
}

double FloorMilliseconds(uint64_t bytes, double bytesPerSecond)
{
    return bytesPerSecond > 0.0 ? double(bytes) / bytesPerSecond * 1000.0 : 0.0;
}

} // namespace bench
