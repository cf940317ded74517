#include <ddraw.h>

#include "display/presentation.h"
#include "display/release_display.h"
#include "display/windowed_display.h"
#include "program_fixture.h"

using DisplayTest = ProgramTest;

TEST_F(DisplayTest, WindowedSetUpHoldsEveryObject)
{
    CreateMainWindow();
    ASSERT_TRUE(InitWindowedDisplay());
    EXPECT_NE(displayContext.directDraw, nullptr);
    EXPECT_NE(displayContext.primary, nullptr);
    EXPECT_NE(displayContext.clipper, nullptr);
    EXPECT_NE(displayContext.backBuffer, nullptr);
    EXPECT_EQ(displayContext.fullScreen, 0);
}

TEST_F(DisplayTest, BackBufferFailureLeavesTheRestForRelease)
{
    CreateMainWindow();
    headless::FailNext("CreateSurface(backbuffer)");
    EXPECT_FALSE(InitWindowedDisplay());
    EXPECT_NE(displayContext.directDraw, nullptr);
    EXPECT_NE(displayContext.primary, nullptr);
    EXPECT_NE(displayContext.clipper, nullptr);
    EXPECT_EQ(displayContext.backBuffer, nullptr);

    headless::StartCallLog();
    EXPECT_TRUE(ReleaseDisplay());
    std::vector<std::string> expected = { "Release(clipper)", "Release(primary)", "Release(directdraw)" };
    EXPECT_EQ(CallsStartingWith("Release("), expected);
    EXPECT_EQ(displayContext.directDraw, nullptr);
}

TEST_F(DisplayTest, SecondReleaseReleasesNothing)
{
    CreateMainWindow();
    ASSERT_TRUE(InitWindowedDisplay());
    EXPECT_TRUE(ReleaseDisplay());
    headless::StartCallLog();
    EXPECT_TRUE(ReleaseDisplay());
    EXPECT_TRUE(headless::CallLog().empty());
}

TEST_F(DisplayTest, ReleaseKeepsLoadedSlotsWithoutSurfaces)
{
    CreateMainWindow();
    ASSERT_TRUE(InitWindowedDisplay());
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    description.dwWidth = 8;
    description.dwHeight = 8;
    ASSERT_EQ(displayContext.directDraw->CreateSurface(&description, &imageTable[7].surface, NULL), DD_OK);
    imageTable[7].loaded = 1;
    imageTable[7].fileName = "x.bmp";

    headless::StartCallLog();
    ReleaseDisplay();
    EXPECT_EQ(imageTable[7].surface, nullptr);
    EXPECT_EQ(imageTable[7].loaded, 1);
    EXPECT_STREQ(imageTable[7].fileName, "x.bmp");
    // Pictures go first, the DirectDraw object last.
    std::vector<std::string> released = CallsStartingWith("Release(");
    ASSERT_EQ(released.size(), 5u);
    EXPECT_EQ(released.front(), "Release(offscreen)");
    EXPECT_EQ(released.back(), "Release(directdraw)");
}

TEST_F(DisplayTest, LostPrimaryRestoresPrimaryThenBackBuffer)
{
    CreateMainWindow();
    ASSERT_TRUE(InitWindowedDisplay());
    headless::LoseDisplay();
    headless::StartCallLog();
    PresentFrame();
    std::vector<std::string> expected = { "Restore(primary)", "Restore(backbuffer)" };
    EXPECT_EQ(CallsStartingWith("Restore("), expected);

    // Restored, the next frame is whole again.
    ClearBackBuffer();
    PresentFrame();
    headless::Capture screen = headless::CaptureScreen();
    ASSERT_EQ(screen.width, 640);
    ASSERT_EQ(screen.height, 480);
    EXPECT_TRUE(std::all_of(screen.pixels.begin(), screen.pixels.end(), [](uint32_t p) { return p == 0; }));
}

TEST_F(DisplayTest, ClearFillsRawZeroAndPresentShowsIt)
{
    CreateMainWindow();
    ASSERT_TRUE(InitWindowedDisplay());
    // Paint the back buffer first so the clear has something to undo.
    RECT all = { 0, 0, 640, 480 };
    DDBLTFX effects = {};
    effects.dwSize = sizeof(effects);
    effects.dwFillColor = 0x00FFFFFF;
    ASSERT_EQ(displayContext.backBuffer->Blt(&all, NULL, NULL, DDBLT_COLORFILL | DDBLT_WAIT, &effects), DD_OK);
    PresentFrame();
    EXPECT_EQ(headless::CaptureScreen().At(100, 100), 0x00FFFFFFu);

    EXPECT_EQ(ClearBackBuffer(), DD_OK);
    PresentFrame();
    headless::Capture screen = headless::CaptureScreen();
    EXPECT_TRUE(std::all_of(screen.pixels.begin(), screen.pixels.end(), [](uint32_t p) { return p == 0; }));
}

TEST_F(DisplayTest, FramesWithoutABackBufferTouchNothing)
{
    // A failed set-up has asked the window to close; a frame drawn before
    // the request is handled must not reach for the missing surfaces.
    CreateMainWindow();
    EXPECT_EQ(ClearBackBuffer(), DDERR_INVALIDOBJECT);
    PresentFrame();
}
