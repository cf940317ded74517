// Default handling: closing, and the menu bar opened by keys and clicks,
// the way Windows routes them through WM_SYSCOMMAND.
#include "user/menu_loop.h"
#include "user/system_messages.h"

#include <windows.h>

using namespace platform::user;

namespace {

POINT PointOf(LPARAM lParam) { return POINT { SHORT(LOWORD(lParam)), SHORT(HIWORD(lParam)) }; }

LRESULT SystemCommand(HWND window, WPARAM command, LPARAM lParam)
{
    switch (command & kScCommandMask) {
    case kScClose:
        SendMessageA(window, WM_CLOSE, 0, 0);
        break;
    case kScKeyMenu:
        // lParam 0: Alt or F10 alone; otherwise the mnemonic typed with Alt.
        if (lParam == 0)
            TrackMenuBar(window, MenuStart::Keyboard, 0, POINT {});
        else if (lParam != ' ') // Alt+Space is the system menu, which this window has not
            TrackMenuBar(window, MenuStart::Mnemonic, char32_t(lParam), POINT {});
        break;
    case kScMouseMenu:
        TrackMenuBar(window, MenuStart::Mouse, 0, PointOf(lParam));
        break;
    default:
        break;
    }
    return 0;
}

} // namespace

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SYSKEYDOWN:
        NoteSystemKeyDown(UINT(wParam), (lParam & kKeyWasDown) != 0);
        if (wParam == VK_F4 && (lParam & kKeyContextAlt)) SendMessageA(window, kWmSysCommand, kScClose, 0);
        return 0;
    case kWmSysKeyUp:
        if (SystemKeyUpOpensMenu(UINT(wParam))) SendMessageA(window, kWmSysCommand, kScKeyMenu, 0);
        return 0;
    case kWmSysChar:
        SendMessageA(window, kWmSysCommand, kScKeyMenu, LPARAM(wParam));
        return 0;
    case kWmNcLButtonDown:
        if (wParam == kHitMenu) SendMessageA(window, kWmSysCommand, kScMouseMenu, lParam);
        return 0;
    case kWmSysCommand:
        return SystemCommand(window, wParam, lParam);
    default:
        return 0;
    }
}
