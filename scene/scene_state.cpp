#include "scene/scene_state.h"

#include <string.h>

SceneState sceneState = StartSceneState();

// Zero everywhere but the strip width and the zoom's direction.
SceneState StartSceneState()
{
    SceneState start;
    memset(&start, 0, sizeof(start));
    start.stripWidth = 1;
    start.zoomStep = 1;
    return start;
}

void ResetSceneState() { sceneState = StartSceneState(); }
