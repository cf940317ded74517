#include <ddraw.h>

#include <testing/testing.h>

#include "back_buffer.h"
#include "bitmap_files.h"
#include "display/drawing.h"
#include "display/image_slot.h"
#include "display/presentation.h"
#include "display/windowed_display.h"
#include "program_fixture.h"

namespace {

// Every source pixel tells where it came from: red = column / 4 + 1 would
// lose columns, so the column goes into red and green, the row into blue.
uint32_t Where(int x, int y) { return (uint32_t(x & 0xFFF) << 12) | uint32_t(y & 0xFFF); }

class DrawingTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        CreateMainWindow();
        ASSERT_TRUE(InitWindowedDisplay());
        ClearBackBuffer();
    }

    void LoadWhereMap(ImageSlot& slot, int width, int height)
    {
        std::string path = WriteBitmap24(
            "where_" + std::to_string(width) + "x" + std::to_string(height) + ".bmp", width, height, Where);
        ASSERT_TRUE(LoadImageSlot(slot, path.c_str()));
        // Key a colour no pixel has, so every pixel is copied.
        SetSlotColorKey(slot, RGB(1, 2, 3));
    }

    static std::vector<uint32_t> BackBuffer() { return ReadBackBuffer(); }

    // The drawn region, as the bounding box of non-black pixels, and checks
    // that each drawn pixel came from source (dx + offsetX, dy + offsetY).
    struct Drawn {
        int left = 640, top = 480, right = 0, bottom = 0;
        int mismatches = 0;
        int Width() const { return right > left ? right - left : 0; }
        int Height() const { return bottom > top ? bottom - top : 0; }
    };

    static Drawn Inspect(int offsetX, int offsetY)
    {
        Drawn drawn;
        std::vector<uint32_t> pixels = BackBuffer();
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                uint32_t p = pixels[y * 640 + x];
                if (p == 0) continue;
                drawn.left = std::min(drawn.left, x);
                drawn.top = std::min(drawn.top, y);
                drawn.right = std::max(drawn.right, x + 1);
                drawn.bottom = std::max(drawn.bottom, y + 1);
                if (p != Where(x + offsetX, y + offsetY)) ++drawn.mismatches;
            }
        return drawn;
    }
};

// The source's top-left pixel is black (Where(0, 0) == 0), so rectangles
// here start at column 1 or row 1 where it matters.
TEST_F(DrawingTest, ClipsAtTheRightAndBottomEdges)
{
    LoadWhereMap(imageTable[0], 700, 500);
    DrawKeyed(630, 100, imageTable[0], 1, 1, 21, 11);
    Drawn drawn = Inspect(1 - 630, 1 - 100);
    EXPECT_EQ(drawn.left, 630);
    EXPECT_EQ(drawn.top, 100);
    EXPECT_EQ(drawn.Width(), 10);
    EXPECT_EQ(drawn.Height(), 10);
    EXPECT_EQ(drawn.mismatches, 0);
}

TEST_F(DrawingTest, ClipsAtTheLeftAndBottomEdgesMovingTheSource)
{
    LoadWhereMap(imageTable[0], 700, 500);
    // (-5, 470) from (1, 1, 21, 31): bottom cut to 11, left moved to 6.
    DrawKeyed(-5, 470, imageTable[0], 1, 1, 21, 31);
    Drawn drawn = Inspect(6, 1 - 470);
    EXPECT_EQ(drawn.left, 0);
    EXPECT_EQ(drawn.top, 470);
    EXPECT_EQ(drawn.Width(), 15);
    EXPECT_EQ(drawn.Height(), 10);
    EXPECT_EQ(drawn.mismatches, 0);
}

TEST_F(DrawingTest, RectanglesOffScreenDrawNothing)
{
    LoadWhereMap(imageTable[0], 700, 500);
    headless::StartCallLog();
    DrawKeyed(640, 0, imageTable[0], 1, 1, 21, 11); // zero width: handed to the copy
    size_t copiesAtTheEdge = CallsStartingWith("BltFast").size();
    DrawKeyed(700, 0, imageTable[0], 1, 1, 21, 11); // returns before the copy
    DrawKeyed(-30, 0, imageTable[0], 1, 1, 21, 11); // left moved past right
    EXPECT_EQ(copiesAtTheEdge, 1u);
    EXPECT_EQ(CallsStartingWith("BltFast").size(), 1u);
    EXPECT_EQ(Inspect(0, 0).Width(), 0);
}

TEST_F(DrawingTest, OneColumnAtTheLastX)
{
    LoadWhereMap(imageTable[0], 700, 500);
    DrawKeyed(639, 5, imageTable[0], 3, 1, 4, 51);
    Drawn drawn = Inspect(3 - 639, 1 - 5);
    EXPECT_EQ(drawn.left, 639);
    EXPECT_EQ(drawn.Width(), 1);
    EXPECT_EQ(drawn.Height(), 50);
    EXPECT_EQ(drawn.mismatches, 0);
}

