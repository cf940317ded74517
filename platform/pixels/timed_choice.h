// Choosing among ways of doing the same work by timing them, as the pixel
// loops and the presentations' stores both do: each candidate counts with
// its best time (other work on the machine only ever makes a run slower);
// the first candidate, in order of preference, within kChoiceTolerance of
// the fastest wins, so that noise between near equals does not flip the
// choice; a held candidate is used as it is, untimed; and a choice is tried
// again now and then, ever more rarely, so that one made while the machine
// was busy, or on work unlike the later work, does not stand for good.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace platform::pixels {

inline constexpr double kChoiceTolerance = 0.03;
// A candidate not timed yet: slower than any that was.
inline constexpr double kNotTimed = std::numeric_limits<double>::infinity();

// The best time of each candidate, in order of preference.
class BestTimes {
public:
    explicit BestTimes(size_t candidates = 0)
        : best_(candidates, kNotTimed)
    {
    }

    size_t Count() const { return best_.size(); }
    void Time(size_t candidate, double time)
    {
        if (candidate < best_.size()) best_[candidate] = std::min(best_[candidate], time);
    }
    double Of(size_t candidate) const { return candidate < best_.size() ? best_[candidate] : kNotTimed; }
    // The first candidate within `tolerance` of the fastest; 0 for none.
    size_t Fastest(double tolerance = kChoiceTolerance) const;
    void Clear() { std::fill(best_.begin(), best_.end(), kNotTimed); }

private:
    std::vector<double> best_;
};

// `rounds[r][c]` is candidate c's time in round r: the winner's index.
size_t PickFastest(const std::vector<std::vector<double>>& rounds, double tolerance = kChoiceTolerance);

// When a choice is tried again, counted in events (presentations): first
// at `first`, then each time `growth` times later, and at least
// `leastSpacing` events after the last.
class RetrialSchedule {
public:
    RetrialSchedule(int64_t first, int64_t growth, int64_t leastSpacing = 0)
        : next_(first)
        , growth_(growth)
        , leastSpacing_(leastSpacing)
    {
    }

    int64_t Next() const { return next_; }
    bool Due(int64_t events) const { return events >= next_; }
    // A trial ends (or starts, as the caller counts) at `events`.
    void Tried(int64_t events) { next_ = std::max(events * growth_, events + leastSpacing_); }

private:
    int64_t next_;
    int64_t growth_;
    int64_t leastSpacing_;
};

} // namespace platform::pixels
