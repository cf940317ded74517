// The vector row loops and the stretch against plain per-pixel rules, at
// every width around the vector sizes, with guard pixels on both sides.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "common/rgb565.h"
#include "ddraw/surface.h"
#include "pixels/blitters.h"
#include "pixels/presentation_stores.h"

#include "loop_cases.h"

namespace {

namespace ddraw = platform::ddraw;
namespace pixels = platform::pixels;

constexpr int kGuard = 9; // pixels before and after each row
constexpr int kMaxWidth = 41;

template <typename Pixel> std::vector<Pixel> Pattern(size_t count, uint32_t seed, const std::vector<Pixel>& keys)
{
    std::mt19937 random(seed);
    std::vector<Pixel> pixels(count);
    for (Pixel& pixel : pixels)
        pixel = random() % 3 == 0 ? keys[random() % keys.size()] : static_cast<Pixel>(random());
    return pixels;
}

// Rows start one byte past a pixel boundary: nothing may assume alignment.
template <typename Pixel> struct Row {
    std::vector<uint8_t> bytes;
    explicit Row(const std::vector<Pixel>& pixels)
        : bytes(pixels.size() * sizeof(Pixel) + 1)
    {
        std::memcpy(bytes.data() + 1, pixels.data(), pixels.size() * sizeof(Pixel));
    }
    uint8_t* At(int pixel) { return bytes.data() + 1 + pixel * int(sizeof(Pixel)); }
    Pixel Get(int pixel) const
    {
        Pixel value;
        std::memcpy(&value, bytes.data() + 1 + pixel * int(sizeof(Pixel)), sizeof(Pixel));
        return value;
    }
};

class KeyedRowsTest : public LoopsTest { };
INSTANTIATE_FOR_EVERY_LOOP_CASE(KeyedRowsTest);

// Fills, masked copies, streaming stores and stretches, each in every
// vector set too.
class RowLoopsTest : public LoopsTest { };
INSTANTIATE_FOR_EVERY_LOOP_CASE(RowLoopsTest);

TEST_P(KeyedRowsTest, Keyed32SkipsExactlyTheKeyRangeAtEveryWidth)
{
    struct Case {
        uint32_t low, range, keep;
    };
    const Case cases[] = { { 0x00FF00FFu, 0, 0xFFFFFFFFu }, { 0x00FF00FFu, 0, 0x00FFFFFFu }, { 0x100u, 0x40u, ~0u },
        { 0xFFFFFFF0u, 0xFu, ~0u }, { 0u, 0u, ~0u }, { 0x7FFFFFF8u, 0x10u, ~0u } };
    for (const Case& test : cases)
        for (int width = 0; width <= kMaxWidth; ++width) {
            const std::vector<uint32_t> keys
                = { test.low, test.low + test.range, test.low - 1, test.low + test.range + 1 };
            const std::vector<uint32_t> sourcePixels = Pattern<uint32_t>(width + 2 * kGuard, width * 7 + 1, keys);
            const std::vector<uint32_t> targetPixels = Pattern<uint32_t>(width + 2 * kGuard, width * 7 + 2, keys);
            Row<uint32_t> source(sourcePixels), target(targetPixels);
            Held(4).copyKeyed(
                { target.At(kGuard), 0, source.At(kGuard), 0, width, 1 }, { test.low, test.range }, test.keep);
            for (int x = 0; x < width + 2 * kGuard; ++x) {
                const bool inside = x >= kGuard && x < kGuard + width;
                const uint32_t value = sourcePixels[x];
                const bool keyed = value - test.low <= test.range;
                const uint32_t expected = inside && !keyed ? (value & test.keep) : targetPixels[x];
                ASSERT_EQ(target.Get(x), expected) << "width " << width << " pixel " << x << " key " << test.low;
            }
        }
}

TEST_P(KeyedRowsTest, Keyed16SkipsExactlyTheKeyRangeAtEveryWidth)
{
    struct Case {
        uint32_t low, range;
    };
    // { 0x7FF8, 0x10 } crosses the top bit; the last two reach past 16 bits,
    // where only the low end can match.
    const Case cases[] = { { 0xF81Fu, 0 }, { 0x0000u, 0 }, { 0x1000u, 0x0FFFu }, { 0x7FF8u, 0x10u }, { 0xFFF0u, 0x20u },
        { 0x1F81Fu, 0 } };
    for (const Case& test : cases)
        for (int width = 0; width <= kMaxWidth; ++width) {
            const std::vector<uint16_t> keys
                = { uint16_t(test.low), uint16_t(test.low + test.range), uint16_t(test.low - 1), 0xFFFF };
            const std::vector<uint16_t> sourcePixels = Pattern<uint16_t>(width + 2 * kGuard, width * 5 + 3, keys);
            const std::vector<uint16_t> targetPixels = Pattern<uint16_t>(width + 2 * kGuard, width * 5 + 4, keys);
            Row<uint16_t> source(sourcePixels), target(targetPixels);
            Held(2).copyKeyed({ target.At(kGuard), 0, source.At(kGuard), 0, width, 1 }, { test.low, test.range }, ~0u);
            for (int x = 0; x < width + 2 * kGuard; ++x) {
                const bool inside = x >= kGuard && x < kGuard + width;
                const bool keyed = uint32_t(sourcePixels[x]) - test.low <= test.range;
                const uint16_t expected = inside && !keyed ? sourcePixels[x] : targetPixels[x];
                ASSERT_EQ(target.Get(x), expected) << "width " << width << " pixel " << x << " key " << test.low;
            }
        }
}

// Rows of a rectangle are as far apart as each raster's pitch says, and
// nothing between them is touched.
TEST_P(KeyedRowsTest, KeyedRectanglesFollowEachPitch)
{
    // Columns run four rows a step: 9 rows leave one over.
    constexpr int kHeight = 9, kSourcePitch = 23, kTargetPitch = 27;
    for (int width : { 1, 2, 13, 19 })
        for (int bytes : { 2, 4 }) {
            std::vector<uint8_t> source(size_t(kSourcePitch) * kHeight * bytes),
                target(size_t(kTargetPitch) * kHeight * bytes);
            for (size_t i = 0; i < source.size(); ++i)
                source[i] = uint8_t(i * 37 + 1);
            for (size_t i = 0; i < target.size(); ++i)
                target[i] = uint8_t(i * 11 + 5);
            const std::vector<uint8_t> before = target;
            // No source pixel has the key value 1: every pixel moves.
            const pixels::RowArea area { target.data(), kTargetPitch * bytes, source.data(), kSourcePitch * bytes,
                width, kHeight };
            Held(bytes).copyKeyed(area, { 1, 0 }, ~0u);
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kTargetPitch * bytes; ++x) {
                    const size_t at = size_t(y) * kTargetPitch * bytes + size_t(x);
                    const uint8_t expected
                        = x < width * bytes ? source[size_t(y) * kSourcePitch * bytes + size_t(x)] : before[at];
                    ASSERT_EQ(target[at], expected)
                        << width << " wide, " << bytes << " bytes, row " << y << ", byte " << x;
                }
        }
}

