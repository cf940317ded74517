// The one pixel view: addresses in bytes, rows as the pixels they hold,
// parts that keep the parent's pitch, and read-only views of writable ones.
#include "common/pixel_view.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <type_traits>
#include <vector>

namespace {

using platform::PixelView;
using platform::ReadOnlyPixelView;
using platform::Rectangle;

TEST(PixelViewTest, RowsAndAddressesFollowThePitchInBytes)
{
    // 3 by 2 pixels of 5-6-5 in rows of 8 bytes: a pitch no multiple of 4 pixels.
    std::vector<uint8_t> bytes(16, 0);
    const PixelView view { bytes.data(), 3, 2, 8, 2 };
    EXPECT_EQ(view.At(2, 1), bytes.data() + 8 + 4);
    EXPECT_EQ(view.Row(1), bytes.data() + 8);
    view.Row<uint16_t>(1)[2] = 0xF81F;
    EXPECT_EQ(bytes[12], 0x1F);
    EXPECT_EQ(bytes[13], 0xF8);
    EXPECT_EQ(view.Bounds(), (Rectangle { 0, 0, 3, 2 }));
    EXPECT_TRUE(view.RowsFit());
    EXPECT_FALSE((PixelView { bytes.data(), 3, 2, 8, 4 }).RowsFit()) << "12 bytes of pixels in rows of 8";
}

TEST(PixelViewTest, ViewsOfWholePixelsAndTheirPartsShareThePitch)
{
    std::vector<uint32_t> pixels(4 * 3);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = uint32_t(i);
    const PixelView whole = PixelView::OfPixels(pixels.data(), 3, 3, 4);
    EXPECT_EQ(whole.pitch, 16);
    EXPECT_EQ(whole.bytesPerPixel, 4);
    const PixelView part = whole.Part(Rectangle { 1, 1, 3, 3 });
    EXPECT_EQ(part.width, 2);
    EXPECT_EQ(part.height, 2);
    EXPECT_EQ(part.pitch, 16);
    EXPECT_EQ(part.Row<uint32_t>(0)[0], 5u);
    EXPECT_EQ(part.Row<uint32_t>(1)[1], 10u);
}

TEST(PixelViewTest, AWritableViewPassesAsAReadOnlyOneButNotTheOtherWay)
{
    std::vector<uint32_t> pixels { 7, 8 };
    const PixelView writable = PixelView::OfPixels(pixels.data(), 2, 1, 2);
    const ReadOnlyPixelView readOnly = writable;
    EXPECT_EQ(readOnly.pixels, writable.pixels);
    EXPECT_EQ(readOnly.pitch, 8);
    EXPECT_EQ(readOnly.Row<uint32_t>(0)[1], 8u);
    static_assert(std::is_same_v<decltype(readOnly.Row<uint32_t>(0)), const uint32_t*>);
    static_assert(!std::is_convertible_v<ReadOnlyPixelView, PixelView>);
}

} // namespace
