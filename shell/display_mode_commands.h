// The display-mode commands of F12 and the Window menu.
#pragma once

#include <windows.h>

// Sets the full-screen display up (again, when it is current), reloads the
// pictures into it and shows the window without topmost placement.
void ChooseFullScreen(HWND window);
// The same for the windowed display.
void ChooseWindowed(HWND window);
