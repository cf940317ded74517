// The main window's procedure: creation empties the picture table,
// destruction releases the devices, the client area stays 640 by 480, and
// keys, menu commands and the mouse go to the input layer.
#include <windows.h>

#include "display/display_context.h"
#include "display/release_display.h"
#include "shell/application.h"
#include "shell/display_mode_commands.h"
#include "shell/input.h"
#include "sound/sound_device.h"

static void EmptyImageTable()
{
    for (int i = 0; i < IMAGE_TABLE_SIZE; ++i) {
        imageTable[i].surface = NULL;
        imageTable[i].loaded = 0;
    }
}

// Grows or shrinks the window by the difference between the reported client
// size and 640 by 480, whatever the caption and menu bar take.
static void LockClientSize(HWND window, LPARAM lParam)
{
    RECT outer;
    GetWindowRect(window, &outer);
    int outerWidth = (outer.right - (int)LOWORD(lParam)) + 640 - outer.left;
    int outerHeight = (outer.bottom - (int)HIWORD(lParam)) + 480 - outer.top;
    MoveWindow(window, outer.left, outer.top, outerWidth, outerHeight, TRUE);
}

static void ToggleDisplayMode(HWND window)
{
    if (displayContext.fullScreen == 0)
        ChooseFullScreen(window);
    else
        ChooseWindowed(window);
}

// The Window menu sets its mode up whatever the current one is.
static void ChooseDisplayModeOfCommand(HWND window, int id)
{
    if (id == IDM_FULLSCREEN) ChooseFullScreen(window);
    if (id == IDM_WINDOWED) ChooseWindowed(window);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        EmptyImageTable();
        return 0;
    case WM_DESTROY:
        ReleaseSound();
        ReleaseDisplay();
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        LockClientSize(window, lParam);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_F12) ToggleDisplayMode(window);
        HandleKey(wParam, window);
        return 0;
    case WM_COMMAND:
        ChooseDisplayModeOfCommand(window, (int)LOWORD(wParam));
        HandleMenuCommand((int)LOWORD(wParam), window);
        return 0;
    case WM_MOUSEMOVE:
        RecordMousePosition(lParam);
        return 0;
    case MM_MCINOTIFY:
        // No music is ever opened, so there is never a piece to loop.
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
