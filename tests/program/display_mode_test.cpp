#include <cstring>

#include "display/full_screen_display.h"
#include "display/release_display.h"
#include "scene/effects.h"
#include "scene_fixture.h"
#include "shell/input.h"

namespace {

// What a colour becomes on the 16-bit display.
uint32_t In16Bits(uint32_t rgb)
{
    uint32_t r = (rgb >> 19) & 31, g = (rgb >> 10) & 63, b = (rgb >> 3) & 31;
    return Widen565(uint16_t(r << 11 | g << 5 | b));
}

class DisplayModeTest : public SceneTest {
protected:
    static DWORD SourceKeyOf(const ImageSlot& slot)
    {
        DDSURFACEDESC description = {};
        description.dwSize = sizeof(description);
        if (slot.surface == NULL || slot.surface->GetSurfaceDesc(&description) != DD_OK) return 0xDEADBEEF;
        return description.ddckCKSrcBlt.dwColorSpaceLowValue;
    }

    static int PendingCloses()
    {
        int closes = 0;
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            closes += message.message == WM_CLOSE;
        return closes;
    }
};

TEST_F(DisplayModeTest, CursorCounterMovesOncePerSwitch)
{
    int start = headless::CursorCounter();
    EXPECT_TRUE(SwitchToFullScreen());
    EXPECT_TRUE(SwitchToFullScreen());
    EXPECT_TRUE(SwitchToWindowed());
    EXPECT_EQ(headless::CursorCounter(), start - 1);
    EXPECT_FALSE(headless::CursorVisible());
    EXPECT_EQ(displayContext.fullScreen, 0);
}

TEST_F(DisplayModeTest, RefusedModeClosesWithoutAMessageAndHidesTheCursor)
{
    int start = headless::CursorCounter();
    headless::FailNext("SetDisplayMode");
    EXPECT_FALSE(SwitchToFullScreen());
    EXPECT_EQ(displayContext.fullScreen, 1);
    EXPECT_EQ(headless::CursorCounter(), start - 1);
    EXPECT_TRUE(headless::MessageBoxesShown().empty());
    EXPECT_EQ(PendingCloses(), 1);
    // What was made before the failing step waits for WM_DESTROY.
    EXPECT_NE(displayContext.directDraw, nullptr);
    EXPECT_EQ(displayContext.primary, nullptr);
    ReleaseDisplay();
}

TEST_F(DisplayModeTest, FullScreenIsA16BitFlippingChainWithoutClipper)
{
    headless::StartCallLog();
    ASSERT_TRUE(SwitchToFullScreen());
    EXPECT_EQ(displayContext.clipper, nullptr);
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    ASSERT_EQ(displayContext.backBuffer->GetSurfaceDesc(&description), DD_OK);
    EXPECT_EQ(description.dwWidth, 640u);
    EXPECT_EQ(description.dwHeight, 480u);
    EXPECT_EQ(description.ddpfPixelFormat.dwRGBBitCount, 16u);
    EXPECT_EQ(CallsStartingWith("GetAttachedSurface").size(), 1u);
    // Presenting copies the back buffer; the chain is never flipped.
    Frame(0.0f);
    PresentFrame();
    EXPECT_EQ(CallsStartingWith("BltFast(primary)").size(), 1u);
    EXPECT_TRUE(CallsStartingWith("Flip").empty());
}

TEST_F(DisplayModeTest, PicturesComeBackKeyedMagentaInEachMode)
{
    Frame(0.0f);
    EXPECT_EQ(SourceKeyOf(imageTable[TILE_SLOT]), 0xFF00FFu);
    sceneState.tilesOn = 1;
    Key(VK_F12);
    EXPECT_EQ(displayContext.fullScreen, 1);
    for (int slot = 0; slot < 6; ++slot) {
        EXPECT_EQ(imageTable[slot].loaded, 1);
        EXPECT_EQ(SourceKeyOf(imageTable[slot]), 0xF81Fu) << slot;
    }
    // The tiles still show through the background's magenta, in 16 bits.
    std::vector<uint32_t> frame = Frame(0.0f);
    EXPECT_EQ(frame[(80 + 10) * 640 + 170], In16Bits(Marker(TILE_SLOT, 170 % 15, 90 % 25)));
    EXPECT_EQ(frame[(80 + 10) * 640 + 270], In16Bits(Marker(BACKGROUND_DAY_SLOT, 250, 10)));
    Key(VK_F12);
    EXPECT_EQ(displayContext.fullScreen, 0);
    for (int slot = 0; slot < 6; ++slot)
        EXPECT_EQ(SourceKeyOf(imageTable[slot]), 0xFF00FFu) << slot;
    EXPECT_EQ(sceneState.tilesOn, 1);
}

TEST_F(DisplayModeTest, FullScreenShowsTheWindowedPictureIn16Bits)
{
    sceneState.tilesOn = 1;
    Frame(0.0f);
    PresentFrame();
    headless::Capture windowed = headless::CaptureScreen();
    sceneState.scrollX = sceneState.scrollY = 0.0f;
    Key(VK_F12);
    EXPECT_TRUE(headless::IsFullScreen());
    Frame(0.0f);
    PresentFrame();
    headless::Capture full = headless::CaptureScreen();
    ASSERT_EQ(full.width, 640);
    ASSERT_EQ(full.height, 480);
    int wrong = 0;
    for (size_t i = 0; i < full.pixels.size(); ++i)
        wrong += full.pixels[i] != In16Bits(windowed.pixels[i]);
    EXPECT_EQ(wrong, 0);
    Key(VK_F12);
    EXPECT_FALSE(headless::IsFullScreen());
}

TEST_F(DisplayModeTest, FullScreenMenuInFullScreenBuildsItAgain)
{
    Frame(0.0f);
    Menu(IDM_FULLSCREEN);
    int start = headless::CursorCounter();
    headless::StartCallLog();
    Menu(IDM_FULLSCREEN);
    // The old object, then the new one's first interface.
    EXPECT_EQ(CallsStartingWith("Release(directdraw)").size(), 2u);
    EXPECT_EQ(CallsStartingWith("DirectDrawCreate").size(), 1u);
    EXPECT_EQ(CallsStartingWith("SetDisplayMode").size(), 1u);
    EXPECT_EQ(CallsStartingWith("CreateSurface(offscreen").size(), 6u);
    EXPECT_EQ(headless::CursorCounter(), start - 1);
    EXPECT_EQ(displayContext.fullScreen, 1);
    for (int slot = 0; slot < 6; ++slot)
        EXPECT_EQ(SourceKeyOf(imageTable[slot]), 0xF81Fu) << slot;
}

TEST_F(DisplayModeTest, LostFullScreenRestoresThePrimaryOnlyAndTheNextFrameIsWhole)
{
    Frame(0.0f);
    Key(VK_F12);
    Frame(0.0f);
    PresentFrame();
    headless::Capture before = headless::CaptureScreen();
    headless::LoseDisplay();
    headless::StartCallLog();
    Frame(0.0f);
    PresentFrame();
    EXPECT_EQ(CallsStartingWith("Restore(primary)").size(), 1u);
    EXPECT_TRUE(CallsStartingWith("Restore(backbuffer)").empty());
    // The pictures lost with the display come back in the drawing.
    Frame(0.0f);
    Frame(0.0f);
    PresentFrame();
    headless::Capture after = headless::CaptureScreen();
    ASSERT_EQ(after.width, 640);
    EXPECT_EQ(after.pixels, before.pixels);
}

TEST_F(DisplayModeTest, WindowedFailingClosesAfterShowingTheCursor)
{
    ASSERT_TRUE(SwitchToFullScreen());
    int start = headless::CursorCounter();
    headless::FailNext("DirectDrawCreate");
    EXPECT_FALSE(SwitchToWindowed());
    EXPECT_EQ(displayContext.fullScreen, 0);
    EXPECT_EQ(headless::CursorCounter(), start + 1);
    EXPECT_EQ(PendingCloses(), 1);
    EXPECT_TRUE(headless::MessageBoxesShown().empty());
}

TEST_F(DisplayModeTest, SwitchesLeaveTheSceneAlone)
{
    Key(VK_DOWN);
    Key(VK_DOWN);
    sceneState.zoomOn = 1;
    Frame(0.3f);
    SceneState before = sceneState;
    Key(VK_F12);
    Menu(IDM_WINDOWED);
    Menu(IDM_FULLSCREEN);
    EXPECT_EQ(std::memcmp(&before, &sceneState, sizeof(before)), 0);
}

} // namespace
