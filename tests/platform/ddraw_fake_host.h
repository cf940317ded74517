// A desktop in memory for DirectDraw's tests: a real window (from the
// window manager) on a fake host, and helpers that read and write surface
// pixels through the program's own interfaces.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <ddraw.h>

#include "common/diagnostics.h"
#include "ddraw/testing_hooks.h"
#include "host/host.h"
#include "host/image_pair.h"
#include "host/screen_memory.h"
#include "screens/display_loss.h"
#include "user/client_area.h"
#include "user/testing_hooks.h"

namespace ddraw_test {

class FakeDisplayHost : public platform::host::Host {
public:
    bool HasDisplay() override { return hasDisplay; }
    platform::Rectangle DesktopRect() override { return desktop; }
    void CreateWindow(const std::string&, const platform::Rectangle&, int) override { }
    void SetWindowIcon(const platform::ReadOnlyPixelView&) override { }
    void PlaceWindow(const platform::Rectangle&, int) override { }
    void ShowWindow(bool) override { }
    void DestroyWindow() override { }
    platform::PixelView Lend(
        platform::host::Screen screen, int width, int height, const platform::Rectangle& overwritten) override
    {
        lastOverwritten = overwritten;
        if (screen == platform::host::Screen::FullScreen) return fullScreen.Lend(width, height, 2);
        if (!movesClientMemory) return client.Lend(width, height, 4);
        return LendMoving(width, height, overwritten);
    }
    void Changed(platform::host::Screen screen, const platform::Rectangle& area) override
    {
        if (screen != platform::host::Screen::Client) return;
        ++presentations;
        lastChanged = area;
        if (movesClientMemory) pair.Shown(area);
    }
    // Black until something is drawn, as a display that has just been set.
    void EnterFullScreen(int width, int height) override
    {
        fullScreen.Lend(width, height, 2);
        fullScreen.Clear();
    }
    void PollInput(std::vector<platform::host::InputEvent>&) override { }
    bool Idle() override { return true; }
    int ShowMessageBox(const std::string&, const std::string&, platform::host::MessageBoxButtons) override
    {
        return IDOK;
    }
    void SetCursorVisible(bool) override { }
    uint32_t TickCount() override { return 0; }
    bool OpenAudioOutput() override { return true; }
    void CloseAudioOutput() override { }
    void LeaveFullScreen() override { }
    void PresentMenuBar(const platform::ReadOnlyPixelView&) override { }
    // Nothing more will come: modal loops give up at once.
    bool WaitForInput(uint32_t) override { return false; }

    // As a desktop host that lets the screen read one picture while the next
    // is drawn: the client memory moves at every change shown, and what a
    // caller promises to overwrite comes filled with a value no window
    // pixel has (its top byte set), so that a promise not kept shows.
    platform::PixelView LendMoving(int width, int height, const platform::Rectangle& overwritten)
    {
        const platform::PixelView first = moving[0].Pixels();
        if (!first.pixels || first.width != width || first.height != height) {
            if (!moving[0].Lend(width, height, 4).pixels || !moving[1].Lend(width, height, 4).pixels) return {};
            pair.Reset();
        }
        platform::Rectangle catchUp {};
        const int index = pair.Acquire(overwritten, catchUp);
        const platform::PixelView lent = moving[index].Pixels(), other = moving[1 - index].Pixels();
        auto at = [](const platform::PixelView& pixels, int64_t x, int64_t y) {
            return reinterpret_cast<uint32_t*>(pixels.pixels + y * pixels.pitch) + x;
        };
        for (int64_t y = catchUp.top; y < catchUp.bottom; ++y)
            std::copy(at(other, catchUp.left, y), at(other, catchUp.right, y), at(lent, catchUp.left, y));
        const platform::Rectangle promised = ClippedTo(overwritten, width, height);
        for (int64_t y = promised.top; y < promised.bottom; ++y)
            for (int64_t x = promised.left; x < promised.right; ++x)
                *at(lent, x, y) = kUnkeptPromise;
        return lent;
    }

    static constexpr uint32_t kUnkeptPromise = 0xFEBADBAD;