TEST_F(DrawingTest, WideSourcesStartingLeftOfTheScreen)
{
    LoadWhereMap(imageTable[0], 700, 500);
    // 650 wide at x = -10: all 640 columns, from column 11 of the source.
    DrawKeyed(-10, 1, imageTable[0], 1, 1, 651, 2);
    Drawn drawn = Inspect(11, 0);
    EXPECT_EQ(drawn.Width(), 640);
    EXPECT_EQ(drawn.mismatches, 0);

    // 641 wide: the right edge is cut only past 640, so 631 columns.
    ClearBackBuffer();
    DrawKeyed(-10, 1, imageTable[0], 1, 1, 642, 2);
    drawn = Inspect(11, 0);
    EXPECT_EQ(drawn.left, 0);
    EXPECT_EQ(drawn.Width(), 631);
    EXPECT_EQ(drawn.mismatches, 0);
}

TEST_F(DrawingTest, KeyedCopiesSkipExactlyTheKey)
{
    std::string path = WriteBitmap24("keyed_neighbours.bmp", 3, 1, [](int x, int) {
        return x == 0 ? 0xFF00FFu : x == 1 ? 0xFE00FFu : 0xFF01FFu;
    });
    ASSERT_TRUE(LoadImageSlot(imageTable[0], path.c_str()));
    SetSlotColorKey(imageTable[0], MAGENTA_KEY_COLOUR);
    DrawKeyed(10, 10, imageTable[0], 0, 0, 3, 1);
    std::vector<uint32_t> pixels = BackBuffer();
    EXPECT_EQ(pixels[10 * 640 + 10], 0u);
    EXPECT_EQ(pixels[10 * 640 + 11], 0xFE00FFu);
    EXPECT_EQ(pixels[10 * 640 + 12], 0xFF01FFu);
}

TEST_F(DrawingTest, StretchedDoublesAndSizeZeroDrawsNothing)
{
    LoadWhereMap(imageTable[5], 100, 100);
    DrawStretched(320, 240, imageTable[5], 0, 0, 0, 0, 100, 100);
    EXPECT_EQ(Inspect(0, 0).Width(), 0);

    DrawStretched(10, 20, imageTable[5], 200, 200, 0, 0, 100, 100);
    std::vector<uint32_t> pixels = BackBuffer();
    for (auto [x, y] : { std::pair { 0, 0 }, { 1, 1 }, { 57, 13 }, { 199, 199 }, { 120, 3 } })
        EXPECT_EQ(pixels[(20 + y) * 640 + 10 + x], Where(x / 2, y / 2)) << x << "," << y;
    EXPECT_EQ(pixels[(20 + 200) * 640 + 10 + 5], 0u);
    EXPECT_EQ(pixels[20 * 640 + 10 + 200], 0u);
}

TEST_F(DrawingTest, TextIsPureRedOverWhatWasThere)
{
    RECT all = { 0, 0, 640, 480 };
    DDBLTFX effects = {};
    effects.dwSize = sizeof(effects);
    effects.dwFillColor = 0x00204060;
    displayContext.backBuffer->Blt(&all, NULL, NULL, DDBLT_COLORFILL | DDBLT_WAIT, &effects);

    DrawTextLine("", 16, 20, 430, 255, 0, 0);
    std::vector<uint32_t> pixels = BackBuffer();
    EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](uint32_t p) { return p == 0x204060u; }));

    DrawTextLine("上下でＤＤ", 16, 20, 430, 255, 0, 0);
    pixels = BackBuffer();
    int red = 0;
    int other = 0;
    int outside = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            uint32_t p = pixels[y * 640 + x];
            if (p == 0x204060u) continue;
            if (p == 0xFF0000u)
                ++red;
            else
                ++other;
            if (x < 20 || y < 430 || y >= 430 + 20 || x >= 20 + 5 * 16 + 8) ++outside;
        }
    EXPECT_GT(red, 50);
    EXPECT_EQ(other, 0);
    EXPECT_EQ(outside, 0);
}

TEST_F(DrawingTest, LostSurfaceIsRecoveredKeyedAndTheOldOneFreed)
{
    std::string path = WriteBitmap24("recovery.bmp", 20, 10, [](int x, int) { return x < 10 ? 0x000000u : 0xFF00FFu; });
    ASSERT_TRUE(LoadImageSlot(imageTable[2], path.c_str()));
    SetSlotColorKey(imageTable[2], MAGENTA_KEY_COLOUR);
    IDirectDrawSurface* before = imageTable[2].surface;

    headless::LoseDisplay();
    headless::StartCallLog();
    DrawKeyed(0, 0, imageTable[2], 0, 0, 20, 10);
    std::vector<std::string> restores = CallsStartingWith("Restore(");
    std::vector<std::string> expected = { "Restore(primary)", "Restore(offscreen)" };
    EXPECT_EQ(restores, expected);
    EXPECT_NE(imageTable[2].surface, before);
    EXPECT_EQ(CallsStartingWith("Release(offscreen)").size(), 1u);

    // The next frame has the picture back, black drawn and magenta left out.
    PresentFrame();
    RECT all = { 0, 0, 640, 480 };
    DDBLTFX effects = {};
    effects.dwSize = sizeof(effects);
    effects.dwFillColor = 0x00FFFFFF;
    displayContext.backBuffer->Blt(&all, NULL, NULL, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
    DrawKeyed(0, 0, imageTable[2], 0, 0, 20, 10);
    std::vector<uint32_t> pixels = BackBuffer();
    EXPECT_EQ(pixels[5 * 640 + 5], 0u);
    EXPECT_EQ(pixels[5 * 640 + 15], 0xFFFFFFu);
}

} // namespace
