// The emblem centred on the screen, growing to 480 pixels and shrinking
// back to nothing, one pixel per frame once its first second is over.
#include "display/drawing.h"
#include "scene/effects.h"
#include "scene/scene_state.h"
#include "scene/step_timer.h"

void DrawZoom()
{
    DrawStretched((640 - sceneState.zoomWidth) / 2, (480 - sceneState.zoomHeight) / 2, imageTable[EMBLEM_SLOT],
        sceneState.zoomWidth, sceneState.zoomHeight, 0, 0, 50, 50);
    // Never reset: after one second of zoom time it fires every frame.
    if (!AdvanceStepTimer(sceneState.zoomTimer, 100.0f, 100.0f, false)) return;
    sceneState.zoomWidth += sceneState.zoomStep;
    sceneState.zoomHeight += sceneState.zoomStep;
    if (sceneState.zoomWidth >= 480) sceneState.zoomStep = -1;
    if (sceneState.zoomWidth <= 0) sceneState.zoomStep = 1;
}