// Every width around the vector sizes, and long rows of several whole
// vectors of every set.
std::vector<int> RowWidths()
{
    std::vector<int> widths;
    for (int width = 0; width <= kMaxWidth; ++width)
        widths.push_back(width);
    for (int width : { 63, 64, 65, 127, 128, 129, 301 })
        widths.push_back(width);
    return widths;
}

TEST_P(RowLoopsTest, FillsAndMaskedCopiesStayInsideTheRow)
{
    for (int width : RowWidths()) {
        const std::vector<uint32_t> before = Pattern<uint32_t>(width + 2 * kGuard, width + 11, { 0u });
        for (uint32_t value : { 0u, 0x12345678u, 0xFFFFFFFFu }) {
            Row<uint32_t> target(before);
            Held(4).fill(target.At(kGuard), width, value);
            for (int x = 0; x < width + 2 * kGuard; ++x)
                ASSERT_EQ(target.Get(x), x >= kGuard && x < kGuard + width ? value : before[x]) << width;
        }
        const std::vector<uint16_t> before16 = Pattern<uint16_t>(width + 2 * kGuard, width + 12, { 0 });
        for (uint16_t value : { uint16_t(0), uint16_t(0xF81F), uint16_t(0x7777) }) {
            Row<uint16_t> target(before16);
            Held(2).fill(target.At(kGuard), width, value);
            for (int x = 0; x < width + 2 * kGuard; ++x)
                ASSERT_EQ(target.Get(x), x >= kGuard && x < kGuard + width ? value : before16[x]) << width;
        }
        const std::vector<uint32_t> sourcePixels = Pattern<uint32_t>(width + 2 * kGuard, width + 13, { 0u });
        Row<uint32_t> source(sourcePixels), target(before);
        Held(4).copyMasked(target.At(kGuard), source.At(kGuard), width, 0x00FFFFFFu);
        for (int x = 0; x < width + 2 * kGuard; ++x)
            ASSERT_EQ(target.Get(x), x >= kGuard && x < kGuard + width ? (sourcePixels[x] & 0x00FFFFFFu) : before[x])
                << width;
    }
}

