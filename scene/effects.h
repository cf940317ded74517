// The effects a frame is made of. Each advances its own timers by the
// frame's FrameStep and draws onto the back buffer.
#pragma once

#include "display/display_context.h"

// Slots of the scene's pictures in the image table.
#define BACKGROUND_DAY_SLOT 0
#define BACKGROUND_EVENING_SLOT 1
#define CHARACTER_SLOT 2
#define TILE_SLOT 3
#define SPRITE_SLOT 4
#define EMBLEM_SLOT 5

// The still or swaying background at (20, 80).
void DrawBackground();
// Draws the picture rectangle column by column, each column moved up or
// down along a sine wave that travels 300 degrees a second.
void DrawWaveBackground(int x, int y, ImageSlot& slot, int left, int top, int right, int bottom);
// The picture rectangle as a tile grid over the whole screen, drifting by
// (velocityX, velocityY) pixels a second.
void DrawTiledScroll(float velocityX, float velocityY, ImageSlot& slot, int left, int top, int right, int bottom);
// The character revealed (direction 1) or hidden in vertical strips.
void DrawStripWipe(int direction, int enable);
// The emblem stretched to a size that grows to 480 and shrinks to 0.
void DrawZoom();
// Three-frame animation with its top-left corner at the mouse.
void DrawAnimatedSprite();
// Types the text out two bytes (one double-byte character) per step, red
// over a black shadow near the bottom of the screen.
void DrawTypewriterText(const char* text);

// The caption's text, 68 Shift-JIS bytes.
extern const char captionText[];
