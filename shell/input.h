// The input layer: menu commands, keys and the mouse, turned into changes
// of the scene.
#pragma once

#include <windows.h>

#include "resources/resource.h"

void HandleMenuCommand(int id, HWND window);
void HandleKey(WPARAM virtualKey, HWND window);
// The scene action of selector value 1..8.
void ApplySelector(int value);
// WM_MOUSEMOVE: client coordinates, unsigned 16-bit halves of lParam.
void RecordMousePosition(LPARAM lParam);
