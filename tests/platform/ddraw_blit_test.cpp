// Blits, fills, colour keys, the rectangle rule, the primary on the window,
// lost surfaces and the access locks of surfaces.
#include "ddraw_fake_host.h"

namespace ddraw_test {
namespace {

namespace diagnostics = platform::diagnostics;

class BlitTest : public DirectDrawTest {
protected:
    void SetUp() override
    {
        DirectDrawTest::SetUp();
        window = CreateTopLevelWindow(100, 50, 640, 480);
        directDraw = CreateDirectDraw2(DDSCL_NORMAL, window);
        ASSERT_NE(directDraw, nullptr);
    }

    void TearDown() override
    {
        for (IDirectDrawSurface* surface : made)
            surface->Release();
        if (directDraw != nullptr) directDraw->Release();
        EXPECT_EQ(platform::ddraw::LiveObjectCount(), 0);
        DirectDrawTest::TearDown();
    }

    IDirectDrawSurface* Offscreen(DWORD width, DWORD height)
    {
        IDirectDrawSurface* surface = CreateOffscreen(directDraw, width, height);
        made.push_back(surface);
        return surface;
    }

    IDirectDrawSurface* Primary()
    {
        IDirectDrawSurface* surface = CreatePrimary(directDraw);
        made.push_back(surface);
        return surface;
    }

    // Pixels tell where they came from.
    static uint32_t Where(int x, int y) { return 0x01000000u | uint32_t(x) << 12 | uint32_t(y); }

