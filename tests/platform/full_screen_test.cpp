// Exclusive full screen on the headless host: entering and leaving it, what
// the display shows, and surfaces lost while it is held.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include <ddraw.h>

#include "common/rgb565.h"
#include "host/headless/headless_host.h"
#include "screens/full_screen.h"
#include "testing/testing.h"

namespace {

using platform::Rectangle;

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// The full-screen display as the program builds it: exclusive level,
// IDirectDraw2, the one mode, a flipping primary and its back buffer.
struct FullScreenDisplay {
    IDirectDraw2* directDraw = nullptr;
    IDirectDrawSurface* primary = nullptr;
    IDirectDrawSurface* backBuffer = nullptr;

    void Release()
    {
        if (backBuffer) backBuffer->Release();
        if (primary) primary->Release();
        if (directDraw) directDraw->Release();
        *this = {};
    }
};

class FullScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::Reset();
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.lpszClassName = "Full Screen Test";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "Full Screen Test", "test", WS_CAPTION, 30, 40, 640, 480, NULL, NULL, NULL, NULL);
        ASSERT_NE(window, nullptr);
    }

    void TearDown() override
    {
        display.Release();
        headless::Reset();
    }

    IDirectDraw2* CreateExclusive()
    {
        IDirectDraw* first = nullptr;
        if (DirectDrawCreate(NULL, &first, NULL) != DD_OK) return nullptr;
        first->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE);
        IDirectDraw2* second = nullptr;
        HRESULT result = first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&second));
        first->Release();
        return result == DD_OK ? second : nullptr;
    }

    // True when every step of the set-up succeeded.
    bool SetUpFullScreen()
    {
        display.directDraw = CreateExclusive();
        if (!display.directDraw || display.directDraw->SetDisplayMode(640, 480, 16, 0, 0) != DD_OK) return false;
        DDSURFACEDESC description = {};
        description.dwSize = sizeof(description);
        description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
        description.dwBackBufferCount = 1;
        if (display.directDraw->CreateSurface(&description, &display.primary, NULL) != DD_OK) return false;
        DDSCAPS caps = { DDSCAPS_BACKBUFFER };
        return display.primary->GetAttachedSurface(&caps, &display.backBuffer) == DD_OK;
    }

    // Raw 16-bit values into the back buffer, `value(x, y)` per pixel.
    template <typename Function> void DrawBackBuffer(Function value)
    {
        DDSURFACEDESC description = {};
        description.dwSize = sizeof(description);
        ASSERT_EQ(display.backBuffer->Lock(NULL, &description, DDLOCK_WAIT, NULL), DD_OK);
        ASSERT_EQ(description.ddpfPixelFormat.dwRGBBitCount, 16u);
        auto* base = static_cast<uint8_t*>(description.lpSurface);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const uint16_t raw = value(x, y);
                std::memcpy(base + y * description.lPitch + x * 2, &raw, 2);
            }
        display.backBuffer->Unlock(NULL);
    }

    HRESULT Present()
    {
        RECT all = { 0, 0, 640, 480 };
        return display.primary->BltFast(0, 0, display.backBuffer, &all, DDBLTFAST_WAIT);
    }

    platform::host::HeadlessHost& host = platform::host::TheHeadlessHost();
    HWND window = nullptr;
    FullScreenDisplay display;
};

TEST(Rgb565Conversion, ChannelsWidenToFullIntensityAndNarrowBack)
{
    using platform::rgb565::FromXrgb;
    using platform::rgb565::ToXrgb;
    EXPECT_EQ(ToXrgb(0xFFFF), 0xFFFFFFu);
    EXPECT_EQ(ToXrgb(0xF81F), 0xFF00FFu);
    EXPECT_EQ(ToXrgb(0x07E0), 0x00FF00u);
    EXPECT_EQ(ToXrgb(0x001F), 0x0000FFu);
    EXPECT_EQ(ToXrgb(0x0000), 0u);
    // The top bits repeat into the low ones: 0b10000 -> 0b10000100.
    EXPECT_EQ(ToXrgb(0x8000), 0x840000u);
    EXPECT_EQ(ToXrgb(0x0400), 0x008200u);
    EXPECT_EQ(ToXrgb(0x0001), 0x000008u);
    // Narrowing keeps each channel's top bits, so every 5-6-5 value comes back.
    EXPECT_EQ(FromXrgb(0xF0F0F0), 0xF79Eu);
    for (uint32_t pixel = 0; pixel <= 0xFFFF; ++pixel)
        ASSERT_EQ(FromXrgb(ToXrgb(uint16_t(pixel))), pixel);
}

