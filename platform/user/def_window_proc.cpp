#include <windows.h>

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    // The menu loop belongs here: WM_SYSKEYDOWN (Alt, F10, mnemonics) and
    // clicks on the menu bar open the menu modally and post WM_COMMAND.
    default:
        return 0;
    }
}
