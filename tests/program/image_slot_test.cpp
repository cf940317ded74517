#include <ddraw.h>

#include "bitmap_files.h"
#include "display/drawing.h"
#include "display/image_slot.h"
#include "display/presentation.h"
#include "display/windowed_display.h"
#include "program_fixture.h"

namespace {

uint32_t Gradient(int x, int y) { return (uint32_t(x & 0xFF) << 16) | (uint32_t(y & 0xFF) << 8) | 0x07; }

class ImageSlotTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        CreateMainWindow();
        ASSERT_TRUE(InitWindowedDisplay());
    }

    // Reads a pixel of a surface straight from its memory.
    static uint32_t RawPixel(IDirectDrawSurface* surface, int x, int y)
    {
        DDSURFACEDESC description = {};
        description.dwSize = sizeof(description);
        if (surface->Lock(NULL, &description, DDLOCK_WAIT, NULL) != DD_OK) return 0xDEADDEAD;
        const uint8_t* row = static_cast<const uint8_t*>(description.lpSurface) + y * description.lPitch;
        uint32_t value = 0;
        if (description.ddpfPixelFormat.dwRGBBitCount == 32)
            value = reinterpret_cast<const uint32_t*>(row)[x];
        else
            value = reinterpret_cast<const uint16_t*>(row)[x];
        surface->Unlock(NULL);
        return value;
    }

    static uint32_t BackBufferPixel(int x, int y) { return RawPixel(displayContext.backBuffer, x, y) & 0xFFFFFF; }

    static void FillBackBuffer(DWORD value)
    {
        RECT all = { 0, 0, 640, 480 };
        DDBLTFX effects = {};
        effects.dwSize = sizeof(effects);
        effects.dwFillColor = value;
        displayContext.backBuffer->Blt(&all, NULL, NULL, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
    }
};

TEST_F(ImageSlotTest, BottomUpAndTopDownFilesLoadTheSamePicture)
{
    std::string bottomUp = WriteBitmap24("slot_bottom_up.bmp", 600, 285, Gradient, false);
    std::string topDown = WriteBitmap24("slot_top_down.bmp", 600, 285, Gradient, true);
    ASSERT_TRUE(LoadImageSlot(imageTable[0], bottomUp.c_str()));
    ASSERT_TRUE(LoadImageSlot(imageTable[1], topDown.c_str()));
    for (ImageSlot* slot : { &imageTable[0], &imageTable[1] }) {
        EXPECT_EQ(slot->loaded, 1);
        EXPECT_EQ(slot->width, 600u);
        EXPECT_EQ(slot->height, 285u);
        EXPECT_GE(slot->pitch, 600 * 4);
    }
    EXPECT_EQ(imageTable[0].fileName, bottomUp.c_str());
    for (auto [x, y] : { std::pair { 0, 0 }, { 599, 0 }, { 0, 284 }, { 599, 284 }, { 300, 140 } }) {
        EXPECT_EQ(RawPixel(imageTable[0].surface, x, y) & 0xFFFFFF, Gradient(x, y));
        EXPECT_EQ(RawPixel(imageTable[1].surface, x, y) & 0xFFFFFF, Gradient(x, y));
    }
}

TEST_F(ImageSlotTest, MissingFileLeavesTheSlotEmpty)
{
    EXPECT_FALSE(LoadImageSlot(imageTable[3], "no-such-picture.bmp"));
    EXPECT_EQ(imageTable[3].loaded, 0);
    EXPECT_EQ(imageTable[3].surface, nullptr);
    headless::StartCallLog();
    SetSlotColorKey(imageTable[3], MAGENTA_KEY_COLOUR);
    EXPECT_EQ(imageTable[3].surface, nullptr);
    EXPECT_TRUE(CallsStartingWith("SetColorKey").empty());
}

