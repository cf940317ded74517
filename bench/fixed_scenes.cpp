#include "fixed_scenes.h"

#include <algorithm>
#include <cstring>

#include <ddraw.h>
#include <testing/testing.h>

#include "display/display_context.h"
#include "display/full_screen_display.h"
#include "display/image_slot.h"
#include "display/presentation.h"
#include "display/release_display.h"
#include "display/windowed_display.h"
#include "scene/draw_scene.h"
#include "scene/effects.h"
#include "scene/scene_state.h"
#include "shell/application.h"

namespace bench {
namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

bool CreateProgramWindow()
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    if (RegisterMainWindowClass(instance) == 0) return false;
    mainWindow = CreateMainWindow(instance);
    return mainWindow != NULL;
}

// The state every frame of `scene` starts from; the pictures stay loaded.
SceneState StateFor(const FixedScene& scene)
{
    SceneState state = StartSceneState();
    state.imagesLoaded = sceneState.imagesLoaded;
    state.backgroundMode = scene.backgroundMode;
    state.wavePhase = kWavePhase;
    state.tilesOn = scene.tiles ? 1 : 0;
    state.scrollX = kScrollX;
    state.scrollY = kScrollY;
    if (scene.wipe) {
        state.wipeOn = 1;
        state.stripWidth = 11;
        state.wipeRevealed = 1;
    }
    if (scene.zoomSize >= 0) {
        state.zoomOn = 1;
        state.zoomWidth = scene.zoomSize;
        state.zoomHeight = scene.zoomSize;
        state.zoomStep = scene.zoomSize >= 480 ? -1 : 1;
    }
    if (scene.caption) {
        state.captionOn = 1;
        state.captionLength = kCaptionBytes;
    }
    if (scene.sprite) {
        state.spriteOn = 1;
        state.mouseX = kSpriteX;
        state.mouseY = kSpriteY;
        state.spriteFrame = kSpriteFrame;
    }
    return state;
}

bool AllPicturesLoaded()
{
    for (int slot = 0; slot < 6; ++slot)
        if (imageTable[slot].surface == NULL) return false;
    return true;
}

uint32_t RawAt(const RawImage& image, int x, int y)
{
    uint32_t value = 0;
    std::memcpy(&value, image.bytes.data() + (size_t(y) * size_t(image.width) + size_t(x)) * image.bytesPerPixel,
        size_t(image.bytesPerPixel));
    return value;
}

RawImage Crop(const RawImage& image, int left, int top, int right, int bottom)
{
    RawImage part;
    part.width = right - left;
    part.height = bottom - top;
    part.bytesPerPixel = image.bytesPerPixel;
    const size_t rowBytes = size_t(part.width) * size_t(part.bytesPerPixel);
    part.bytes.resize(rowBytes * size_t(part.height));
    for (int y = 0; y < part.height; ++y)
        std::memcpy(part.bytes.data() + rowBytes * size_t(y),
            image.bytes.data() + (size_t(top + y) * size_t(image.width) + size_t(left)) * image.bytesPerPixel,
            rowBytes);
    return part;
}

} // namespace

bool ReadProgramBackBuffer(RawImage& image)
{
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    if (displayContext.backBuffer == NULL
        || displayContext.backBuffer->Lock(NULL, &description, DDLOCK_WAIT, NULL) != DD_OK)
        return false;
    image.width = kScreenWidth;
    image.height = kScreenHeight;
    image.bytesPerPixel = int(description.ddpfPixelFormat.dwRGBBitCount / 8);
    const size_t rowBytes = size_t(image.width) * size_t(image.bytesPerPixel);
    image.bytes.resize(rowBytes * size_t(image.height));
    for (int y = 0; y < image.height; ++y)
        std::memcpy(image.bytes.data() + rowBytes * size_t(y),
            static_cast<const uint8_t*>(description.lpSurface) + ptrdiff_t(y) * description.lPitch, rowBytes);
    displayContext.backBuffer->Unlock(NULL);
    return true;
}

const char* ModeName(DisplayMode mode) { return mode == DisplayMode::Window32 ? "window32" : "full16"; }

int BytesPerPixel(DisplayMode mode) { return mode == DisplayMode::Window32 ? 4 : 2; }

const std::vector<FixedScene>& BenchScenes()
{
    static const std::vector<FixedScene> scenes = {
        { "start", 0, false, false, -1, false, false },
        { "tiles", 0, true, false, -1, false, false },
        { "wave", 2, false, false, -1, false, false },
        { "wave_tiles", 2, true, false, -1, false, false },
        { "all", 2, true, true, 480, true, true },
    };
    return scenes;
}

FixedScene ZoomScene(int size) { return { "zoom", 0, false, false, size, false, false }; }

bool OpenProgramDisplay(DisplayMode mode, std::string& error)
{
    CloseProgramDisplay();
    headless::Reset();
    displayContext = DisplayContext {};
    for (ImageSlot& slot : imageTable)
        slot = ImageSlot {};
    mainWindow = NULL;
    FrameStep = 0.0f;
    ResetSceneState();
    if (!CreateProgramWindow()) {
        error = "the program's window cannot be created";
        return false;
    }
    if (!InitWindowedDisplay()) {
        error = "the windowed display cannot be set up";
        return false;
    }
    if (mode == DisplayMode::FullScreen16 && !SwitchToFullScreen()) {
        error = "the full-screen display cannot be set up";
        return false;
    }
    LoadSceneImages();
    if (!AllPicturesLoaded()) {
        error = "the six pictures (bg01.bmp ... chn.bmp) are not all in the current directory";
        return false;
    }
    return true;
}

void CloseProgramDisplay()
{
    if (displayContext.directDraw != NULL) ReleaseDisplay();
}

void DrawProgramFrame(const FixedScene& scene)
{
    sceneState = StateFor(scene);
    FrameStep = 0.0f;
    ClearBackBuffer();
    DrawScene(mainWindow);
    PresentFrame();
}

bool RenderCaptionLayer(CaptionLayer& layer)
{
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    if (displayContext.backBuffer->GetSurfaceDesc(&description) != DD_OK) return false;
    layer.keyRaw = description.ddpfPixelFormat.dwRGBBitCount == 16 ? 0xF81Fu : 0x00FF00FFu;
    RECT whole = { 0, 0, kScreenWidth, kScreenHeight };
    DDBLTFX effects = {};
    effects.dwSize = sizeof(effects);
    effects.dwFillColor = layer.keyRaw;
    if (displayContext.backBuffer->Blt(&whole, NULL, NULL, DDBLT_COLORFILL | DDBLT_WAIT, &effects) != DD_OK)
        return false;
    sceneState = StateFor({ "caption", 0, false, false, -1, true, false });
    FrameStep = 0.0f;
    DrawTypewriterText(captionText);

    RawImage screen;
    if (!ReadProgramBackBuffer(screen)) return false;
    int left = kScreenWidth, top = kScreenHeight, right = 0, bottom = 0;
    for (int y = 0; y < screen.height; ++y)
        for (int x = 0; x < screen.width; ++x)
            if (RawAt(screen, x, y) != layer.keyRaw) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x + 1);
                bottom = std::max(bottom, y + 1);
            }
    if (right <= left) return false;
    layer.image = Crop(screen, left, top, right, bottom);
    layer.left = left;
    layer.top = top;
    return true;
}

} // namespace bench
