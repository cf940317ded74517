// The bookkeeping of two images shown in turn: whatever is drawn, each
// picture drawn lands on an image that holds everything shown before.
#include "host/image_pair.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "random_rectangles.h"

namespace {

using platform::Rectangle;

using platform::host::ImagePair;

TEST(ImagePairTest, TurnsAfterEachShownPictureAndCatchesUpOnWhatTheOtherShowed)
{
    ImagePair pair;
    Rectangle catchUp { 1, 1, 2, 2 };
    EXPECT_EQ(pair.Acquire(Rectangle {}, catchUp), 0);
    EXPECT_TRUE(catchUp.IsEmpty()) << "both images start alike";
    EXPECT_EQ(pair.Shown(Rectangle { 0, 0, 10, 5 }), 0);

    EXPECT_EQ(pair.Acquire(Rectangle {}, catchUp), 1);
    EXPECT_EQ(catchUp.right, 10);
    EXPECT_EQ(catchUp.bottom, 5);
    EXPECT_EQ(pair.Shown(Rectangle { 2, 2, 4, 4 }), 1);

    // Caught up before: image 0 lags only by what image 1 showed since.
    EXPECT_EQ(pair.Acquire(Rectangle { 0, 0, 3, 3 }, catchUp), 0);
    EXPECT_EQ(catchUp.left, 2);
    EXPECT_EQ(catchUp.right, 4);
    // Nothing shown, no turn; a second acquire finds nothing to catch up.
    EXPECT_EQ(pair.Shown(Rectangle { 5, 5, 5, 9 }), 0);
    EXPECT_EQ(pair.Acquire(Rectangle {}, catchUp), 0);
    EXPECT_TRUE(catchUp.IsEmpty());
    EXPECT_EQ(pair.Shown(Rectangle { 0, 0, 8, 8 }), 0);
    EXPECT_EQ(pair.Shown(Rectangle { 0, 0, 8, 8 }), -1) << "shown twice without drawing";

    // What is about to be written whole needs no catching up.
    EXPECT_EQ(pair.Acquire(Rectangle { 0, 0, 8, 8 }, catchUp), 1);
    EXPECT_TRUE(catchUp.IsEmpty());

    pair.Reset();
    EXPECT_EQ(pair.Acquire(Rectangle {}, catchUp), 0);
    EXPECT_TRUE(catchUp.IsEmpty());
}

// Two images drawn as a host would: pictures of every shape, some writing
// all they promised, some (keyed copies) a part of what they touch.
TEST(ImagePairTest, EveryImageDrawnIntoHoldsTheLatestPictureOutsideWhatIsOverwritten)
{
    constexpr int kWidth = 23, kHeight = 17;
    std::vector<uint32_t> images[2]
        = { std::vector<uint32_t>(kWidth * kHeight), std::vector<uint32_t>(kWidth * kHeight) };
    std::vector<uint32_t> latest(kWidth * kHeight);
    std::mt19937 random(14);
    auto below = [&](int n) { return RandomBelow(random, n); };
    auto anyRect = [&] { return RandomRectangleIn(random, kWidth, kHeight); };

    ImagePair pair;
    for (uint32_t picture = 1; picture <= 2000; ++picture) {
        // Now and then an image is only read.
        const bool read = below(10) == 0;
        const bool opaque = below(3) != 0;
        const Rectangle drawn = anyRect();
        const Rectangle overwritten = opaque && !read ? drawn : Rectangle {};
        Rectangle catchUp {};
        const int index = pair.Acquire(overwritten, catchUp);
        std::vector<uint32_t>& image = images[index];
        const std::vector<uint32_t>& other = images[1 - index];
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (catchUp.Contains(x, y)) image[size_t(y * kWidth + x)] = other[size_t(y * kWidth + x)];
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                if (overwritten.Contains(x, y)) continue;
                ASSERT_EQ(image[size_t(y * kWidth + x)], latest[size_t(y * kWidth + x)])
                    << "picture " << picture << " at " << x << ", " << y;
            }
        if (read) continue;
        // Opaque pictures write every pixel of their rectangle, keyed ones
        // every other pixel.
        for (int y = int(drawn.top); y < drawn.bottom; ++y)
            for (int x = int(drawn.left); x < drawn.right; ++x)
                if (opaque || (x + y) % 2 == 0)
                    image[size_t(y * kWidth + x)] = latest[size_t(y * kWidth + x)] = picture;
        pair.Shown(drawn);
    }
}

} // namespace
