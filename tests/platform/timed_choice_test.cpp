// The one way of choosing by timing, as the loops and the presentations'
// stores use it: best times, the tolerance, and trials held ever more rarely.
#include <gtest/gtest.h>

#include "pixels/timed_choice.h"

namespace {

using platform::pixels::BestTimes;
using platform::pixels::RetrialSchedule;

TEST(TimedChoiceTest, UntimedCandidatesNeverWinOverTimedOnes)
{
    BestTimes times(3);
    EXPECT_EQ(times.Fastest(), 0u) << "with nothing timed the first in preference stands";
    times.Time(2, 5.0);
    EXPECT_EQ(times.Fastest(), 2u);
    times.Time(0, 5.1);
    EXPECT_EQ(times.Fastest(), 0u) << "within the tolerance the one ahead wins";
    times.Time(0, 9.0);
    EXPECT_DOUBLE_EQ(times.Of(0), 5.1) << "a slower run does not count";
    times.Time(7, 1.0); // no such candidate: ignored
    EXPECT_EQ(times.Count(), 3u);
    times.Clear();
    times.Time(1, 3.0);
    EXPECT_EQ(times.Fastest(), 1u);
}

TEST(TimedChoiceTest, TrialsComeEverMoreRarelyAndNeverTooClose)
{
    // As the loops hold theirs: at 1024 presentations, then eight times later.
    RetrialSchedule loops(1024, 8);
    EXPECT_FALSE(loops.Due(1023));
    EXPECT_TRUE(loops.Due(1024));
    loops.Tried(1024);
    EXPECT_EQ(loops.Next(), 8192);

    // As the stores hold theirs: four times later, but at least 1024 on.
    RetrialSchedule stores(8, 4, 1024);
    EXPECT_TRUE(stores.Due(8));
    stores.Tried(72);
    EXPECT_EQ(stores.Next(), 72 + 1024);
    stores.Tried(2000);
    EXPECT_EQ(stores.Next(), 8000);
}

} // namespace
