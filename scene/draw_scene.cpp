#include "scene/draw_scene.h"

#include "display/image_slot.h"
#include "scene/effects.h"
#include "scene/scene_state.h"

static const char* const sceneImageFiles[6] = {
    "bg01.bmp",
    "bg02.bmp",
    "ch01.bmp",
    "koke.bmp",
    "mul.bmp",
    "chn.bmp",
};

void LoadSceneImages()
{
    if (sceneState.imagesLoaded) return;
    // Set first: a picture that fails to load is not tried again.
    sceneState.imagesLoaded = 1;
    for (int slot = 0; slot < 6; ++slot)
        LoadImageSlot(imageTable[slot], sceneImageFiles[slot]);
    for (int slot = 0; slot < 6; ++slot)
        SetSlotColorKey(imageTable[slot], MAGENTA_KEY_COLOUR);
}

void DrawScene(HWND window)
{
    (void)window;
    LoadSceneImages();
    if (sceneState.tilesOn == 1) DrawTiledScroll(20.0f, 20.0f, imageTable[TILE_SLOT], 0, 0, 15, 25);
    DrawBackground();
    // Called every frame: its timer runs even while nothing is shown.
    DrawStripWipe(sceneState.wipeOn, 1);
    if (sceneState.zoomOn == 1) DrawZoom();
    if (sceneState.captionOn == 1) DrawTypewriterText(captionText);
    if (sceneState.spriteOn == 1) DrawAnimatedSprite();
}
