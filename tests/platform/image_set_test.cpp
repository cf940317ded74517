// The bookkeeping of images a screen is shown from in turn, as many as the
// screen holds on to: whichever image is drawn into next, once caught up it
// holds everything drawn before.
#include "host/image_set.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "random_rectangles.h"

namespace {

using platform::Rectangle;

using platform::host::ImageSet;

bool Same(const Rectangle& a, const Rectangle& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(ImageSetTest, AnImageCatchesUpOnEverythingChangedSinceItLastHeldTheLatest)
{
    ImageSet images(3);
    EXPECT_EQ(images.Count(), 3);
    EXPECT_TRUE(images.Acquire(0, Rectangle {}).IsEmpty()) << "all alike at first";
    EXPECT_EQ(images.Changed(Rectangle { 0, 0, 10, 5 }), 0);
    EXPECT_EQ(images.Latest(), 0);

    EXPECT_TRUE(Same(images.Acquire(1, Rectangle {}), Rectangle { 0, 0, 10, 5 }));
    EXPECT_EQ(images.Changed(Rectangle { 20, 20, 30, 30 }), 1);
    // Image 2 has missed both pictures; image 0 only the second.
    EXPECT_TRUE(Same(images.Acquire(2, Rectangle {}), Rectangle { 0, 0, 30, 30 }));
    EXPECT_EQ(images.Changed(Rectangle {}), 2) << "drawn into, nothing changed: caught up, it is the latest";
    EXPECT_EQ(images.Latest(), 2);
    EXPECT_TRUE(Same(images.Acquire(0, Rectangle {}), Rectangle { 20, 20, 30, 30 }));
    // What is about to be overwritten whole needs no catching up.
    images.Changed(Rectangle { 0, 0, 4, 4 });
    EXPECT_TRUE(images.Acquire(1, Rectangle { 0, 0, 8, 8 }).IsEmpty());
    EXPECT_TRUE(images.Acquire(1, Rectangle {}).IsEmpty()) << "acquired once, caught up";
}

TEST(ImageSetTest, ANewImageLagsEverywhereAndNothingOutOfRangeIsAcquired)
{
    ImageSet images(2);
    images.Acquire(0, Rectangle {});
    images.Changed(Rectangle { 1, 1, 2, 2 });
    EXPECT_EQ(images.Add(Rectangle { 0, 0, 64, 48 }), 2);
    EXPECT_TRUE(Same(images.Acquire(2, Rectangle {}), Rectangle { 0, 0, 64, 48 }));
    EXPECT_TRUE(images.Acquire(3, Rectangle {}).IsEmpty());
    EXPECT_EQ(images.Changed(Rectangle { 0, 0, 1, 1 }), -1) << "nothing acquired";
    EXPECT_TRUE(images.Acquire(-1, Rectangle {}).IsEmpty());
    EXPECT_EQ(images.Changed(Rectangle { 0, 0, 1, 1 }), -1);
    EXPECT_EQ(images.Latest(), 0);

    images.Reset(4);
    EXPECT_EQ(images.Count(), 4);
    EXPECT_EQ(images.Latest(), 0);
    EXPECT_TRUE(images.Acquire(3, Rectangle {}).IsEmpty());
    images.Reset(0);
    EXPECT_EQ(images.Count(), 1) << "there is always an image";
}

// Images drawn as the Wayland host draws them: into the latest while the
// screen does not hold it, else into one the screen gave back, else into a
// new one (up to four); the screen takes some pictures and gives images
// back at random.
TEST(ImageSetTest, EveryImageDrawnIntoHoldsTheLatestPictureWhicheverTheScreenHolds)
{
    constexpr int kWidth = 19, kHeight = 13, kMost = 4;
    const Rectangle whole { 0, 0, kWidth, kHeight };
    std::vector<std::vector<uint32_t>> images(2, std::vector<uint32_t>(kWidth * kHeight));
    std::vector<bool> held(2, false);
    std::vector<uint32_t> latest(kWidth * kHeight);
    std::mt19937 random(21);
    auto below = [&](int n) { return RandomBelow(random, n); };
    auto anyRect = [&] { return RandomRectangleIn(random, kWidth, kHeight); };

    ImageSet set(2);
    int added = 0;
    for (uint32_t picture = 1; picture <= 3000; ++picture) {
        for (size_t i = 0; i < held.size(); ++i)
            if (held[i] && below(3) == 0) held[i] = false;
        int image = set.Latest();
        if (held[size_t(image)]) {
            image = -1;
            for (size_t i = 0; i < held.size() && image < 0; ++i)
                if (!held[i]) image = int(i);
        }
        if (image < 0 && set.Count() < kMost) {
            image = set.Add(whole);
            images.emplace_back(size_t(kWidth * kHeight), 0u);
            held.push_back(false);
            ++added;
        }
        if (image < 0) continue; // all held: the host waits for one
        const bool opaque = below(3) != 0;
        const Rectangle drawn = anyRect();
        const Rectangle overwritten = opaque ? drawn : Rectangle {};
        const int source = set.Latest();
        const Rectangle catchUp = set.Acquire(image, overwritten);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (catchUp.Contains(x, y))
                    images[size_t(image)][size_t(y * kWidth + x)] = images[size_t(source)][size_t(y * kWidth + x)];
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                if (overwritten.Contains(x, y)) continue;
                ASSERT_EQ(images[size_t(image)][size_t(y * kWidth + x)], latest[size_t(y * kWidth + x)])
                    << "picture " << picture << " in image " << image << " at " << x << ", " << y;
            }
        for (int y = int(drawn.top); y < drawn.bottom; ++y)
            for (int x = int(drawn.left); x < drawn.right; ++x)
                if (opaque || (x + y) % 2 == 0)
                    images[size_t(image)][size_t(y * kWidth + x)] = latest[size_t(y * kWidth + x)] = picture;
        ASSERT_EQ(set.Changed(drawn), image);
        // The screen takes this picture now and then, and holds its image.
        if (below(2) == 0) held[size_t(image)] = true;
    }
    EXPECT_EQ(added, kMost - 2) << "the screen held enough images at once for all four to be made";
}

} // namespace
