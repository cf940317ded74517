// Timing of repeated frames and of plain memory copies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace bench {

struct TimingPlan {
    double warmUpSeconds = 0.25;
    double secondsPerRepeat = 1.0;
    int repeats = 5;
};

// Median over the repeats of the milliseconds one call of `frame` takes;
// each repeat runs whole frames until its time is spent.
double MedianMillisecondsPerFrame(const std::function<void()>& frame, const TimingPlan& plan);

// Bytes per second that memcpy moves (read plus written) between two
// buffers that together take `workingSetBytes`: the best of a few rounds,
// since the floor is what the machine can do at its best.
double CopyBandwidth(uint64_t workingSetBytes, double seconds);

// The same, the copy writing with the store kind the program's
// presentation of `presentedBytes` settled on.
double CopyBandwidthAsPresented(uint64_t workingSetBytes, double seconds, size_t presentedBytes);

// Milliseconds that moving `bytes` takes at `bytesPerSecond`.
double FloorMilliseconds(uint64_t bytes, double bytesPerSecond);

} // namespace bench
