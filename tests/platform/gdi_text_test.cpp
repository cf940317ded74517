// Fonts and TextOutA with the Japanese gothic face (fonts-ipafont-gothic).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <windows.h>

#include "gdi/testing_hooks.h"
#include "gdi_test_support.h"

using namespace gdi_test;

namespace {

// "ＭＳゴシック" and "上下でＤＤ" in code page 932.
const char kGothicFace[] = "\x82\x6C\x82\x72\x83\x53\x83\x56\x83\x62\x83\x4E";
const char kCaption[] = "\x8F\xE3\x89\xBA\x82\xC5\x82\x63\x82\x63";

HFONT CreateGothic(int height)
{
    LOGFONTA description {};
    std::strcpy(description.lfFaceName, kGothicFace);
    description.lfHeight = height;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = SHIFTJIS_CHARSET;
    return CreateFontIndirectA(&description);
}

// A background of many different colours, none of them red.
void FillPattern(GuardedBuffer& buffer, PixelFormat format)
{
    for (int y = 0; y < buffer.height(); ++y)
        for (int x = 0; x < buffer.width(); ++x)
            buffer.SetRaw(x, y, platform::gdi::RgbToRaw(0x002000 + ((x * 7 + y * 13) % 200) * 0x000101, format));
}

struct Ink {
    int changed = 0;
    int changedToOther = 0; // pixels that changed to anything but the text colour
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
};

Ink Compare(const GuardedBuffer& before, const GuardedBuffer& after, uint32_t inkRaw)
{
    Ink ink;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            if (after.Raw(x, y) == before.Raw(x, y)) continue;
            ++ink.changed;
            if (after.Raw(x, y) != inkRaw) ++ink.changedToOther;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
    }
    return ink;
}

// Draws as the program's caption does; returns what changed.
Ink DrawText(
    GuardedBuffer& buffer, PixelFormat format, const char* text, int length, int x, int y, int mode = TRANSPARENT)
{
    FillPattern(buffer, format);
    GuardedBuffer before = buffer;
    {
        SurfaceContext context(buffer);
        HFONT font = CreateGothic(16);
        HGDIOBJ kept = SelectObject(context.get(), font);
        EXPECT_NE(kept, nullptr);
        SetBkMode(context.get(), mode);
        SetTextColor(context.get(), RGB(255, 0, 0));
        EXPECT_TRUE(TextOutA(context.get(), x, y, text, length));
        EXPECT_EQ(SelectObject(context.get(), kept), font);
        EXPECT_TRUE(DeleteObject(font));
    }
    EXPECT_TRUE(buffer.GuardsIntact());
    return Compare(before, buffer, platform::gdi::RgbToRaw(0xFF0000, format));
}

class GdiTextTest : public ::testing::Test {
protected:
    void SetUp() override { platform::gdi::ResetForTesting(); }
};

TEST_F(GdiTextTest, TransparentRedTextWritesOnlyRedGlyphPixels)
{
    for (PixelFormat format : { PixelFormat::Xrgb8888, PixelFormat::Rgb565 }) {
        GuardedBuffer buffer(160, 40, format);
        Ink ink = DrawText(buffer, format, kCaption, 10, 20, 10);
        EXPECT_GT(ink.changed, 100);
        EXPECT_EQ(ink.changedToOther, 0);
        // Inside the cells: five 16-pixel characters from (20, 10).
        EXPECT_GE(ink.left, 20);
        EXPECT_LE(ink.right, 20 + 80);
        EXPECT_GE(ink.top, 10);
        EXPECT_LT(ink.bottom, 10 + 16);
        EXPECT_GT(ink.right - ink.left, 60);
    }
}

TEST_F(GdiTextTest, OpaqueCellsShowTheAdvanceOfFullAndHalfWidthCharacters)
{
    GuardedBuffer buffer(200, 30, PixelFormat::Xrgb8888);
    Ink caption = DrawText(buffer, PixelFormat::Xrgb8888, kCaption, 10, 10, 5, OPAQUE);
    EXPECT_GE(caption.right - caption.left + 1, 76); // about 80 pixels for five full-width characters
    EXPECT_LE(caption.right - caption.left + 1, 84);
    EXPECT_EQ(caption.top, 5);
    EXPECT_EQ(caption.bottom - caption.top + 1, 16); // the cell height asked for

    Ink full = DrawText(buffer, PixelFormat::Xrgb8888, "\x82\x60\x82\x60", 4, 10, 5, OPAQUE); // "ＡＡ"
    Ink half = DrawText(buffer, PixelFormat::Xrgb8888, "AA", 2, 10, 5, OPAQUE);
    int fullWidth = full.right - full.left + 1, halfWidth = half.right - half.left + 1;
    EXPECT_NEAR(fullWidth, 2 * halfWidth, 2);
}