    HWND window = nullptr;
    IDirectDraw2* directDraw = nullptr;
    std::vector<IDirectDrawSurface*> made;
};

TEST_F(BlitTest, RectanglesOutsideTheSurfaceTouchNothing)
{
    IDirectDrawSurface* target = Offscreen(10, 8);
    IDirectDrawSurface* source = Offscreen(10, 8);
    ASSERT_EQ(Fill(source, NULL, 0x00ABCDEF), DD_OK);
    const std::vector<RECT> bad
        = { { -1, 0, 5, 5 }, { 0, -1, 5, 5 }, { 0, 0, 11, 5 }, { 0, 0, 5, 9 }, { 5, 0, 4, 5 }, { 0, 5, 5, 4 } };
    for (RECT rect : bad) {
        EXPECT_EQ(Fill(target, &rect, 0x111111), DDERR_INVALIDRECT);
        RECT whole = { 0, 0, 10, 8 };
        EXPECT_EQ(target->Blt(&rect, source, &whole, DDBLT_WAIT, NULL), DDERR_INVALIDRECT);
        EXPECT_EQ(target->Blt(&whole, source, &rect, DDBLT_WAIT, NULL), DDERR_INVALIDRECT);
        EXPECT_EQ(target->BltFast(0, 0, source, &rect, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
        DDSURFACEDESC description = {};
        description.dwSize = sizeof(description);
        EXPECT_EQ(target->Lock(&rect, &description, 0, NULL), DDERR_INVALIDRECT);
    }
    // BltFast's destination is implied by the position and the source size.
    RECT piece = { 0, 0, 4, 4 };
    EXPECT_EQ(target->BltFast(7, 0, source, &piece, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    EXPECT_EQ(target->BltFast(0, 5, source, &piece, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    EXPECT_EQ(target->BltFast(DWORD(-1), 0, source, &piece, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    EXPECT_EQ(target->BltFast(0x7FFFFFFF, 0x7FFFFFFF, source, &piece, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    for (uint32_t p : ReadPixels(target))
        ASSERT_EQ(p, 0u);

    // Empty rectangles are valid and draw nothing, also on the far edge.
    RECT empty = { 10, 0, 10, 8 };
    EXPECT_EQ(Fill(target, &empty, 0x111111), DD_OK);
    RECT emptySource = { 3, 3, 3, 6 };
    EXPECT_EQ(target->BltFast(10, 0, source, &emptySource, DDBLTFAST_WAIT), DD_OK);
    RECT whole = { 0, 0, 10, 8 };
    EXPECT_EQ(target->Blt(&whole, source, &emptySource, DDBLT_WAIT, NULL), DD_OK);
    for (uint32_t p : ReadPixels(target))
        ASSERT_EQ(p, 0u);
}

TEST_F(BlitTest, ColourFillWritesTheRawValue)
{
    IDirectDrawSurface* target = Offscreen(6, 4);
    ASSERT_EQ(Fill(target, NULL, 0xFFFFFFFF), DD_OK);
    for (uint32_t p : ReadPixels(target))
        ASSERT_EQ(p, 0xFFFFFFFFu);
    RECT part = { 1, 1, 3, 2 };
    ASSERT_EQ(Fill(target, &part, 0), DD_OK);
    EXPECT_EQ(PixelAt(target, 1, 1), 0u);
    EXPECT_EQ(PixelAt(target, 2, 1), 0u);
    EXPECT_EQ(PixelAt(target, 3, 1), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(target, 1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(target, 1, 2), 0xFFFFFFFFu);

    DDBLTFX effects = {};
    effects.dwSize = sizeof(effects) - 1;
    EXPECT_EQ(target->Blt(NULL, NULL, NULL, DDBLT_COLORFILL, &effects), DDERR_INVALIDPARAMS);
    EXPECT_EQ(target->Blt(NULL, NULL, NULL, DDBLT_COLORFILL, NULL), DDERR_INVALIDPARAMS);
    EXPECT_EQ(target->Blt(NULL, NULL, NULL, DDBLT_WAIT, NULL), DDERR_INVALIDPARAMS);
}

TEST_F(BlitTest, KeyedCopySkipsExactlyTheKey)
{
    IDirectDrawSurface* source = Offscreen(5, 1);
    // The key and its neighbours: one below, one above, other channels.
    const uint32_t values[5] = { 0xFF00FF, 0xFE00FF, 0xFF01FF, 0xFF00FE, 0xFF0100 };
    WritePixels(source, [&](int x, int) { return values[x]; });
    DDCOLORKEY key = { 0xFF00FF, 0xFF00FF };
    ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    IDirectDrawSurface* target = Offscreen(8, 3);
    ASSERT_EQ(Fill(target, NULL, 0x777777), DD_OK);

    ASSERT_EQ(target->BltFast(2, 1, source, NULL, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(PixelAt(target, 2, 1), 0x777777u);
    EXPECT_EQ(PixelAt(target, 3, 1), 0xFE00FFu);
    EXPECT_EQ(PixelAt(target, 4, 1), 0xFF01FFu);
    EXPECT_EQ(PixelAt(target, 5, 1), 0xFF00FEu);
    EXPECT_EQ(PixelAt(target, 6, 1), 0xFF0100u);
    EXPECT_EQ(PixelAt(target, 7, 1), 0x777777u);

    // Unkeyed, the key colour is copied like any other.
    ASSERT_EQ(target->BltFast(2, 2, source, NULL, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(PixelAt(target, 2, 2), 0xFF00FFu);
    EXPECT_EQ(PixelAt(target, 5, 2), 0xFF00FEu);
    EXPECT_EQ(PixelAt(target, 1, 2), 0x777777u);
}

TEST_F(BlitTest, KeyedCopyIn16Bits)
{
    IDirectDraw2* exclusive = CreateDirectDraw2(DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE, window);
    ASSERT_EQ(exclusive->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    IDirectDrawSurface* source = CreateOffscreen(exclusive, 3, 1);
    IDirectDrawSurface* target = CreateOffscreen(exclusive, 3, 1);
    WritePixels(source, [](int x, int) { return x == 1 ? 0xF81Fu : 0xF81Eu + uint32_t(x); });
    DDCOLORKEY key = { 0xF81F, 0xF81F };
    source->SetColorKey(DDCKEY_SRCBLT, &key);
    ASSERT_EQ(Fill(target, NULL, 0x1234), DD_OK);
    ASSERT_EQ(target->BltFast(0, 0, source, NULL, DDBLTFAST_SRCCOLORKEY), DD_OK);
    std::vector<uint32_t> expected = { 0xF81E, 0x1234, 0xF820 };
    EXPECT_EQ(ReadPixels(target), expected);

    // Surfaces of another format cannot be copied without conversion.
    IDirectDrawSurface* desktopSurface = Offscreen(3, 1);
    EXPECT_EQ(desktopSurface->BltFast(0, 0, source, NULL, 0), DDERR_INVALIDPIXELFORMAT);
    source->Release();
    target->Release();
    exclusive->Release();
}

TEST_F(BlitTest, ScaledCopiesAreNearestNeighbour)
{
    IDirectDrawSurface* picture = Offscreen(100, 100);
    WritePixels(picture, Where);
    IDirectDrawSurface* target = Offscreen(300, 300);
    RECT from = { 0, 0, 100, 100 };
    RECT to = { 10, 20, 210, 220 };
    ASSERT_EQ(target->Blt(&to, picture, &from, DDBLT_WAIT, NULL), DD_OK);
    std::vector<uint32_t> pixels = ReadPixels(target);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(pixels[(20 + y) * 300 + 10 + x], Where(x / 2, y / 2));
    EXPECT_EQ(pixels[220 * 300 + 10], 0u);
    EXPECT_EQ(pixels[20 * 300 + 210], 0u);
    EXPECT_EQ(pixels[19 * 300 + 10], 0u);

    // Shrinking to a third takes every third pixel.
    ASSERT_EQ(Fill(target, NULL, 0), DD_OK);
    RECT small = { 0, 0, 33, 33 };
    RECT most = { 0, 0, 99, 99 };
    ASSERT_EQ(target->Blt(&small, picture, &most, DDBLT_WAIT, NULL), DD_OK);
    pixels = ReadPixels(target);
    for (int y = 0; y < 33; ++y)
        for (int x = 0; x < 33; ++x)
            ASSERT_EQ(pixels[y * 300 + x], Where(3 * x, 3 * y));
    EXPECT_EQ(pixels[33], 0u);
}

TEST_F(BlitTest, OverlappingCopyWithinOneSurface)
{
    IDirectDrawSurface* surface = Offscreen(8, 1);
    WritePixels(surface, [](int x, int) { return uint32_t(x + 1); });
    RECT from = { 0, 0, 6, 1 };
    ASSERT_EQ(surface->BltFast(2, 0, surface, &from, 0), DD_OK);
    std::vector<uint32_t> expected = { 1, 2, 1, 2, 3, 4, 5, 6 };
    EXPECT_EQ(ReadPixels(surface), expected);
}

TEST_F(BlitTest, PrimaryWithClipperWritesOnlyTheClientArea)
{
    FillClient(0x00808080);
    IDirectDrawSurface* primary = Primary();
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(directDraw->CreateClipper(0, &clipper, NULL), DD_OK);
    clipper->SetHWnd(0, window);
    primary->SetClipper(clipper);
    clipper->Release();
    IDirectDrawSurface* picture = Offscreen(100, 100);
    WritePixels(picture, Where);

    // The client area lies at (100, 50) on the screen; this copy starts 30
    // pixels left of it and hangs off the desktop's top.
    RECT onScreen = { 70, -10, 170, 90 };
    const int presentationsBefore = host.presentations;
    ASSERT_EQ(primary->BltFast(70, 40, picture, NULL, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(ClientPixel(0, 0), Where(30, 10) & 0xFFFFFF);
    EXPECT_EQ(ClientPixel(69, 89), Where(99, 99) & 0xFFFFFF);
    EXPECT_EQ(ClientPixel(70, 0), 0x808080u);
    EXPECT_EQ(ClientPixel(0, 90), 0x808080u);
    EXPECT_GT(host.presentations, presentationsBefore);

    // Scaled onto a clipped primary: the mapping is that of the whole rectangle.
    FillClient(0x00808080);
    RECT from = { 0, 0, 100, 100 };
    ASSERT_EQ(primary->Blt(&onScreen, picture, &from, DDBLT_WAIT, NULL), DD_OK);
    EXPECT_EQ(ClientPixel(0, 0), Where(30, 60) & 0xFFFFFF);
    RECT doubled = { 0, 0, 200, 200 };
    FillClient(0x00808080);
    ASSERT_EQ(primary->Blt(&doubled, picture, &from, DDBLT_WAIT, NULL), DD_OK);
    // Client (0, 0) is screen (100, 50): source (50, 25).
    EXPECT_EQ(ClientPixel(0, 0), Where(50, 25) & 0xFFFFFF);
    EXPECT_EQ(ClientPixel(99, 149), Where(99, 99) & 0xFFFFFF);
    EXPECT_EQ(ClientPixel(100, 0), 0x808080u);

    // Fills keep the colour bits only: client pixels are 0x00RRGGBB.
    ASSERT_EQ(Fill(primary, &onScreen, 0xFF123456), DD_OK);
    EXPECT_EQ(ClientPixel(0, 0), 0x123456u);
    // Far outside the desktop: clipped away, nothing written, no failure.
    RECT away = { -5000, -5000, -4000, -4000 };
    EXPECT_EQ(Fill(primary, &away, 0), DD_OK);
    RECT inverted = { 200, 200, 100, 300 };
    EXPECT_EQ(Fill(primary, &inverted, 0), DDERR_INVALIDRECT);
}

TEST_F(BlitTest, PrimaryWithoutClipperIsCheckedAgainstTheDesktop)
{
    FillClient(0x00808080);
    IDirectDrawSurface* primary = Primary();
    RECT offDesktop = { -1, 0, 200, 100 };
    EXPECT_EQ(Fill(primary, &offDesktop, 0x00FF0000), DDERR_INVALIDRECT);
    EXPECT_EQ(ClientPixel(0, 0), 0x808080u);
    // Inside the desktop, only the window's part shows.
    RECT acrossTheEdge = { 0, 0, 110, 60 };
    ASSERT_EQ(Fill(primary, &acrossTheEdge, 0x00FF0000), DD_OK);
    EXPECT_EQ(ClientPixel(9, 9), 0xFF0000u);
    EXPECT_EQ(ClientPixel(10, 9), 0x808080u);
    EXPECT_EQ(ClientPixel(9, 10), 0x808080u);
}

TEST_F(BlitTest, LostSurfacesFailUntilRestoredWithALoudPattern)
{
    IDirectDrawSurface* target = Offscreen(16, 16);
    IDirectDrawSurface* source = Offscreen(16, 16);
    IDirectDrawSurface* primary = Primary();
    ASSERT_EQ(Fill(target, NULL, 0), DD_OK);
    platform::screens::LoseDisplay();

    EXPECT_EQ(Fill(target, NULL, 1), DDERR_SURFACELOST);
    EXPECT_EQ(target->BltFast(0, 0, source, NULL, 0), DDERR_SURFACELOST);
    EXPECT_EQ(primary->Blt(NULL, source, NULL, DDBLT_WAIT, NULL), DDERR_SURFACELOST);
    HDC context = nullptr;
    EXPECT_EQ(target->GetDC(&context), DDERR_SURFACELOST);
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    EXPECT_EQ(target->Lock(NULL, &description, 0, NULL), DDERR_SURFACELOST);

    EXPECT_EQ(target->Restore(), DD_OK);
    // The source is still lost: copies from it fail as well.
    EXPECT_EQ(target->BltFast(0, 0, source, NULL, 0), DDERR_SURFACELOST);
    std::vector<uint32_t> pixels = ReadPixels(target);
    ASSERT_EQ(pixels.size(), 256u);
    EXPECT_EQ(pixels[0], 0xFF00FFu);
    EXPECT_EQ(pixels[8], 0x00FF00u);
    EXPECT_EQ(pixels[8 * 16], 0x00FF00u);

    // Restoring what is not lost changes nothing.
    ASSERT_EQ(Fill(target, NULL, 0x42), DD_OK);
    EXPECT_EQ(target->Restore(), DD_OK);
    EXPECT_EQ(PixelAt(target, 5, 5), 0x42u);
    EXPECT_EQ(source->Restore(), DD_OK);
    EXPECT_EQ(target->BltFast(0, 0, source, NULL, 0), DD_OK);
}

TEST_F(BlitTest, DeviceContextAndLockHoldTheSurface)
{
    IDirectDrawSurface* target = Offscreen(4, 4);
    IDirectDrawSurface* source = Offscreen(4, 4);
    HDC context = nullptr;
    ASSERT_EQ(target->GetDC(&context), DD_OK);
    ASSERT_NE(context, nullptr);
    HDC second = nullptr;
    EXPECT_EQ(target->GetDC(&second), DDERR_DCALREADYCREATED);
    EXPECT_EQ(Fill(target, NULL, 1), DDERR_SURFACEBUSY);
    EXPECT_EQ(source->BltFast(0, 0, target, NULL, 0), DDERR_SURFACEBUSY);
    EXPECT_NE(target->ReleaseDC(reinterpret_cast<HDC>(0x1234)), DD_OK);
    EXPECT_EQ(target->ReleaseDC(context), DD_OK);
    EXPECT_EQ(target->ReleaseDC(context), DDERR_NODC);
    EXPECT_EQ(Fill(target, NULL, 1), DD_OK);

    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    RECT part = { 1, 2, 3, 4 };
    ASSERT_EQ(target->Lock(&part, &description, 0, NULL), DD_OK);
    DDSURFACEDESC whole = {};
    whole.dwSize = sizeof(whole);
    EXPECT_EQ(target->Lock(NULL, &whole, 0, NULL), DDERR_SURFACEBUSY);
    EXPECT_EQ(source->BltFast(0, 0, target, NULL, 0), DDERR_SURFACEBUSY);
    // The pointer is that of the rectangle's top-left pixel.
    static_cast<uint32_t*>(description.lpSurface)[0] = 0xABC;
    EXPECT_EQ(target->Unlock(NULL), DD_OK);
    EXPECT_EQ(target->Unlock(NULL), DDERR_NOTLOCKED);
    EXPECT_EQ(PixelAt(target, 1, 2), 0xABCu);

    diagnostics::FailNext("GetDC", 1);
    EXPECT_NE(target->GetDC(&context), DD_OK);
    EXPECT_EQ(context, nullptr);
}

TEST_F(BlitTest, LockFaults)
{
    IDirectDrawSurface* surface = Offscreen(4, 4);
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    diagnostics::FailNext("LockStillDrawing", 2);
    EXPECT_EQ(surface->Lock(NULL, &description, 0, NULL), DDERR_WASSTILLDRAWING);
    EXPECT_EQ(surface->Lock(NULL, &description, 0, NULL), DDERR_WASSTILLDRAWING);
    ASSERT_EQ(surface->Lock(NULL, &description, 0, NULL), DD_OK);
    EXPECT_EQ(description.ddpfPixelFormat.dwRGBBitCount, 32u);
    EXPECT_NE(description.lpSurface, nullptr);
    surface->Unlock(NULL);

    // A caller that waits never sees the busy blitter.
    diagnostics::FailNext("LockStillDrawing", 1);
    ASSERT_EQ(surface->Lock(NULL, &description, DDLOCK_WAIT, NULL), DD_OK);
    surface->Unlock(NULL);

    diagnostics::FailNext("Lock", 1);
    EXPECT_NE(surface->Lock(NULL, &description, 0, NULL), DD_OK);
    description.dwSize = 4;
    EXPECT_EQ(surface->Lock(NULL, &description, 0, NULL), DDERR_INVALIDPARAMS);
}

} // namespace
} // namespace ddraw_test
