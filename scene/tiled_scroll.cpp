// A tile repeated over the whole screen, drifting and wrapping by one tile.
#include "display/drawing.h"
#include "scene/effects.h"
#include "scene/scene_state.h"
#include "shell/application.h"

// One tile size at most per frame, keeping the fraction; exactly -size and
// exactly 0 stay as they are.
static float WrapScroll(float offset, int size)
{
    if (offset < (float)-size) offset += (float)size;
    if (offset > 0.0f) offset -= (float)size;
    return offset;
}

// Truncation toward zero. Offsets far beyond the screen (only a frame step
// of days could make one) are held at a distance where no tile shows,
// rather than overflowing the integer.
static int GridOrigin(float offset)
{
    const float farAway = 1000000.0f;
    if (offset > farAway) return (int)farAway;
    if (offset < -farAway) return -(int)farAway;
    return (int)offset;
}

void DrawTiledScroll(float velocityX, float velocityY, ImageSlot& slot, int left, int top, int right, int bottom)
{
    int width = right - left;
    int height = bottom - top;
    // The only caller passes a 15 by 25 tile; an empty one would divide by 0.
    if (width < 1 || height < 1) return;
    int rows = 480 / height + 2;
    int columns = 640 / width + 2;
    // The grid is drawn at the offset the previous frame left.
    int originX = GridOrigin(sceneState.scrollX);
    int originY = GridOrigin(sceneState.scrollY);
    for (sceneState.tileRow = 0; sceneState.tileRow < rows; ++sceneState.tileRow)
        for (sceneState.tileColumn = 0; sceneState.tileColumn < columns; ++sceneState.tileColumn)
            DrawKeyed(width * sceneState.tileColumn + originX, height * sceneState.tileRow + originY, slot, left, top,
                right, bottom);
    sceneState.scrollX = (float)((double)sceneState.scrollX + (double)FrameStep * (double)velocityX);
    sceneState.scrollY = (float)((double)sceneState.scrollY + (double)FrameStep * (double)velocityY);
    sceneState.scrollX = WrapScroll(sceneState.scrollX, width);
    sceneState.scrollY = WrapScroll(sceneState.scrollY, height);
}