TEST_F(GdiTextTest, EmptyTextDrawsNothing)
{
    GuardedBuffer buffer(40, 20, PixelFormat::Xrgb8888);
    Ink ink = DrawText(buffer, PixelFormat::Xrgb8888, "", 0, 0, 0, OPAQUE);
    EXPECT_EQ(ink.changed, 0);
}

TEST_F(GdiTextTest, TextIsClippedAtEveryEdge)
{
    for (PixelFormat format : { PixelFormat::Xrgb8888, PixelFormat::Rgb565 }) {
        for (auto [x, y] :
            { std::pair { -30, -8 }, { 30, 10 }, { -2147483647, 0 }, { 0, 2147483600 }, { 2147483600, -5 } }) {
            GuardedBuffer buffer(40, 20, format);
            Ink ink = DrawText(buffer, format, kCaption, 10, x, y);
            EXPECT_EQ(ink.changedToOther, 0);
        }
        GuardedBuffer buffer(40, 20, format);
        Ink ink = DrawText(buffer, format, kCaption, 10, -30, -8);
        EXPECT_GT(ink.changed, 0); // the visible part is still drawn
        EXPECT_EQ(ink.changedToOther, 0);
    }
}

TEST_F(GdiTextTest, BrokenShiftJisIsDrawnWithoutReadingPastTheLength)
{
    GuardedBuffer buffer(100, 20, PixelFormat::Xrgb8888);
    // A lead byte with no trail at the end, and stray trail-range bytes.
    Ink ink = DrawText(buffer, PixelFormat::Xrgb8888, "A\x82", 2, 0, 0);
    EXPECT_GT(ink.changed, 0);
    DrawText(buffer, PixelFormat::Xrgb8888, "\xFD\xFE\xFF\x80\xA0", 5, 0, 0);
    // Exactly three bytes: the second character is cut after its lead byte.
    std::vector<char> exact = { '\x82', '\x63', '\x82' };
    Ink cut = DrawText(buffer, PixelFormat::Xrgb8888, exact.data(), 3, 0, 0);
    EXPECT_GT(cut.changed, 0);
    EXPECT_EQ(cut.changedToOther, 0);

    GuardedBuffer target(10, 10, PixelFormat::Xrgb8888);
    SurfaceContext context(target);
    EXPECT_FALSE(TextOutA(context.get(), 0, 0, "A", -1));
    EXPECT_FALSE(TextOutA(context.get(), 0, 0, nullptr, 3));
    EXPECT_TRUE(TextOutA(context.get(), 0, 0, nullptr, 0));
}

TEST_F(GdiTextTest, FontsAreCheapObjectsOverOneSharedFace)
{
    GuardedBuffer buffer(60, 20, PixelFormat::Xrgb8888);
    SurfaceContext context(buffer);
    HFONT first = CreateGothic(16);
    HGDIOBJ kept = SelectObject(context.get(), first);
    ASSERT_TRUE(TextOutA(context.get(), 0, 0, kCaption, 10));
    SelectObject(context.get(), kept);
    DeleteObject(first);
    int facesOpen = platform::gdi::LoadedFaceCount();
    EXPECT_GE(facesOpen, 1);

    for (int i = 0; i < 100; ++i) {
        HFONT font = CreateGothic(i % 2 == 0 ? 16 : -12);
        kept = SelectObject(context.get(), font);
        EXPECT_TRUE(TextOutA(context.get(), 0, 0, kCaption, 10));
        SelectObject(context.get(), kept);
        EXPECT_TRUE(DeleteObject(font));
    }
    EXPECT_EQ(platform::gdi::LoadedFaceCount(), facesOpen);
    EXPECT_EQ(platform::gdi::LiveObjectCount(), 1); // the surface context
}

