// Pictures copied into larger ones as square blocks of whole pixels.
#include "host/scaled_copy.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

namespace {

using platform::PixelView;
using platform::ReadOnlyPixelView;
using platform::host::CopyScaled;

constexpr uint32_t kUntouched = 0xDEADBEEF;

// A 3 by 2 picture of distinct pixels in a row pitch of 4.
struct Picture {
    std::vector<uint32_t> pixels { 1, 2, 3, 99, 4, 5, 6, 99 };
    ReadOnlyPixelView View() const { return ReadOnlyPixelView::OfPixels(pixels.data(), 3, 2, 4); }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * 4 + size_t(x)]; }
};

struct Target {
    int width;
    int height;
    int pitch;
    std::vector<uint32_t> pixels;
    Target(int w, int h, int p)
        : width(w)
        , height(h)
        , pitch(p)
        , pixels(size_t(p) * size_t(h), kUntouched)
    {
    }
    PixelView View() { return PixelView::OfPixels(pixels.data(), width, height, pitch); }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(pitch) + size_t(x)]; }
};

// Every target pixel is the picture pixel it covers, or untouched where the
// scaled picture does not reach.
void ExpectBlocks(const Picture& picture, const Target& target, int factor, int x, int y)
{
    for (int ty = 0; ty < target.height; ++ty)
        for (int tx = 0; tx < target.pitch; ++tx) {
            const int px = tx - x;
            const int py = ty - y;
            const bool covered = tx < target.width && px >= 0 && py >= 0 && px < 3 * factor && py < 2 * factor;
            const uint32_t expected = covered ? picture.At(px / factor, py / factor) : kUntouched;
            ASSERT_EQ(target.At(tx, ty), expected) << "at " << tx << "," << ty;
        }
}

TEST(ScaledCopy, EachPixelBecomesASquareBlock)
{
    const Picture picture;
    for (int factor : { 1, 2, 3 }) {
        Target target(3 * factor + 4, 2 * factor + 3, 3 * factor + 6);
        CopyScaled(picture.View(), factor, target.View(), 2, 1);
        ExpectBlocks(picture, target, factor, 2, 1);
    }
}

TEST(ScaledCopy, OnlyWhatLiesInsideTheTargetIsWritten)
{
    const Picture picture;
    // Hanging over every edge: left and top cut mid-block, right and bottom too.
    for (const auto& [x, y] : { std::pair { -3, -1 }, { 4, 3 }, { -5, 2 }, { 1, -5 } }) {
        Target target(6, 5, 8);
        CopyScaled(picture.View(), 3, target.View(), x, y);
        ExpectBlocks(picture, target, 3, x, y);
    }
    Target away(4, 4, 4);
    CopyScaled(picture.View(), 2, away.View(), 4, 0);
    CopyScaled(picture.View(), 2, away.View(), -6, 0);
    CopyScaled(picture.View(), 2, away.View(), 0, -4);
    ExpectBlocks(picture, away, 2, 100, 100);
}

TEST(ScaledCopy, NonsenseWritesNothing)
{
    const Picture picture;
    Target target(8, 8, 8);
    CopyScaled(picture.View(), 0, target.View(), 0, 0);
    CopyScaled(picture.View(), -2, target.View(), 0, 0);
    CopyScaled(
        ReadOnlyPixelView::OfPixels(picture.pixels.data(), 3, 2, 2), 2, target.View(), 0, 0); // pitch below width
    CopyScaled(ReadOnlyPixelView::OfPixels<const uint32_t>(nullptr, 3, 2, 4), 2, target.View(), 0, 0);
    CopyScaled(ReadOnlyPixelView::OfPixels(picture.pixels.data(), 0, 2, 4), 2, target.View(), 0, 0);
    ExpectBlocks(picture, target, 1, 100, 100);
    // Far-off positions and a huge factor do not overflow into the target.
    CopyScaled(picture.View(), 1 << 30, target.View(), INT_MAX, INT_MIN);
    CopyScaled(picture.View(), 1 << 30, target.View(), INT_MIN, INT_MIN);
    ExpectBlocks(picture, target, 1, 100, 100);
}

} // namespace
