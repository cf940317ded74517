// Everything the scene remembers from one frame to the next: the user's
// switches, the mouse, and each effect's positions, sizes and timers.
#pragma once

#include <windows.h>

struct SceneState {
    // Switches and input, written by the input layer.
    int backgroundMode; // 0: bg01 still, 1: bg02 still, other: bg01 swaying
    int tilesOn;
    int spriteOn;
    int zoomOn;
    int wipeOn; // 1 reveals the character, 0 hides it
    int captionOn;
    int selector; // 0 until a selector key is pressed, then 1..8
    int mouseX;
    int mouseY;

    // Effect state, written by the effects.
    BYTE imagesLoaded;
    float scrollX;
    float scrollY;
    int tileRow;
    int tileColumn;
    float wavePhase; // degrees, 0 to below 360
    int stripWidth; // 1..11
    float wipeTimer;
    int wipeRevealed;
    int zoomWidth;
    int zoomHeight;
    int zoomStep; // +1 growing, -1 shrinking
    float zoomTimer; // never reset
    int spriteFrame; // 0..2
    float spriteTimer;
    int captionLength; // bytes of the caption shown
    float captionTimer;
};

extern SceneState sceneState;

SceneState StartSceneState();
// Back to the state at start.
void ResetSceneState();
