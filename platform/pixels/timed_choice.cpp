#include "pixels/timed_choice.h"

namespace platform::pixels {

size_t BestTimes::Fastest(double tolerance) const
{
    if (best_.empty()) return 0;
    const double fastest = *std::min_element(best_.begin(), best_.end());
    for (size_t c = 0; c < best_.size(); ++c)
        if (best_[c] <= fastest * (1.0 + tolerance)) return c;
    return 0;
}

size_t PickFastest(const std::vector<std::vector<double>>& rounds, double tolerance)
{
    if (rounds.empty() || rounds.front().empty()) return 0;
    BestTimes best(rounds.front().size());
    for (const std::vector<double>& round : rounds)
        for (size_t c = 0; c < best.Count() && c < round.size(); ++c)
            best.Time(c, round[c]);
    return best.Fastest(tolerance);
}

} // namespace platform::pixels