// Text drawn in the gothic face at `height`, from a description whose face
// name may carry bytes after its end; returns the inked box.
Ink DrawWithHeight(int height, const char* afterName = "")
{
    GuardedBuffer buffer(200, 40, PixelFormat::Xrgb8888);
    FillPattern(buffer, PixelFormat::Xrgb8888);
    GuardedBuffer before = buffer;
    {
        SurfaceContext context(buffer);
        LOGFONTA description {};
        std::strcpy(description.lfFaceName, kGothicFace);
        std::strncpy(description.lfFaceName + sizeof(kGothicFace), afterName, LF_FACESIZE - sizeof(kGothicFace) - 1);
        description.lfHeight = height;
        description.lfCharSet = SHIFTJIS_CHARSET;
        HFONT font = CreateFontIndirectA(&description);
        HGDIOBJ kept = SelectObject(context.get(), font);
        SetBkMode(context.get(), TRANSPARENT);
        SetTextColor(context.get(), RGB(255, 0, 0));
        EXPECT_TRUE(TextOutA(context.get(), 0, 0, kCaption, 10));
        SelectObject(context.get(), kept);
        DeleteObject(font);
    }
    return Compare(before, buffer, platform::gdi::RgbToRaw(0xFF0000, PixelFormat::Xrgb8888));
}

// The faces remembered for fonts made anew each call must still follow the
// description: every height its own size, whatever came before it.
TEST_F(GdiTextTest, RememberedFacesKeepEachHeightApart)
{
    const Ink small = DrawWithHeight(12);
    const Ink large = DrawWithHeight(24);
    ASSERT_GT(small.changed, 0);
    EXPECT_GT(large.right - large.left, (small.right - small.left) * 3 / 2);
    for (int i = 0; i < 6; ++i) {
        const int height = i % 3 == 0 ? 12 : i % 3 == 1 ? 24 : 16;
        const Ink again = DrawWithHeight(height);
        if (height == 16) continue;
        const Ink& expected = height == 12 ? small : large;
        EXPECT_EQ(again.changed, expected.changed) << height;
        EXPECT_EQ(again.right, expected.right) << height;
        EXPECT_EQ(again.bottom, expected.bottom) << height;
    }
    // Bytes after the name's end name nothing.
    const Ink trailing = DrawWithHeight(24, "junk");
    EXPECT_EQ(trailing.changed, large.changed);
    EXPECT_EQ(trailing.right, large.right);
}

TEST_F(GdiTextTest, FontDescriptionsAndContextStateAreKept)
{
    HFONT font = CreateGothic(-12);
    LOGFONTA copy {};
    ASSERT_EQ(GetObjectA(font, sizeof(copy), &copy), int(sizeof(LOGFONTA)));
    EXPECT_EQ(copy.lfHeight, -12);
    EXPECT_EQ(copy.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_STREQ(copy.lfFaceName, kGothicFace);
    EXPECT_EQ(GetObjectA(font, sizeof(copy) - 1, &copy), 0);

    GuardedBuffer buffer(10, 10, PixelFormat::Rgb565);
    SurfaceContext context(buffer);
    EXPECT_EQ(SetBkMode(context.get(), TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(context.get(), 7), 0);
    EXPECT_EQ(SetBkMode(context.get(), OPAQUE), TRANSPARENT);
    EXPECT_EQ(SetTextColor(context.get(), RGB(255, 0, 0)), RGB(0, 0, 0));
    EXPECT_EQ(SetTextColor(context.get(), RGB(0, 0, 255)), RGB(255, 0, 0));

    // Selected fonts cannot be deleted; a context that ends lets them go.
    HGDIOBJ kept = SelectObject(context.get(), font);
    EXPECT_NE(kept, nullptr);
    EXPECT_FALSE(DeleteObject(font));
    EXPECT_EQ(SelectObject(context.get(), kept), font);
    EXPECT_TRUE(DeleteObject(font));
}

TEST_F(GdiTextTest, UnknownFacesAndTheDefaultFontStillDraw)
{
    GuardedBuffer buffer(60, 20, PixelFormat::Xrgb8888);
    FillPattern(buffer, PixelFormat::Xrgb8888);
    GuardedBuffer before = buffer;
    SurfaceContext context(buffer);
    SetTextColor(context.get(), RGB(255, 0, 0));
    SetBkMode(context.get(), TRANSPARENT);
    EXPECT_TRUE(TextOutA(context.get(), 0, 0, "Ab", 2)); // the context's default font

    LOGFONTA description {};
    std::memset(description.lfFaceName, 'Z', sizeof(description.lfFaceName)); // not even terminated
    description.lfHeight = 2147483647;
    HFONT odd = CreateFontIndirectA(&description);
    HGDIOBJ kept = SelectObject(context.get(), odd);
    TextOutA(context.get(), 0, 0, "Ab", 2);
    SelectObject(context.get(), kept);
    DeleteObject(odd);
    EXPECT_TRUE(buffer.GuardsIntact());
    EXPECT_GT(Compare(before, buffer, 0xFF0000).changed, 0);
}

} // namespace
