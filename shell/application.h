// Process-wide values of the application shell, alive for the whole run.
#pragma once

#include <windows.h>

extern HINSTANCE instanceHandle;
extern HWND mainWindow;
// Tick count read at the end of the previous frame's timing step.
extern DWORD lastTick;
// Seconds since the previous frame; every effect's timers run on it.
extern float FrameStep;

// The class of the main window and the window itself, as WinMain makes them.
ATOM RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Seconds between two tick counts; the unsigned difference survives the
// counter's wrap after 2^32 ms.
float ComputeFrameStep(DWORD now, DWORD previous);
