// The choice of pixel loops: the decision over timed rounds, which
// candidates a trial takes, and holding the loops to a set or method. What
// a trial measures depends on the machine; what it may choose from does not.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "loop_cases.h"
#include "pixels/loop_choice.h"
#include "pixels/testing_hooks.h"

namespace {

namespace pixels = platform::pixels;

TEST(PickFastestTest, EachCandidateCountsWithItsBestRound)
{
    // Candidate 1 is faster, but one round of it was disturbed; candidate 2
    // was slow in every round.
    const std::vector<std::vector<double>> rounds = { { 10.0, 9.0, 30.0 }, { 10.5, 40.0, 31.0 }, { 10.2, 8.9, 30.5 } };
    EXPECT_EQ(pixels::PickFastest(rounds, 0.03), 1u);
    // Disturbed in all but one round, it still wins by its best.
    const std::vector<std::vector<double>> noisy = { { 10.0, 50.0 }, { 10.1, 60.0 }, { 10.0, 8.0 } };
    EXPECT_EQ(pixels::PickFastest(noisy, 0.03), 1u);
}

TEST(PickFastestTest, NearEqualsGoToTheCandidateAheadInPreference)
{
    // Within the tolerance of the fastest the first listed wins, so that
    // noise between near equals cannot flip the choice, nor a trial held
    // again leave the loops in use for a barely faster one.
    EXPECT_EQ(pixels::PickFastest({ { 10.2, 10.0, 15.0 } }, 0.03), 0u);
    EXPECT_EQ(pixels::PickFastest({ { 10.4, 10.0, 15.0 } }, 0.03), 1u);
    EXPECT_EQ(pixels::PickFastest({ { 15.0, 10.2, 10.0 } }, 0.03), 1u);
    EXPECT_EQ(pixels::PickFastest({ { 7.0 } }, 0.03), 0u);
    EXPECT_EQ(pixels::PickFastest({}, 0.03), 0u);
}

class LoopChoiceTest : public ::testing::Test {
protected:
    void TearDown() override { ReleaseLoops(); }
};

TEST_F(LoopChoiceTest, AnUnheldTrialTimesEverySetThisProcessorHasWithEachMethod)
{
    ReleaseLoops();
    for (int bytes : { 4, 2 }) {
        const pixels::LoopChoice chosen = pixels::ChosenLoops(bytes);
        EXPECT_TRUE(pixels::ProcessorHas(chosen.set));
        const pixels::TrialReport report = pixels::LastTrial(bytes);
        std::vector<pixels::LoopChoice> expected;
        for (pixels::VectorSet set : pixels::kVectorSets) {
            if (set == pixels::VectorSet::Portable
                || pixels::LoopsOf(set, pixels::KeyedStores::Blend, bytes) == nullptr)
                continue;
            if (pixels::HasMaskedStores(set, bytes)) expected.push_back({ set, pixels::KeyedStores::Masked });
            expected.push_back({ set, pixels::KeyedStores::Blend });
        }
        if (expected.size() < 2) {
            // One candidate (or none but the portable loops) is not timed.
            EXPECT_TRUE(report.candidates.empty());
            continue;
        }
        ASSERT_EQ(report.candidates.size(), expected.size()) << bytes << " bytes";
        for (const pixels::LoopChoice& choice : expected)
            EXPECT_TRUE(std::any_of(report.candidates.begin(), report.candidates.end(),
                [&](const pixels::CandidateTime& candidate) { return candidate.choice == choice; }))
                << pixels::VectorSetName(choice.set) << " " << pixels::KeyedStoresName(choice.keyedStores);
        // The choice is the candidate reported fastest, or one within the
        // tolerance of it.
        double fastest = 1e300, chosenTime = 0.0;
        for (const pixels::CandidateTime& candidate : report.candidates) {
            EXPECT_GT(candidate.microseconds, 0.0);
            fastest = std::min(fastest, candidate.microseconds);
            if (candidate.choice == chosen) chosenTime = candidate.microseconds;
        }
        EXPECT_LE(chosenTime, fastest * 1.0301);
        EXPECT_GT(report.milliseconds, 0.0);
    }
}

TEST_F(LoopChoiceTest, HeldLoopsAreTheOnesUsedAndAreNotTimed)
{
    for (pixels::VectorSet set : pixels::kVectorSets) {
        if (!pixels::ProcessorHas(set) || pixels::LoopsOf(set, pixels::KeyedStores::Blend, 4) == nullptr) {
            EXPECT_FALSE(pixels::HoldVectorSet(set));
            continue;
        }
        for (pixels::KeyedStores method : { pixels::KeyedStores::Masked, pixels::KeyedStores::Blend }) {
            ASSERT_TRUE(pixels::HoldVectorSet(set));
            pixels::HoldKeyedStores(method);
            for (int bytes : { 4, 2 }) {
                const pixels::LoopChoice chosen = pixels::ChosenLoops(bytes);
                EXPECT_EQ(chosen.set, set);
                // A set without masked stores for the size blends.
                EXPECT_EQ(
                    chosen.keyedStores, pixels::HasMaskedStores(set, bytes) ? method : pixels::KeyedStores::Blend);
                EXPECT_TRUE(pixels::LastTrial(bytes).candidates.empty());
                EXPECT_EQ(&pixels::Loops(bytes), pixels::LoopsOf(set, method, bytes));
            }
        }
    }
    // A set held alone leaves the method to the trial.
    ASSERT_TRUE(pixels::HoldVectorSet(pixels::VectorSet::Portable));
    pixels::HoldKeyedStores(std::nullopt);
    EXPECT_EQ(pixels::ChosenLoops(4).set, pixels::VectorSet::Portable);
}

} // namespace