    bool hasDisplay = true;
    platform::Rectangle desktop { 0, 0, 1024, 768 };
    platform::host::ScreenMemory client;
    platform::host::ScreenMemory fullScreen;
    bool movesClientMemory = false;
    platform::host::ScreenMemory moving[2];
    platform::host::ImagePair pair;
    int presentations = 0;
    platform::Rectangle lastOverwritten {};
    platform::Rectangle lastChanged {};
};

inline LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

class DirectDrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::host::Install(&host);
        platform::user::ResetForTesting();
        platform::user::SetMenuBarHeight(0);
        platform::ddraw::ResetForTesting();
        platform::diagnostics::ClearFaults();
        platform::diagnostics::StopCallLog();
        platform::diagnostics::ClearCallLog();
    }

    void TearDown() override
    {
        platform::ddraw::ResetForTesting();
        platform::user::ResetForTesting();
        platform::diagnostics::ClearFaults();
        platform::diagnostics::StopCallLog();
        platform::diagnostics::ClearCallLog();
        // The fake host dies with the fixture; leave no dangling host behind.
        platform::host::Install(nullptr);
    }

    // The top-level window, its client area at `x`, `y`, `width` by `height`.
    HWND CreateTopLevelWindow(int x, int y, int width, int height)
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.lpszClassName = "DirectDraw Test";
        RegisterClassA(&windowClass);
        HWND window
            = CreateWindowExA(0, "DirectDraw Test", "test", WS_CAPTION, x, y, width, height, NULL, NULL, NULL, NULL);
        EXPECT_NE(window, nullptr);
        platform::user::ClientArea area;
        EXPECT_TRUE(platform::user::GetClientArea(window, area));
        EXPECT_EQ(area.screenRect.left, x);
        EXPECT_EQ(area.screenRect.top, y);
        EXPECT_EQ(area.screenRect.right - area.screenRect.left, width);
        return window;
    }

    // What the window shows at client position (x, y).
    static uint32_t ClientPixel(int x, int y)
    {
        platform::PixelView client;
        if (!platform::user::LendClientPixels(platform::Rectangle {}, client)) return 0xBADBAD;
        return client.Row<uint32_t>(y)[x];
    }

    static void FillClient(uint32_t value)
    {
        platform::PixelView client;
        ASSERT_TRUE(platform::user::LendClientPixels(platform::Rectangle {}, client));
        for (int y = 0; y < client.height; ++y)
            for (int x = 0; x < client.width; ++x)
                client.Row<uint32_t>(y)[x] = value;
    }

    // A DirectDraw object as the program holds it: IDirectDraw2, one reference.
    static IDirectDraw2* CreateDirectDraw2(DWORD level = DDSCL_NORMAL, HWND window = nullptr)
    {
        IDirectDraw* first = nullptr;
        if (DirectDrawCreate(NULL, &first, NULL) != DD_OK) return nullptr;
        first->SetCooperativeLevel(window, level);
        IDirectDraw2* second = nullptr;
        HRESULT result = first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&second));
        first->Release();
        return result == DD_OK ? second : nullptr;
    }

    static IDirectDrawSurface* CreateOffscreen(
        IDirectDraw2* directDraw, DWORD width, DWORD height, DWORD caps = DDSCAPS_OFFSCREENPLAIN)
    {
        DDSURFACEDESC description = {};
        description.dwSize = sizeof(description);
        description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        description.ddsCaps.dwCaps = caps;
        description.dwWidth = width;
        description.dwHeight = height;
        IDirectDrawSurface* surface = nullptr;
        EXPECT_EQ(directDraw->CreateSurface(&description, &surface, NULL), DD_OK);
        return surface;
    }

    static IDirectDrawSurface* CreatePrimary(IDirectDraw2* directDraw)
    {
        DDSURFACEDESC description = {};
        description.dwSize = sizeof(description);
        description.dwFlags = DDSD_CAPS;
        description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
        IDirectDrawSurface* surface = nullptr;
        EXPECT_EQ(directDraw->CreateSurface(&description, &surface, NULL), DD_OK);
        return surface;
    }

    // Every raw pixel of a surface, row after row (empty if it cannot be locked).
    static std::vector<uint32_t> ReadPixels(IDirectDrawSurface* surface)
    {
        DDSURFACEDESC description = {};
        description.dwSize = sizeof(description);
        if (surface->Lock(NULL, &description, DDLOCK_WAIT, NULL) != DD_OK) return {};
        std::vector<uint32_t> pixels;
        const auto* base = static_cast<const uint8_t*>(description.lpSurface);
        const int bytes = static_cast<int>(description.ddpfPixelFormat.dwRGBBitCount / 8);
        for (DWORD y = 0; y < description.dwHeight; ++y)
            for (DWORD x = 0; x < description.dwWidth; ++x) {
                uint32_t value = 0;
                std::memcpy(&value, base + y * description.lPitch + x * bytes, bytes);
                pixels.push_back(value);
            }
        surface->Unlock(NULL);
        return pixels;
    }

    static uint32_t PixelAt(IDirectDrawSurface* surface, int x, int y)
    {
        DDSURFACEDESC description = {};
        description.dwSize = sizeof(description);
        surface->GetSurfaceDesc(&description);
        std::vector<uint32_t> pixels = ReadPixels(surface);
        size_t index = size_t(y) * description.dwWidth + size_t(x);
        return index < pixels.size() ? pixels[index] : 0xBADBAD;
    }

    // Writes a value per pixel, `value(x, y)`, through Lock.
    template <typename Function> static void WritePixels(IDirectDrawSurface* surface, Function value)
    {
        DDSURFACEDESC description = {};
        description.dwSize = sizeof(description);
        ASSERT_EQ(surface->Lock(NULL, &description, DDLOCK_WAIT, NULL), DD_OK);
        auto* base = static_cast<uint8_t*>(description.lpSurface);
        const int bytes = static_cast<int>(description.ddpfPixelFormat.dwRGBBitCount / 8);
        for (DWORD y = 0; y < description.dwHeight; ++y)
            for (DWORD x = 0; x < description.dwWidth; ++x) {
                uint32_t v = value(int(x), int(y));
                std::memcpy(base + y * description.lPitch + x * bytes, &v, bytes);
            }
        surface->Unlock(NULL);
    }

    static HRESULT Fill(IDirectDrawSurface* surface, RECT* rect, DWORD value)
    {
        DDBLTFX effects = {};
        effects.dwSize = sizeof(effects);
        effects.dwFillColor = value;
        return surface->Blt(rect, NULL, NULL, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
    }

    FakeDisplayHost host;
};

} // namespace ddraw_test