TEST_F(FullScreenTest, SetDisplayModeEntersAndReleaseLeaves)
{
    EXPECT_FALSE(headless::IsFullScreen());
    ASSERT_TRUE(SetUpFullScreen());
    EXPECT_TRUE(headless::IsFullScreen());
    // Nothing drawn yet: the whole 640 by 480 display is black.
    headless::Capture screen = headless::CaptureScreen();
    ASSERT_EQ(screen.width, 640);
    ASSERT_EQ(screen.height, 480);
    EXPECT_EQ(screen.At(320, 240), 0u);

    // The surfaces alone do not hold the display, nor one of two references.
    display.directDraw->AddRef();
    EXPECT_EQ(display.directDraw->Release(), 1u);
    display.backBuffer->Release();
    display.primary->Release();
    display.backBuffer = display.primary = nullptr;
    EXPECT_TRUE(headless::IsFullScreen());
    display.directDraw->Release();
    display.directDraw = nullptr;
    EXPECT_FALSE(headless::IsFullScreen());
    // The capture is the window's client area again.
    EXPECT_EQ(headless::CaptureScreen().width, 640);
    EXPECT_EQ(headless::CaptureScreen().height, 480);
}

TEST_F(FullScreenTest, NormalLevelGivesTheDisplayBack)
{
    ASSERT_TRUE(SetUpFullScreen());
    ASSERT_EQ(display.directDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    EXPECT_FALSE(headless::IsFullScreen());
    // The surfaces of the old mode are gone with it.
    EXPECT_EQ(Present(), DDERR_SURFACELOST);
}

TEST_F(FullScreenTest, RefusedModesAndFaultsLeaveNoFullScreen)
{
    display.directDraw = CreateExclusive();
    ASSERT_NE(display.directDraw, nullptr);
    headless::FailNext("SetDisplayMode");
    EXPECT_NE(display.directDraw->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    EXPECT_NE(display.directDraw->SetDisplayMode(800, 600, 16, 0, 0), DD_OK);
    EXPECT_FALSE(headless::IsFullScreen());
    EXPECT_EQ(display.directDraw->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    EXPECT_TRUE(headless::IsFullScreen());
}

TEST_F(FullScreenTest, BltFastOntoThePrimaryPresentsConvertedPixels)
{
    ASSERT_TRUE(SetUpFullScreen());
    // Three bands, and one white pixel in each corner.
    DrawBackBuffer([](int x, int y) -> uint16_t {
        if ((x == 0 || x == 639) && (y == 0 || y == 479)) return 0xFFFF;
        if (x < 200) return 0xF81F;
        if (x < 400) return 0x07E0;
        return 0x0000;
    });
    const int before = host.FullScreenPresentations();
    ASSERT_EQ(Present(), DD_OK);
    EXPECT_EQ(host.FullScreenPresentations(), before + 1);

    headless::Capture screen = headless::CaptureScreen();
    ASSERT_EQ(screen.width, 640);
    ASSERT_EQ(screen.height, 480);
    EXPECT_EQ(screen.At(100, 240), 0xFF00FFu);
    EXPECT_EQ(screen.At(199, 0 + 1), 0xFF00FFu);
    EXPECT_EQ(screen.At(200, 240), 0x00FF00u);
    EXPECT_EQ(screen.At(399, 479 - 1), 0x00FF00u);
    EXPECT_EQ(screen.At(400, 240), 0u);
    EXPECT_EQ(screen.At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(screen.At(639, 0), 0xFFFFFFu);
    EXPECT_EQ(screen.At(0, 479), 0xFFFFFFu);
    EXPECT_EQ(screen.At(639, 479), 0xFFFFFFu);
}

// The headless screen fetches a full-screen frame from the primary only
// when looked at; a primary released first leaves its last picture shown.
TEST_F(FullScreenTest, ReleasedPrimaryLeavesItsLastPictureOnTheScreen)
{
    ASSERT_TRUE(SetUpFullScreen());
    DrawBackBuffer([](int x, int) -> uint16_t { return x < 320 ? 0x07E0 : 0x001F; });
    ASSERT_EQ(Present(), DD_OK);
    display.backBuffer->Release();
    display.primary->Release();
    display.backBuffer = display.primary = nullptr;
    ASSERT_TRUE(headless::IsFullScreen());
    headless::Capture screen = headless::CaptureScreen();
    ASSERT_EQ(screen.width, 640);
    EXPECT_EQ(screen.At(10, 10), 0x00FF00u);
    EXPECT_EQ(screen.At(630, 470), 0x0000FFu);
}

TEST_F(FullScreenTest, OtherSurfacesDoNotReachTheDisplay)
{
    ASSERT_TRUE(SetUpFullScreen());
    const int before = host.FullScreenPresentations();
    DrawBackBuffer([](int, int) -> uint16_t { return 0xFFFF; });
    DDBLTFX effects = {};
    effects.dwSize = sizeof(effects);
    effects.dwFillColor = 0x07E0;
    ASSERT_EQ(display.backBuffer->Blt(NULL, NULL, NULL, DDBLT_COLORFILL | DDBLT_WAIT, &effects), DD_OK);
    EXPECT_EQ(host.FullScreenPresentations(), before);
    EXPECT_EQ(headless::CaptureScreen().At(10, 10), 0u);
    // A fill of the primary itself is shown.
    ASSERT_EQ(display.primary->Blt(NULL, NULL, NULL, DDBLT_COLORFILL | DDBLT_WAIT, &effects), DD_OK);
    EXPECT_EQ(headless::CaptureScreen().At(10, 10), 0x00FF00u);
}

TEST_F(FullScreenTest, FocusLostLosesEverySurfaceUntilThePrimaryIsRestored)
{
    ASSERT_TRUE(SetUpFullScreen());
    DrawBackBuffer([](int, int) -> uint16_t { return 0x001F; });
    ASSERT_EQ(Present(), DD_OK);

    headless::LoseFocus();
    const int before = host.FullScreenPresentations();
    EXPECT_EQ(Present(), DDERR_SURFACELOST);
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    EXPECT_EQ(display.backBuffer->Lock(NULL, &description, DDLOCK_WAIT, NULL), DDERR_SURFACELOST);
    HDC context = nullptr;
    EXPECT_EQ(display.backBuffer->GetDC(&context), DDERR_SURFACELOST);
    // A failed copy shows nothing new: the old picture stays.
    EXPECT_EQ(host.FullScreenPresentations(), before);
    EXPECT_EQ(headless::CaptureScreen().At(5, 5), 0x0000FFu);

    // Only the primary is restored; the chain comes back with it, with
    // undefined content that the display shows until the next frame.
    ASSERT_EQ(display.primary->Restore(), DD_OK);
    EXPECT_NE(headless::CaptureScreen().At(5, 5), 0x0000FFu);

    // The next frame is whole.
    DrawBackBuffer([](int x, int) -> uint16_t { return x < 320 ? 0xF800 : 0x07E0; });
    ASSERT_EQ(Present(), DD_OK);
    headless::Capture screen = headless::CaptureScreen();
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 640; x += 5)
            ASSERT_EQ(screen.At(x, y), x < 320 ? 0xFF0000u : 0x00FF00u) << x << "," << y;
}

TEST_F(FullScreenTest, FocusLostInAWindowLosesNothing)
{
    display.directDraw = CreateExclusive();
    ASSERT_NE(display.directDraw, nullptr);
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    description.dwWidth = description.dwHeight = 8;
    IDirectDrawSurface* surface = nullptr;
    ASSERT_EQ(display.directDraw->CreateSurface(&description, &surface, NULL), DD_OK);
    headless::LoseFocus();
    EXPECT_EQ(surface->Lock(NULL, &description, DDLOCK_WAIT, NULL), DD_OK);
    surface->Unlock(NULL);
    surface->Release();
}

TEST_F(FullScreenTest, ResetLeavesFullScreen)
{
    ASSERT_TRUE(SetUpFullScreen());
    headless::Reset();
    EXPECT_FALSE(headless::IsFullScreen());
    // Objects abandoned by the reset stay safe to call and release.
    EXPECT_EQ(Present(), DDERR_SURFACELOST);
}

} // namespace

TEST_F(FullScreenTest, ThePrimaryLivesInTheDisplaysMemoryUntilFullScreenEnds)
{
    ASSERT_TRUE(SetUpFullScreen());
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    ASSERT_EQ(display.primary->Lock(NULL, &description, DDLOCK_WAIT, NULL), DD_OK);
    const uint8_t* lent = host.Lend(platform::host::Screen::FullScreen, 640, 480, Rectangle {}).pixels;
    EXPECT_EQ(description.lpSurface, lent) << "a frame on the primary is on the screen without a copy";
    display.primary->Unlock(NULL);

    DrawBackBuffer([](int, int) -> uint16_t { return 0x07E0; });
    ASSERT_EQ(Present(), DD_OK);
    ASSERT_EQ(display.directDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    // The old primary goes on in memory of its own: restoring it fills that
    // with the lost pattern, and leaves the display's memory alone.
    ASSERT_EQ(display.primary->Restore(), DD_OK);
    ASSERT_EQ(display.primary->Lock(NULL, &description, DDLOCK_WAIT, NULL), DD_OK);
    EXPECT_NE(description.lpSurface, lent);
    display.primary->Unlock(NULL);
    uint16_t shown = 0;
    std::memcpy(&shown, lent, sizeof(shown));
    EXPECT_EQ(shown, 0x07E0);
}

namespace {

// The headless host as a host with no memory to lend for full screen.
class NoFullScreenMemoryHost final : public platform::host::Host {
public:
    explicit NoFullScreenMemoryHost(platform::host::Host& inner)
        : inner_(inner)
    {
    }
    bool HasDisplay() override { return inner_.HasDisplay(); }
    Rectangle DesktopRect() override { return inner_.DesktopRect(); }
    void CreateWindow(const std::string& title, const Rectangle& outer, int bar) override
    {
        inner_.CreateWindow(title, outer, bar);
    }
    void SetWindowIcon(const platform::ReadOnlyPixelView& icon) override { inner_.SetWindowIcon(icon); }
    void PlaceWindow(const Rectangle& outer, int bar) override { inner_.PlaceWindow(outer, bar); }
    void ShowWindow(bool visible) override { inner_.ShowWindow(visible); }
    void DestroyWindow() override { inner_.DestroyWindow(); }
    platform::PixelView Lend(
        platform::host::Screen screen, int width, int height, const Rectangle& overwritten) override
    {
        if (screen == platform::host::Screen::FullScreen) return {};
        return inner_.Lend(screen, width, height, overwritten);
    }
    void Changed(platform::host::Screen screen, const Rectangle& area) override
    {
        if (screen == platform::host::Screen::FullScreen) ++fullScreenChanges;
        inner_.Changed(screen, area);
    }
    void PollInput(std::vector<platform::host::InputEvent>& out) override { inner_.PollInput(out); }
    bool Idle() override { return inner_.Idle(); }
    int ShowMessageBox(
        const std::string& caption, const std::string& text, platform::host::MessageBoxButtons buttons) override
    {
        return inner_.ShowMessageBox(caption, text, buttons);
    }
    void SetCursorVisible(bool visible) override { inner_.SetCursorVisible(visible); }
    uint32_t TickCount() override { return inner_.TickCount(); }
    void EnterFullScreen(int width, int height) override { inner_.EnterFullScreen(width, height); }
    void LeaveFullScreen() override { inner_.LeaveFullScreen(); }
    bool OpenAudioOutput() override { return inner_.OpenAudioOutput(); }
    void CloseAudioOutput() override { inner_.CloseAudioOutput(); }
    void PresentMenuBar(const platform::ReadOnlyPixelView& bar) override { inner_.PresentMenuBar(bar); }
    bool WaitForInput(uint32_t timeoutMilliseconds) override { return inner_.WaitForInput(timeoutMilliseconds); }

    int fullScreenChanges = 0;

private:
    platform::host::Host& inner_;
};

} // namespace

TEST_F(FullScreenTest, WithoutTheDisplaysMemoryThePrimaryStillWorksAndShowsNothing)
{
    NoFullScreenMemoryHost refusing(host);
    platform::host::Install(&refusing);
    const bool setUp = SetUpFullScreen();
    if (setUp) {
        DrawBackBuffer([](int x, int) -> uint16_t { return uint16_t(x); });
        EXPECT_EQ(Present(), DD_OK);
        DDSURFACEDESC description = {};
        description.dwSize = sizeof(description);
        ASSERT_EQ(display.primary->Lock(NULL, &description, DDLOCK_WAIT, NULL), DD_OK);
        uint16_t pixel = 0;
        std::memcpy(&pixel, static_cast<uint8_t*>(description.lpSurface) + 2 * 7, sizeof(pixel));
        EXPECT_EQ(pixel, 7) << "the primary keeps its pixels in memory of its own";
        display.primary->Unlock(NULL);
    }
    display.Release();
    platform::host::Install(&host);
    ASSERT_TRUE(setUp);
    EXPECT_EQ(refusing.fullScreenChanges, 0);
}
