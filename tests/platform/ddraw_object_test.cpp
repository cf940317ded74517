// The DirectDraw object, surface creation, clippers and reference counts.
#include "ddraw_fake_host.h"

namespace ddraw_test {
namespace {

using platform::ddraw::LiveObjectCount;
namespace diagnostics = platform::diagnostics;

TEST_F(DirectDrawTest, CreateFailsOnFaultAndWithoutDisplay)
{
    IDirectDraw* directDraw = reinterpret_cast<IDirectDraw*>(0x1);
    diagnostics::FailNext("DirectDrawCreate", 1);
    EXPECT_EQ(DirectDrawCreate(NULL, &directDraw, NULL), DDERR_GENERIC);
    EXPECT_EQ(directDraw, nullptr);

    host.hasDisplay = false;
    EXPECT_NE(DirectDrawCreate(NULL, &directDraw, NULL), DD_OK);
    EXPECT_EQ(directDraw, nullptr);
    EXPECT_EQ(LiveObjectCount(), 0);

    host.hasDisplay = true;
    EXPECT_EQ(DirectDrawCreate(NULL, NULL, NULL), DDERR_INVALIDPARAMS);
    ASSERT_EQ(DirectDrawCreate(NULL, &directDraw, NULL), DD_OK);
    EXPECT_EQ(LiveObjectCount(), 1);
    EXPECT_EQ(directDraw->Release(), 0u);
    EXPECT_EQ(LiveObjectCount(), 0);
}

TEST_F(DirectDrawTest, InterfacesShareOneReferenceCount)
{
    IDirectDraw* first = nullptr;
    ASSERT_EQ(DirectDrawCreate(NULL, &first, NULL), DD_OK);
    IDirectDraw2* second = nullptr;
    ASSERT_EQ(first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&second)), DD_OK);
    ASSERT_NE(second, nullptr);
    IDirectDraw* again = nullptr;
    ASSERT_EQ(second->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&again)), DD_OK);
    EXPECT_EQ(again, first);
    void* unknown = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(first->QueryInterface(IID_IDirectDrawSurface, &unknown), E_NOINTERFACE);
    EXPECT_EQ(unknown, nullptr);

    EXPECT_EQ(again->Release(), 2u);
    EXPECT_EQ(first->Release(), 1u);
    EXPECT_EQ(LiveObjectCount(), 1);
    EXPECT_EQ(second->Release(), 0u);
    EXPECT_EQ(LiveObjectCount(), 0);
}

