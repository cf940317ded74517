// Three 100 by 100 frames, stacked in one picture, shown at the mouse.
#include "display/drawing.h"
#include "scene/effects.h"
#include "scene/scene_state.h"
#include "scene/step_timer.h"

void DrawAnimatedSprite()
{
    if (AdvanceStepTimer(sceneState.spriteTimer, 80.0f, 3.0f, true)) {
        ++sceneState.spriteFrame;
        if (sceneState.spriteFrame == 3) sceneState.spriteFrame = 0;
    }
    int top = 100 * sceneState.spriteFrame;
    DrawKeyed(sceneState.mouseX, sceneState.mouseY, imageTable[SPRITE_SLOT], 0, top, 100, top + 100);
}
