// The input layer: menu commands, keys and the mouse, turned into changes
// of the scene.
#pragma once

#include <windows.h>

// Item ids of menu 102, as resources/sample.rc defines them.
#define IDM_EXIT 40001
#define IDM_FULLSCREEN 40002
#define IDM_WINDOWED 40003
#define IDM_BACKGROUND1 40004
#define IDM_BACKGROUND2 40005
#define IDM_SWAYING_BACKGROUND 40006
#define IDM_KOKESHI 40007
#define IDM_MULTI 40008
#define IDM_ZOOM 40009
#define IDM_CHARACTER 40010
#define IDM_TEXT 40015

void HandleMenuCommand(int id, HWND window);
void HandleKey(WPARAM virtualKey, HWND window);
// The scene action of selector value 1..8.
void ApplySelector(int value);
// WM_MOUSEMOVE: client coordinates, unsigned 16-bit halves of lParam.
void RecordMousePosition(LPARAM lParam);