// Rows starting at every offset from a 64-byte line: streaming stores
// write from the first aligned address on, the ordinary ones before it
// and after the last whole vector.
TEST_P(RowLoopsTest, StreamingStoresWriteTheRowAndNothingElse)
{
    for (int bytes : { 2, 4 })
        for (int offset = 0; offset < 64; offset += bytes == 2 ? 6 : 4)
            for (int width : { 0, 1, 3, 7, 8, 15, 16, 17, 31, 33, 63, 64, 65, 100 }) {
                const int pixelsNeeded = width + 2 * kGuard + 64;
                std::vector<uint8_t> in(size_t(pixelsNeeded) * 4 + 128), out(in.size());
                for (size_t i = 0; i < in.size(); ++i) {
                    in[i] = uint8_t(i * 29 + 7);
                    out[i] = uint8_t(i * 13 + 1);
                }
                const std::vector<uint8_t> before = out;
                // Both rows start `offset` bytes past a 64-byte line.
                auto start = [&](std::vector<uint8_t>& bytesOf) {
                    uint8_t* base = bytesOf.data() + (64 - reinterpret_cast<uintptr_t>(bytesOf.data()) % 64) % 64;
                    return base + offset + kGuard * bytes;
                };
                uint8_t* row = start(out);
                const uint8_t* from = start(in);
                const size_t at = size_t(row - out.data());
                Held(bytes).streamCopy(row, from, width, 0x00FFFFFFu);
                pixels::FinishStores(pixels::PresentationStores::Streaming);
                for (size_t i = 0; i < out.size(); ++i) {
                    const bool inside = i >= at && i < at + size_t(width * bytes);
                    uint8_t expected = before[i];
                    if (inside) expected = (bytes == 4 && (i - at) % 4 == 3) ? 0 : from[i - at];
                    ASSERT_EQ(out[i], expected) << bytes << " bytes, offset " << offset << ", width " << width;
                }
                out = before;
                Held(bytes).streamFill(row, width, 0xA1B2C3D4u);
                pixels::FinishStores(pixels::PresentationStores::Streaming);
                const uint8_t value[4] = { 0xD4, 0xC3, 0xB2, 0xA1 };
                for (size_t i = 0; i < out.size(); ++i) {
                    const bool inside = i >= at && i < at + size_t(width * bytes);
                    ASSERT_EQ(out[i], inside ? value[(i - at) % size_t(bytes)] : before[i])
                        << bytes << " bytes, offset " << offset << ", width " << width;
                }
            }
}

// Source columns picked for a row of a stretch: near neighbours (a
// magnification, each repeated), far apart ones (a reduction), at every
// count around the vector sizes.
TEST_P(RowLoopsTest, PickedColumnsAreTheSourceColumnsAsked)
{
    std::vector<uint32_t> source(2000);
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = uint32_t(i) * 2654435761u;
    for (int step : { 1, 3, 7, 40 })
        for (int count = 0; count <= kMaxWidth; ++count) {
            std::vector<int32_t> columns(static_cast<size_t>(count));
            for (int i = 0; i < count; ++i)
                columns[size_t(i)] = step == 1 ? 5 + i / 3 : 11 + i * step;
            for (int bytes : { 2, 4 }) {
                const std::vector<uint32_t> before = Pattern<uint32_t>(size_t(count) + 2 * kGuard, count + 21, { 0u });
                Row<uint32_t> target(before);
                uint8_t* out = bytes == 4 ? target.At(kGuard) : target.At(0) + kGuard * 2;
                Held(bytes).pickColumns(
                    out, reinterpret_cast<const uint8_t*>(source.data()), columns.data(), count, 0x00FFFFFFu);
                for (int i = 0; i < count; ++i) {
                    uint32_t expected = source[size_t(columns[size_t(i)])];
                    if (bytes == 2)
                        expected = pixels::Load<uint16_t>(
                            reinterpret_cast<const uint8_t*>(source.data()) + columns[size_t(i)] * 2);
                    else
                        expected &= 0x00FFFFFFu;
                    uint32_t got = 0;
                    std::memcpy(&got, out + i * bytes, size_t(bytes));
                    ASSERT_EQ(got, expected) << "step " << step << ", count " << count << ", column " << i;
                }
                // Nothing after the row changed.
                uint8_t* after = out + count * bytes;
                const uint8_t* was = reinterpret_cast<const uint8_t*>(before.data()) + (after - target.At(0));
                ASSERT_EQ(std::memcmp(after, was, size_t(kGuard) * 2), 0) << "step " << step << ", count " << count;
            }
        }
}