TEST_F(ImageSlotTest, MatchColorKeyValueOnTheDesktopFormat)
{
    std::string path = WriteBitmap24("slot_match.bmp", 4, 4, [](int, int) { return 0x123456u; });
    ASSERT_TRUE(LoadImageSlot(imageTable[0], path.c_str()));
    IDirectDrawSurface* surface = imageTable[0].surface;
    EXPECT_EQ(MatchColorKeyValue(surface, MAGENTA_KEY_COLOUR), 0xFF00FFu);
    // The probe pixel is back as it was.
    EXPECT_EQ(RawPixel(surface, 0, 0) & 0xFFFFFF, 0x123456u);
    // CLR_INVALID reads the pixel that is there and writes nothing.
    EXPECT_EQ(MatchColorKeyValue(surface, CLR_INVALID) & 0xFFFFFF, 0x123456u);
    EXPECT_EQ(RawPixel(surface, 0, 0) & 0xFFFFFF, 0x123456u);
}

TEST_F(ImageSlotTest, MatchColorKeyValueOnA565Display)
{
    IDirectDraw* first = NULL;
    ASSERT_EQ(DirectDrawCreate(NULL, &first, NULL), DD_OK);
    ASSERT_EQ(first->SetCooperativeLevel(mainWindow, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    IDirectDraw2* fullScreen = NULL;
    ASSERT_EQ(first->QueryInterface(IID_IDirectDraw2, (void**)&fullScreen), DD_OK);
    first->Release();
    ASSERT_EQ(fullScreen->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    description.dwWidth = 3;
    description.dwHeight = 3;
    IDirectDrawSurface* surface = NULL;
    ASSERT_EQ(fullScreen->CreateSurface(&description, &surface, NULL), DD_OK);
    EXPECT_EQ(MatchColorKeyValue(surface, MAGENTA_KEY_COLOUR), 0xF81Fu);
    EXPECT_EQ(RawPixel(surface, 0, 0), 0u);
    surface->Release();
    fullScreen->Release();
}

TEST_F(ImageSlotTest, ProvisionalKeyIsBlackUntilTheSlotIsKeyed)
{
    // Left half black, right half magenta.
    std::string path
        = WriteBitmap24("slot_keys.bmp", 20, 10, [](int x, int) { return x < 10 ? 0x000000u : 0xFF00FFu; });
    ASSERT_TRUE(LoadImageSlot(imageTable[0], path.c_str()));
    FillBackBuffer(0x00FFFFFF);
    DrawKeyed(100, 100, imageTable[0], 0, 0, 20, 10);
    EXPECT_EQ(BackBufferPixel(105, 105), 0xFFFFFFu); // black left out
    EXPECT_EQ(BackBufferPixel(115, 105), 0xFF00FFu); // magenta drawn

    SetSlotColorKey(imageTable[0], MAGENTA_KEY_COLOUR);
    FillBackBuffer(0x00FFFFFF);
    DrawKeyed(100, 100, imageTable[0], 0, 0, 20, 10);
    EXPECT_EQ(BackBufferPixel(105, 105), 0x000000u);
    EXPECT_EQ(BackBufferPixel(115, 105), 0xFFFFFFu);
}

TEST_F(ImageSlotTest, ReloadGivesEveryLoadedSlotANewMagentaKeyedSurface)
{
    std::string path = WriteBitmap24("slot_reload.bmp", 20, 10, [](int x, int) { return x < 10 ? 0u : 0xFF00FFu; });
    ASSERT_TRUE(LoadImageSlot(imageTable[4], path.c_str())); // keyed raw 0 only
    IDirectDrawSurface* before = imageTable[4].surface;
    before->Release();
    imageTable[4].surface = NULL; // as after ReleaseDisplay
    ReloadLoadedImages();
    ASSERT_NE(imageTable[4].surface, nullptr);
    EXPECT_EQ(imageTable[5].surface, nullptr);
    FillBackBuffer(0x00FFFFFF);
    DrawKeyed(0, 0, imageTable[4], 0, 0, 20, 10);
    EXPECT_EQ(BackBufferPixel(5, 5), 0x000000u);
    EXPECT_EQ(BackBufferPixel(15, 5), 0xFFFFFFu);
}

} // namespace