TEST_F(DirectDrawTest, CooperativeLevels)
{
    HWND window = CreateTopLevelWindow(10, 10, 640, 480);
    IDirectDraw* directDraw = nullptr;
    ASSERT_EQ(DirectDrawCreate(NULL, &directDraw, NULL), DD_OK);
    EXPECT_EQ(directDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(directDraw->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    EXPECT_EQ(directDraw->SetCooperativeLevel(window, DDSCL_FULLSCREEN), DDERR_INVALIDPARAMS);
    EXPECT_EQ(directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
    EXPECT_EQ(directDraw->SetCooperativeLevel(window, DDSCL_NORMAL | DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
    EXPECT_EQ(directDraw->SetCooperativeLevel(NULL, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
    EXPECT_EQ(directDraw->SetCooperativeLevel(window, 0), DDERR_INVALIDPARAMS);
    directDraw->Release();
}

TEST_F(DirectDrawTest, DisplayModeNeedsExclusiveAndOnlyTheOneMode)
{
    HWND window = CreateTopLevelWindow(0, 0, 640, 480);
    IDirectDraw2* windowed = CreateDirectDraw2(DDSCL_NORMAL, window);
    ASSERT_NE(windowed, nullptr);
    EXPECT_EQ(windowed->SetDisplayMode(640, 480, 16, 0, 0), DDERR_NOEXCLUSIVEMODE);
    windowed->Release();

    IDirectDraw2* exclusive = CreateDirectDraw2(DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE, window);
    ASSERT_NE(exclusive, nullptr);
    EXPECT_EQ(exclusive->SetDisplayMode(800, 600, 16, 0, 0), DDERR_INVALIDMODE);
    EXPECT_EQ(exclusive->SetDisplayMode(640, 480, 32, 0, 0), DDERR_INVALIDMODE);
    diagnostics::FailNext("SetDisplayMode", 1);
    EXPECT_NE(exclusive->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    EXPECT_EQ(exclusive->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);

    // Surfaces now take the 16-bit 5-6-5 format.
    IDirectDrawSurface* surface = CreateOffscreen(exclusive, 3, 2);
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    ASSERT_EQ(surface->GetSurfaceDesc(&description), DD_OK);
    EXPECT_EQ(description.ddpfPixelFormat.dwRGBBitCount, 16u);
    EXPECT_EQ(description.ddpfPixelFormat.dwRBitMask, 0xF800u);
    EXPECT_EQ(description.ddpfPixelFormat.dwGBitMask, 0x07E0u);
    EXPECT_EQ(description.ddpfPixelFormat.dwBBitMask, 0x001Fu);
    EXPECT_EQ(description.lPitch % 4, 0);
    EXPECT_GE(description.lPitch, 6);
    surface->Release();
    exclusive->Release();
}

TEST_F(DirectDrawTest, SurfaceDescriptionsAreChecked)
{
    CreateTopLevelWindow(0, 0, 640, 480);
    IDirectDraw2* directDraw = CreateDirectDraw2();
    ASSERT_NE(directDraw, nullptr);
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description) - 4;
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    description.dwWidth = 8;
    description.dwHeight = 8;
    IDirectDrawSurface* surface = reinterpret_cast<IDirectDrawSurface*>(0x1);
    EXPECT_EQ(directDraw->CreateSurface(&description, &surface, NULL), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface, nullptr);

    description.dwSize = sizeof(description);
    struct Case {
        DWORD flags, width, height;
        HRESULT expected;
    };
    for (Case c : { Case { DDSD_CAPS | DDSD_WIDTH, 8, 8, DDERR_INVALIDPARAMS },
             Case { DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, 0, 8, DDERR_INVALIDPARAMS },
             Case { DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, 8, 16385, DDERR_INVALIDPARAMS },
             Case { DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, 0xFFFFFFFF, 8, DDERR_INVALIDPARAMS },
             // 16384 by 16384 at 4 bytes is 1 GiB: refused, not attempted.
             Case { DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, 16384, 16384, DDERR_OUTOFMEMORY },
             Case { DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_LPSURFACE, 8, 8, DDERR_UNSUPPORTED } }) {
        description.dwFlags = c.flags;
        description.dwWidth = c.width;
        description.dwHeight = c.height;
        EXPECT_EQ(directDraw->CreateSurface(&description, &surface, NULL), c.expected) << c.width << "x" << c.height;
        EXPECT_EQ(surface, nullptr);
    }
    EXPECT_EQ(LiveObjectCount(), 1);

    // A flipping chain needs exclusive mode.
    description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    description.dwBackBufferCount = 1;
    EXPECT_EQ(directDraw->CreateSurface(&description, &surface, NULL), DDERR_NOEXCLUSIVEMODE);
    directDraw->Release();
}

TEST_F(DirectDrawTest, OffscreenSurfacesAreZeroedInTheDesktopFormat)
{
    CreateTopLevelWindow(0, 0, 640, 480);
    IDirectDraw2* directDraw = CreateDirectDraw2();
    IDirectDrawSurface* surface = CreateOffscreen(directDraw, 5, 3, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    ASSERT_EQ(surface->GetSurfaceDesc(&description), DD_OK);
    EXPECT_EQ(description.dwWidth, 5u);
    EXPECT_EQ(description.dwHeight, 3u);
    EXPECT_GE(description.lPitch, 20);
    EXPECT_EQ(description.ddpfPixelFormat.dwSize, sizeof(DDPIXELFORMAT));
    EXPECT_EQ(description.ddpfPixelFormat.dwFlags, DWORD(DDPF_RGB));
    EXPECT_EQ(description.ddpfPixelFormat.dwRGBBitCount, 32u);
    EXPECT_EQ(description.ddpfPixelFormat.dwRBitMask, 0xFF0000u);
    EXPECT_EQ(description.ddpfPixelFormat.dwGBitMask, 0x00FF00u);
    EXPECT_EQ(description.ddpfPixelFormat.dwBBitMask, 0x0000FFu);
    EXPECT_TRUE(description.ddsCaps.dwCaps & DDSCAPS_3DDEVICE);
    std::vector<uint32_t> pixels = ReadPixels(surface);
    ASSERT_EQ(pixels.size(), 15u);
    for (uint32_t p : pixels)
        EXPECT_EQ(p, 0u);

    DDCOLORKEY key = { 0x123456, 0x123456 };
    EXPECT_EQ(surface->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    ASSERT_EQ(surface->GetSurfaceDesc(&description), DD_OK);
    EXPECT_EQ(description.ddckCKSrcBlt.dwColorSpaceLowValue, 0x123456u);
    description.dwSize = 0;
    EXPECT_EQ(surface->GetSurfaceDesc(&description), DDERR_INVALIDPARAMS);
    surface->Release();
    directDraw->Release();
}

TEST_F(DirectDrawTest, FaultsByOperationAndByRole)
{
    CreateTopLevelWindow(0, 0, 640, 480);
    IDirectDraw2* directDraw = CreateDirectDraw2();
    IDirectDrawSurface* surface = nullptr;
    diagnostics::FailNext("CreateSurface(backbuffer)", 1);
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    description.dwWidth = description.dwHeight = 4;
    // A picture is not the back buffer: it is made.
    ASSERT_EQ(directDraw->CreateSurface(&description, &surface, NULL), DD_OK);
    surface->Release();
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
    EXPECT_EQ(directDraw->CreateSurface(&description, &surface, NULL), DDERR_OUTOFMEMORY);
    EXPECT_EQ(directDraw->CreateSurface(&description, &surface, NULL), DD_OK);
    surface->Release();

    diagnostics::FailNext("CreateSurface", 1);
    EXPECT_EQ(directDraw->CreateSurface(&description, &surface, NULL), DDERR_OUTOFMEMORY);
    IDirectDrawClipper* clipper = nullptr;
    diagnostics::FailNext("CreateClipper", 1);
    EXPECT_NE(directDraw->CreateClipper(0, &clipper, NULL), DD_OK);
    EXPECT_EQ(clipper, nullptr);
    directDraw->Release();
    EXPECT_EQ(LiveObjectCount(), 0);
}

TEST_F(DirectDrawTest, CallLogNamesSurfacesByRole)
{
    HWND window = CreateTopLevelWindow(0, 0, 640, 480);
    diagnostics::StartCallLog();
    IDirectDraw2* directDraw = CreateDirectDraw2(DDSCL_NORMAL, window);
    IDirectDrawSurface* primary = CreatePrimary(directDraw);
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(directDraw->CreateClipper(0, &clipper, NULL), DD_OK);
    clipper->SetHWnd(0, window);
    primary->SetClipper(clipper);
    IDirectDrawSurface* back = CreateOffscreen(directDraw, 640, 480, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
    IDirectDrawSurface* picture = CreateOffscreen(directDraw, 600, 285);
    picture->Restore();
    clipper->Release();
    picture->Release();
    back->Release();
    primary->Release();
    directDraw->Release();
    std::vector<std::string> expected = { "DirectDrawCreate", "SetCooperativeLevel(0x8)",
        "QueryInterface(IDirectDraw2)", "Release(directdraw)", "CreateSurface(primary)", "CreateClipper", "SetHWnd",
        "SetClipper", "CreateSurface(backbuffer 640x480)", "CreateSurface(offscreen 600x285)", "Restore(offscreen)",
        "Release(clipper)", "Release(offscreen)", "Release(backbuffer)", "Release(primary)", "Release(directdraw)" };
    EXPECT_EQ(diagnostics::CallLog(), expected);
    EXPECT_EQ(LiveObjectCount(), 0);
}

TEST_F(DirectDrawTest, SurfaceHoldsItsClipper)
{
    HWND window = CreateTopLevelWindow(0, 0, 640, 480);
    IDirectDraw2* directDraw = CreateDirectDraw2(DDSCL_NORMAL, window);
    IDirectDrawSurface* primary = CreatePrimary(directDraw);
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(directDraw->CreateClipper(0, &clipper, NULL), DD_OK);
    EXPECT_EQ(primary->SetClipper(clipper), DD_OK);
    EXPECT_EQ(LiveObjectCount(), 3);
    EXPECT_EQ(clipper->Release(), 1u); // the primary's reference is left
    EXPECT_EQ(LiveObjectCount(), 3);
    EXPECT_EQ(primary->SetClipper(NULL), DD_OK);
    EXPECT_EQ(LiveObjectCount(), 2);

    // A second primary of the same object is refused.
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface* second = nullptr;
    EXPECT_EQ(directDraw->CreateSurface(&description, &second, NULL), DDERR_PRIMARYSURFACEALREADYEXISTS);
    primary->Release();
    directDraw->Release();
    EXPECT_EQ(LiveObjectCount(), 0);
}

TEST_F(DirectDrawTest, PrimaryCoversTheDesktop)
{
    CreateTopLevelWindow(0, 0, 640, 480);
    host.desktop = platform::Rectangle { 0, 0, 1280, 720 };
    IDirectDraw2* directDraw = CreateDirectDraw2();
    IDirectDrawSurface* primary = CreatePrimary(directDraw);
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    ASSERT_EQ(primary->GetSurfaceDesc(&description), DD_OK);
    EXPECT_EQ(description.dwWidth, 1280u);
    EXPECT_EQ(description.dwHeight, 720u);
    EXPECT_EQ(description.ddpfPixelFormat.dwRGBBitCount, 32u);
    // It has no memory of its own to hand out.
    EXPECT_NE(primary->Lock(NULL, &description, 0, NULL), DD_OK);
    HDC context = nullptr;
    EXPECT_NE(primary->GetDC(&context), DD_OK);
    primary->Release();
    directDraw->Release();
}

TEST_F(DirectDrawTest, FlippingChainInFullScreen)
{
    HWND window = CreateTopLevelWindow(0, 0, 640, 480);
    IDirectDraw2* directDraw = CreateDirectDraw2(DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE, window);
    ASSERT_EQ(directDraw->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
    description.dwBackBufferCount = 1;
    IDirectDrawSurface* primary = nullptr;
    ASSERT_EQ(directDraw->CreateSurface(&description, &primary, NULL), DD_OK);
    DDSCAPS caps = { DDSCAPS_BACKBUFFER };
    IDirectDrawSurface* back = nullptr;
    ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
    ASSERT_NE(back, nullptr);
    EXPECT_NE(back, primary);
    EXPECT_EQ(LiveObjectCount(), 3);

    ASSERT_EQ(back->GetSurfaceDesc(&description), DD_OK);
    EXPECT_EQ(description.dwWidth, 640u);
    EXPECT_EQ(description.dwHeight, 480u);
    EXPECT_EQ(description.ddpfPixelFormat.dwRGBBitCount, 16u);

    // The presentation copy: back buffer onto the primary's own memory.
    ASSERT_EQ(Fill(back, NULL, 0xF81F), DD_OK);
    RECT all = { 0, 0, 640, 480 };
    ASSERT_EQ(primary->BltFast(0, 0, back, &all, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(PixelAt(primary, 639, 479), 0xF81Fu);

    // Losing the display loses the chain; restoring the front restores both.
    platform::screens::LoseDisplay();
    EXPECT_EQ(primary->BltFast(0, 0, back, &all, DDBLTFAST_WAIT), DDERR_SURFACELOST);
    EXPECT_EQ(primary->Restore(), DD_OK);
    EXPECT_EQ(primary->BltFast(0, 0, back, &all, DDBLTFAST_WAIT), DD_OK);

    // The program releases the back buffer, then the primary: both go.
    back->Release();
    EXPECT_EQ(LiveObjectCount(), 3);
    primary->Release();
    EXPECT_EQ(LiveObjectCount(), 1);
    directDraw->Release();
    EXPECT_EQ(LiveObjectCount(), 0);
}

TEST_F(DirectDrawTest, SurfacesOutlivingTheirDirectDrawObjectAreLostForGood)
{
    CreateTopLevelWindow(0, 0, 640, 480);
    IDirectDraw2* directDraw = CreateDirectDraw2();
    IDirectDrawSurface* surface = CreateOffscreen(directDraw, 4, 4);
    IDirectDrawSurface* source = CreateOffscreen(directDraw, 4, 4);
    directDraw->Release();
    EXPECT_EQ(LiveObjectCount(), 2);
    EXPECT_EQ(Fill(surface, NULL, 1), DDERR_SURFACELOST);
    EXPECT_EQ(surface->BltFast(0, 0, source, NULL, 0), DDERR_SURFACELOST);
    EXPECT_NE(surface->Restore(), DD_OK);
    EXPECT_EQ(Fill(surface, NULL, 1), DDERR_SURFACELOST);
    surface->Release();
    source->Release();
    EXPECT_EQ(LiveObjectCount(), 0);
}

TEST_F(DirectDrawTest, ResetAbandonsObjectsSafely)
{
    CreateTopLevelWindow(0, 0, 640, 480);
    IDirectDraw2* directDraw = CreateDirectDraw2();
    IDirectDrawSurface* surface = CreateOffscreen(directDraw, 4, 4);
    EXPECT_EQ(LiveObjectCount(), 2);
    platform::ddraw::ResetForTesting();
    EXPECT_EQ(LiveObjectCount(), 0);
    EXPECT_EQ(Fill(surface, NULL, 1), DDERR_SURFACELOST);
    // Released late, they neither crash nor count.
    surface->Release();
    directDraw->Release();
    EXPECT_EQ(LiveObjectCount(), 0);
}

} // namespace
} // namespace ddraw_test