TEST(PixelRowsTest, Widen565AgreesWithThePixelRuleForEveryValue)
{
    std::vector<uint16_t> all(65536 + 3);
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = uint16_t(i);
    Row<uint16_t> source(all);
    std::vector<uint32_t> widened(all.size() + 1, 0xDEADBEEFu);
    platform::rgb565::WidenRow(widened.data(), source.At(0), int64_t(all.size()));
    for (size_t i = 0; i < all.size(); ++i)
        ASSERT_EQ(widened[i], platform::rgb565::ToXrgb(all[i])) << i;
    EXPECT_EQ(widened.back(), 0xDEADBEEFu);
}

// Wide enough for several column chunks, scaled by uneven factors up and
// down (neighbouring pixels picked, and far apart ones), and cut by a
// visible part that starts inside the destination.
TEST_P(RowLoopsTest, StretchPicksTheNearestSourcePixelAcrossChunksAndRepeatedRows)
{
    constexpr int kSourceWidth = 5300, kSourceHeight = 7;
    std::vector<uint32_t> sourcePixels(size_t(kSourceWidth) * kSourceHeight);
    for (size_t i = 0; i < sourcePixels.size(); ++i)
        sourcePixels[i] = uint32_t(i) * 2654435761u;
    const platform::PixelView source { reinterpret_cast<uint8_t*>(sourcePixels.data()), kSourceWidth, kSourceHeight,
        kSourceWidth * 4, 4 };
    constexpr int kTargetWidth = 2300, kTargetHeight = 40;
    struct Scale {
        platform::Rectangle sourceRect;
        uint32_t keepBits;
    };
    const Scale scales[] = { { { 2, 1, 51, 6 }, 0x00FFFFFFu }, { { 7, 0, 5207, 7 }, 0xFFFFFFFFu } };
    for (const Scale& scale : scales) {
        std::vector<uint32_t> targetPixels(size_t(kTargetWidth) * kTargetHeight, 0x01010101u);
        const platform::PixelView target { reinterpret_cast<uint8_t*>(targetPixels.data()), kTargetWidth, kTargetHeight,
            kTargetWidth * 4, 4 };
        const platform::Rectangle& sourceRect = scale.sourceRect;
        const platform::Rectangle destination { -30, -3, 2260, 37 }; // 2290 by 40
        const platform::Rectangle visible { 0, 0, 2255, 37 };
        pixels::StretchPixels(target, destination, visible, source, sourceRect, scale.keepBits);
        for (int y = 0; y < kTargetHeight; ++y)
            for (int x = 0; x < kTargetWidth; ++x) {
                uint32_t expected = 0x01010101u;
                if (x < visible.right && y < visible.bottom) {
                    const int64_t sx
                        = sourceRect.left + (x - destination.left) * sourceRect.Width() / destination.Width();
                    const int64_t sy
                        = sourceRect.top + (y - destination.top) * sourceRect.Height() / destination.Height();
                    expected = sourcePixels[size_t(sy) * kSourceWidth + size_t(sx)] & scale.keepBits;
                }
                ASSERT_EQ(targetPixels[size_t(y) * kTargetWidth + x], expected) << x << ", " << y;
            }
    }
}

// A column of pixels must spread over the cache: no row pitch of a wide
// surface may be a multiple of two cache lines.
TEST(PixelRowsTest, WideRowsAreNeverAnEvenNumberOfCacheLinesApart)
{
    for (int bytesPerPixel : { 2, 4 })
        for (int width = 1; width <= 4096; ++width) {
            const int pitch = ddraw::RowPitch(width, bytesPerPixel);
            ASSERT_GE(pitch, width * bytesPerPixel);
            ASSERT_EQ(pitch % 4, 0);
            ASSERT_LE(pitch, width * bytesPerPixel + 67);
            if (pitch >= 512) {
                ASSERT_NE(pitch % 128, 0) << width << " pixels of " << bytesPerPixel;
            }
        }
}

} // namespace
