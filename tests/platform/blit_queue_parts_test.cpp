// The blit queue's small parts: the spans of a band that opaque blits
// cover, and the run-time trial between the two store kinds.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "compose/covered_spans.h"
#include "pixels/presentation_stores.h"
#include "pixels/testing_hooks.h"

namespace {

namespace compose = platform::compose;
namespace pixels = platform::pixels;

// Columns left .. right - 1 that ForEachUncovered reports, as flags.
std::vector<bool> Uncovered(const compose::CoveredSpans& spans, int left, int right, int width)
{
    std::vector<bool> shown(size_t(width), false);
    int64_t last = left;
    spans.ForEachUncovered(left, right, [&](int64_t from, int64_t to) {
        EXPECT_LE(last, from) << "pieces out of order or overlapping";
        EXPECT_LT(from, to) << "an empty piece";
        for (int64_t x = from; x < to; ++x)
            shown[size_t(x)] = true;
        last = to;
    });
    return shown;
}

TEST(CoveredSpansTest, FewSpansAreKeptExactlyWhateverTheirOrder)
{
    constexpr int kWidth = 200;
    std::mt19937 random(7);
    for (int round = 0; round < 500; ++round) {
        compose::CoveredSpans spans(10, 190);
        std::vector<bool> covered(kWidth, false);
        // Up to four spans: merged or not, they never need more than eight.
        for (int i = 0; i < 1 + int(random() % 4); ++i) {
            const int left = int(random() % kWidth), right = left + int(random() % 40);
            spans.Cover(left, right);
            for (int x = std::max(left, 10); x < std::min(right, 190); ++x)
                covered[size_t(x)] = true;
        }
        const int left = int(random() % kWidth), right = left + int(random() % kWidth);
        const std::vector<bool> shown = Uncovered(spans, left, std::min(right, kWidth), kWidth);
        bool all = true;
        for (int x = 0; x < kWidth; ++x) {
            const bool expected = x >= left && x < right && !covered[size_t(x)];
            ASSERT_EQ(shown[size_t(x)], expected) << "round " << round << ", column " << x;
            if (x >= 10 && x < 190) all = all && covered[size_t(x)];
        }
        ASSERT_EQ(spans.CoversAll(), all) << "round " << round;
    }
}

TEST(CoveredSpansTest, SpansAddedRightToLeftMoveTheOthersAlong)
{
    compose::CoveredSpans spans(0, 200);
    for (int left : { 140, 120, 100, 10, 60 })
        spans.Cover(left, left + 10);
    std::vector<bool> expected(200, true);
    for (int left : { 140, 120, 100, 10, 60 })
        for (int x = left; x < left + 10; ++x)
            expected[size_t(x)] = false;
    EXPECT_EQ(Uncovered(spans, 0, 200, 200), expected);
}

TEST(CoveredSpansTest, TooManySpansOnlyEverShowMore)
{
    // Twenty separate spans: those that do not fit are left out, so some
    // covered columns show, but no column shown as covered is not.
    compose::CoveredSpans spans(0, 400);
    std::vector<bool> covered(400, false);
    for (int i = 0; i < 20; ++i) {
        const int left = (i * 7 % 20) * 20;
        spans.Cover(left, left + 10);
        for (int x = left; x < left + 10; ++x)
            covered[size_t(x)] = true;
    }
    const std::vector<bool> shown = Uncovered(spans, 0, 400, 400);
    int coveredShown = 0;
    for (int x = 0; x < 400; ++x) {
        if (!covered[size_t(x)]) {
            ASSERT_TRUE(shown[size_t(x)]) << x;
        }
        coveredShown += covered[size_t(x)] && shown[size_t(x)];
    }
    EXPECT_GT(coveredShown, 0);
    EXPECT_FALSE(spans.CoversAll());
    // One span over everything still covers all.
    spans.Cover(0, 400);
    EXPECT_TRUE(spans.CoversAll());
}

// The trial is counted in presentations, so its course is the same on any
// machine; only which kind it keeps depends on the machine.
TEST(StoreKindTrialTest, BothKindsAreTriedThenOneIsKept)
{
    pixels::HoldPresentationStores(std::nullopt);
    constexpr size_t kBytes = 1234567; // a size no other test presents
    EXPECT_FALSE(pixels::ChosenPresentationStores(kBytes).has_value());
    int streaming = 0, presentations = 0;
    while (!pixels::ChosenPresentationStores(kBytes) && presentations < 1000) {
        streaming += pixels::StoresForPresentation(kBytes) == pixels::PresentationStores::Streaming;
        ++presentations;
    }
    ASSERT_TRUE(pixels::ChosenPresentationStores(kBytes).has_value());
    EXPECT_LT(presentations, 100);
    // Half the trial's frames, a few settling frames aside.
    EXPECT_GT(streaming, presentations / 3);
    EXPECT_LT(streaming, presentations * 2 / 3);
    // Between trials the kept kind is handed out.
    const pixels::PresentationStores kept = *pixels::ChosenPresentationStores(kBytes);
    for (int i = 0; i < 500; ++i)
        ASSERT_EQ(pixels::StoresForPresentation(kBytes), kept);
    // A held kind is what every presentation gets, of any size.
    pixels::HoldPresentationStores(pixels::PresentationStores::Streaming);
    EXPECT_EQ(pixels::StoresForPresentation(kBytes), pixels::PresentationStores::Streaming);
    EXPECT_EQ(pixels::StoresForPresentation(64), pixels::PresentationStores::Streaming);
    EXPECT_EQ(pixels::ChosenPresentationStores(99), pixels::PresentationStores::Streaming);
    pixels::HoldPresentationStores(std::nullopt);
    EXPECT_EQ(pixels::ChosenPresentationStores(kBytes), kept);
}

} // namespace
