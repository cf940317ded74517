// The character picture revealed and hidden in 38 vertical strips, 10
// pixels apart, whose width grows one pixel per step.
#include "display/drawing.h"
#include "scene/effects.h"
#include "scene/scene_state.h"
#include "scene/step_timer.h"

static void GrowStrips()
{
    if (AdvanceStepTimer(sceneState.wipeTimer, 80.0f, 3.0f, true) && sceneState.stripWidth <= 10)
        ++sceneState.stripWidth;
}

// Each strip shows the picture's own columns at their own place.
static void DrawStrips(int width)
{
    for (int o = 0; o < 380; o += 10)
        DrawKeyed(o, 0, imageTable[CHARACTER_SLOT], o, 0, o + width, 480);
}

static void Reveal(int enable)
{
    if (enable != 1) return;
    if (sceneState.stripWidth > 10) {
        DrawKeyed(0, 0, imageTable[CHARACTER_SLOT], 0, 0, 380, 480);
        return;
    }
    DrawStrips(sceneState.stripWidth);
    if (sceneState.stripWidth == 10) sceneState.wipeRevealed = 1;
}

// Only a completed reveal is hidden strip by strip; an interrupted one
// simply vanishes.
static void Hide(int enable)
{
    if (sceneState.wipeRevealed != 1 || enable != 1 || sceneState.stripWidth > 10) return;
    DrawStrips(10 - sceneState.stripWidth);
    if (sceneState.stripWidth == 10) sceneState.wipeRevealed = 0;
}

void DrawStripWipe(int direction, int enable)
{
    GrowStrips();
    if (direction == 1)
        Reveal(enable);
    else
        Hide(enable);
}
