// GetPixel and SetPixel on both surface formats, and handles that must fail.
#include <gtest/gtest.h>

#include <windows.h>

#include "gdi/testing_hooks.h"
#include "gdi_test_support.h"

using namespace gdi_test;

namespace {

class GdiPixelTest : public ::testing::Test {
protected:
    void SetUp() override { platform::gdi::ResetForTesting(); }
};

TEST_F(GdiPixelTest, MagentaRoundTripsOnBothFormats)
{
    GuardedBuffer xrgb(3, 2, PixelFormat::Xrgb8888), rgb565(3, 2, PixelFormat::Rgb565);
    SurfaceContext xrgbContext(xrgb), rgb565Context(rgb565);
    const COLORREF magenta = RGB(255, 0, 255);
    EXPECT_EQ(SetPixel(xrgbContext.get(), 0, 0, magenta), magenta);
    EXPECT_EQ(SetPixel(rgb565Context.get(), 0, 0, magenta), magenta);
    EXPECT_EQ(xrgb.Raw(0, 0), 0xFF00FFu);
    EXPECT_EQ(rgb565.Raw(0, 0), 0xF81Fu);
    EXPECT_EQ(GetPixel(xrgbContext.get(), 0, 0), magenta);
    EXPECT_EQ(GetPixel(rgb565Context.get(), 0, 0), magenta);

    // Channels are placed, not swapped: COLORREF red is the raw top channel.
    EXPECT_EQ(SetPixel(xrgbContext.get(), 1, 0, RGB(0x12, 0x34, 0x56)), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(xrgb.Raw(1, 0), 0x123456u);
    // 5-6-5 answers with the colour it could store, widened again.
    EXPECT_EQ(SetPixel(rgb565Context.get(), 1, 0, RGB(0x12, 0x34, 0x56)), RGB(0x10, 0x34, 0x52));
    EXPECT_EQ(rgb565.Raw(1, 0), (0x12u >> 3) << 11 | (0x34u >> 2) << 5 | (0x56u >> 3));
    EXPECT_EQ(GetPixel(rgb565Context.get(), 2, 1), RGB(0, 0, 0));
    SetPixel(rgb565Context.get(), 2, 1, RGB(255, 255, 255));
    EXPECT_EQ(rgb565.Raw(2, 1), 0xFFFFu);
    EXPECT_EQ(GetPixel(rgb565Context.get(), 2, 1), RGB(255, 255, 255));
    EXPECT_TRUE(xrgb.GuardsIntact());
    EXPECT_TRUE(rgb565.GuardsIntact());
}

// What putting a colour key's probe pixel back relies on: reading a pixel
// and writing the colour read restores the very same raw value.
TEST_F(GdiPixelTest, EveryRgb565ValueSurvivesGetThenSet)
{
    GuardedBuffer buffer(1, 1, PixelFormat::Rgb565);
    SurfaceContext context(buffer);
    int mismatches = 0;
    for (uint32_t raw = 0; raw <= 0xFFFF; ++raw) {
        buffer.SetRaw(0, 0, raw);
        COLORREF colour = GetPixel(context.get(), 0, 0);
        COLORREF set = SetPixel(context.get(), 0, 0, colour);
        if (buffer.Raw(0, 0) != raw || set != colour) ++mismatches;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(GdiPixelTest, OutsideTheTargetNothingIsReadOrWritten)
{
    GuardedBuffer buffer(3, 2, PixelFormat::Rgb565, 0x33);
    SurfaceContext context(buffer);
    for (auto [x, y] :
        { std::pair { -1, 0 }, { 0, -1 }, { 3, 0 }, { 0, 2 }, { -2147483647 - 1, 0 }, { 0, 2147483647 } }) {
        EXPECT_EQ(SetPixel(context.get(), x, y, RGB(1, 2, 3)), CLR_INVALID);
        EXPECT_EQ(GetPixel(context.get(), x, y), CLR_INVALID);
    }
    EXPECT_TRUE(buffer.GuardsIntact());
    EXPECT_EQ(buffer.Raw(0, 0), 0x3333u);
}

TEST_F(GdiPixelTest, UnusableSurfacesGetNoContext)
{
    GuardedBuffer buffer(3, 2, PixelFormat::Xrgb8888);
    DrawingTarget target = buffer.Target();
    DrawingTarget noMemory = target, empty = target, narrowPitch = target, wrongDepth = target;
    noMemory.memory.pixels = nullptr;
    empty.memory.height = 0;
    narrowPitch.memory.pitch = 11;
    wrongDepth.memory.bytesPerPixel = 2;
    for (const DrawingTarget& bad : { noMemory, empty, narrowPitch, wrongDepth })
        EXPECT_EQ(platform::gdi::CreateSurfaceDC(bad), nullptr);
}

TEST_F(GdiPixelTest, StaleAndWrongHandlesFailCleanly)
{
    GuardedBuffer buffer(2, 2, PixelFormat::Xrgb8888);
    HDC surface = platform::gdi::CreateSurfaceDC(buffer.Target());
    HDC memory = CreateCompatibleDC(nullptr);
    LOGFONTA description {};
    HFONT font = CreateFontIndirectA(&description);
    ASSERT_NE(surface, nullptr);
    ASSERT_NE(memory, nullptr);
    ASSERT_NE(font, nullptr);

    // Objects of the wrong kind.
    EXPECT_EQ(SelectObject(memory, memory), nullptr);
    EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(font), font), nullptr);
    EXPECT_FALSE(DeleteObject(memory));
    EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(font)));
    EXPECT_FALSE(DeleteDC(surface)); // surface contexts end with their surface
    EXPECT_EQ(GetObjectA(memory, sizeof(BITMAP), &description), 0);
    EXPECT_FALSE(BitBlt(surface, 0, 0, 1, 1, reinterpret_cast<HDC>(font), 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(surface, 0, 0, 1, 1, memory, 0, 0, 0x00EE0086 /* SRCPAINT */));
    EXPECT_EQ(CreateCompatibleDC(reinterpret_cast<HDC>(font)), nullptr);

    EXPECT_TRUE(DeleteObject(font));
    EXPECT_TRUE(DeleteDC(memory));
    platform::gdi::DeleteSurfaceDC(surface);

    // Stale handles: every call fails the way Windows reports it.
    EXPECT_EQ(GetPixel(surface, 0, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(surface, 0, 0, 0), CLR_INVALID);
    EXPECT_EQ(SetBkMode(surface, TRANSPARENT), 0);
    EXPECT_EQ(SetTextColor(surface, 0), CLR_INVALID);
    EXPECT_FALSE(TextOutA(surface, 0, 0, "A", 1));
    EXPECT_EQ(SelectObject(memory, font), nullptr);
    EXPECT_FALSE(DeleteObject(font));
    EXPECT_FALSE(DeleteDC(memory));
    EXPECT_FALSE(BitBlt(surface, 0, 0, 1, 1, memory, 0, 0, SRCCOPY));
    platform::gdi::DeleteSurfaceDC(surface); // twice: ignored

    // Nothing at all, or a pointer GDI never gave out.
    int local = 0;
    EXPECT_EQ(GetPixel(nullptr, 0, 0), CLR_INVALID);
    EXPECT_EQ(SelectObject(nullptr, nullptr), nullptr);
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_FALSE(DeleteObject(&local));
    EXPECT_EQ(GetObjectA(&local, sizeof(BITMAP), &description), 0);
    EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
    EXPECT_TRUE(buffer.GuardsIntact());
    EXPECT_EQ(platform::gdi::LiveObjectCount(), 0);
}

} // namespace
