// What every host keeps of the screens it shows, written once beside the
// seam: the memory it lends, the menu-bar strip and the drawing of both
// screens onto a host's own pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "host/shown_screens.h"

namespace {

using platform::PixelView;
using platform::ReadOnlyPixelView;
using platform::Rectangle;

using platform::host::Screen;
using platform::host::ShownScreens;

struct Image {
    int width;
    int height;
    std::vector<uint32_t> pixels;
    Image(int w, int h, uint32_t fill = 0x123456)
        : width(w)
        , height(h)
        , pixels(size_t(w) * size_t(h), fill)
    {
    }
    PixelView Target() { return PixelView::OfPixels(pixels.data(), width, height, width); }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

void FillClient(const PixelView& lent, uint32_t value)
{
    for (int y = 0; y < lent.height; ++y)
        for (int x = 0; x < lent.width; ++x)
            std::memcpy(lent.pixels + ptrdiff_t(y) * lent.pitch + x * 4, &value, 4);
}

TEST(ShownScreensTest, FullScreenMemoryIsLentOnlyWhileFullScreenLastsAndStartsBlack)
{
    ShownScreens screens;
    EXPECT_EQ(screens.Lend(Screen::FullScreen, 4, 3).pixels, nullptr);
    const PixelView client = screens.Lend(Screen::Client, 4, 3);
    ASSERT_NE(client.pixels, nullptr);
    EXPECT_EQ(client.pitch, 16);

    screens.EnterFullScreen(4, 3);
    const PixelView display = screens.Lend(Screen::FullScreen, 4, 3);
    ASSERT_NE(display.pixels, nullptr);
    EXPECT_EQ(display.pitch, 8) << "the display's 5-6-5";
    for (int i = 0; i < 4 * 3 * 2; ++i)
        ASSERT_EQ(display.pixels[i], 0) << "black until the program draws";
    const uint16_t red = 0xF800;
    std::memcpy(display.pixels + 8 + 2, &red, 2); // pixel (1, 1)
    const ReadOnlyPixelView picture = screens.WidenDisplay(Rectangle { 0, 0, 4, 3 });
    ASSERT_NE(picture.pixels, nullptr);
    EXPECT_EQ(picture.Row<uint32_t>(1)[1], 0xFF0000u);
    EXPECT_EQ(picture.Row<uint32_t>(0)[0], 0u);

    screens.LeaveFullScreen();
    EXPECT_FALSE(screens.InFullScreen());
    EXPECT_EQ(screens.Lend(Screen::FullScreen, 4, 3).pixels, nullptr);
    EXPECT_EQ(screens.Lend(Screen::Client, 4, 3).pixels, client.pixels) << "the client's memory stays where it was";
}

TEST(ShownScreensTest, TheMenuBarIsKeptWholeAndCutToTheBarsHeight)
{
    ShownScreens screens;
    EXPECT_EQ(screens.MenuBar(10).pixels, nullptr);
    const std::vector<uint32_t> bar = { 1, 2, 3, 9, 4, 5, 6, 9 }; // 3 by 2 in rows of 4
    EXPECT_FALSE(screens.KeepMenuBar(ReadOnlyPixelView::OfPixels(bar.data(), 3, 2, 2)))
        << "rows shorter than the picture";
    ASSERT_TRUE(screens.KeepMenuBar(ReadOnlyPixelView::OfPixels(bar.data(), 3, 2, 4)));
    const ReadOnlyPixelView kept = screens.MenuBar(1);
    ASSERT_NE(kept.pixels, nullptr);
    EXPECT_EQ(kept.height, 1);
    EXPECT_EQ(screens.MenuBar(10).height, 2);
    EXPECT_EQ(screens.MenuBar(10).Row<uint32_t>(0)[3], 4u) << "kept packed, without the caller's pitch";

    // Drawn at twice the size over a grey background three rows high: the
    // bar's rows scaled, the rest of its rows grey, nothing below them.
    Image window(8, 10);
    const uint32_t grey = 0xF0F0F0;
    screens.DrawMenuBar(window.Target(), 2, 3, &grey);
    EXPECT_EQ(window.At(0, 0), 1u);
    EXPECT_EQ(window.At(5, 3), 6u);
    EXPECT_EQ(window.At(7, 0), grey) << "beyond the bar's width";
    EXPECT_EQ(window.At(0, 5), grey) << "the bar is shorter than its rows";
    EXPECT_EQ(window.At(0, 6), 0x123456u) << "below the bar's rows";
}

TEST(ShownScreensTest, TheClientIsDrawnScaledBelowTheBarAndClippedToTheTarget)
{
    ShownScreens screens;
    Image window(5, 7);
    EXPECT_EQ(screens.DrawClient(window.Target(), 2, 2, Rectangle { 0, 0, 3, 3 }).right, 0) << "nothing lent yet";
    const PixelView client = screens.Lend(Screen::Client, 3, 3);
    FillClient(client, 0xAA00BB);
    const Rectangle written = screens.DrawClient(window.Target(), 2, 2, Rectangle { 1, 0, 9, 9 });
    // Client columns 1 and 2 at twice the size from x = 2, below two rows.
    EXPECT_EQ(written.left, 2);
    EXPECT_EQ(written.top, 2);
    EXPECT_EQ(written.right, 5) << "clipped to the target";
    EXPECT_EQ(written.bottom, 7);
    EXPECT_EQ(window.At(1, 3), 0x123456u);
    EXPECT_EQ(window.At(2, 2), 0xAA00BBu);
    EXPECT_EQ(window.At(4, 6), 0xAA00BBu);
    EXPECT_EQ(window.At(2, 1), 0x123456u);
}

TEST(ShownScreensTest, TheDisplayIsLetterboxedInWholeBlocksOrLeftToTheHostToStretch)
{
    ShownScreens screens;
    screens.EnterFullScreen(2, 1);
    const PixelView display = screens.Lend(Screen::FullScreen, 2, 1);
    const uint16_t white = 0xFFFF;
    std::memcpy(display.pixels, &white, 2);
    screens.WidenDisplay(Rectangle { 0, 0, 2, 1 });

    // 8 by 6 holds the picture four times over: 8 by 4, centred.
    Image screen(8, 6);
    ASSERT_TRUE(screens.DrawDisplayLetterboxed(screen.Target(), true));
    EXPECT_EQ(screen.At(0, 0), 0u) << "the bars are black";
    EXPECT_EQ(screen.At(7, 5), 0u);
    EXPECT_EQ(screen.At(1, 1), 0xFFFFFFu);
    EXPECT_EQ(screen.At(3, 3), 0xFFFFFFu);
    EXPECT_EQ(screen.At(4, 1), 0u) << "the picture's black pixel";

    // 3 by 3 is less than twice the picture: no whole factor.
    Image small(3, 3);
    EXPECT_FALSE(screens.DrawDisplayLetterboxed(small.Target(), true));
    EXPECT_EQ(small.At(0, 0), 0u) << "the bars are drawn all the same";
}

} // namespace
