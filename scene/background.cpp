// The still backgrounds and the one that sways in a sine wave.
#include <math.h>

#include "display/drawing.h"
#include "scene/effects.h"
#include "scene/scene_state.h"
#include "shell/application.h"

// 3.14, not pi: one period of the wave spans a little over 90 columns.
static const float degreesToRadians = 3.14f / 180.0f;

void DrawBackground()
{
    if (sceneState.backgroundMode == 0)
        DrawKeyed(20, 80, imageTable[BACKGROUND_DAY_SLOT], 0, 0, 600, 285);
    else if (sceneState.backgroundMode == 1)
        DrawKeyed(20, 80, imageTable[BACKGROUND_EVENING_SLOT], 0, 0, 600, 285);
    else
        DrawWaveBackground(20, 80, imageTable[BACKGROUND_DAY_SLOT], 0, 0, 600, 285);
}

static void AdvanceWavePhase()
{
    double phase = (double)sceneState.wavePhase + (double)FrameStep * 300.0;
    // The excess over a full turn is dropped, not carried.
    sceneState.wavePhase = phase >= 360.0 ? 0.0f : (float)phase;
}

// How far column `column` moves down, between -5 and 5.
static int WaveOffset(int column)
{
    float degrees = (float)(4 * column) + sceneState.wavePhase;
    return (int)(sin((double)(degrees * degreesToRadians)) * -5.0);
}

void DrawWaveBackground(int x, int y, ImageSlot& slot, int left, int top, int right, int bottom)
{
    AdvanceWavePhase();
    for (int c = left; c <= right - 1; ++c)
        DrawKeyed(x + c - left, y - WaveOffset(c - left), slot, c, top, c + 1, bottom);
}
