// Where the window is, how big, and whether it shows.
#include "common/win32_rect.h"
#include "host/host.h"
#include "user/client_area.h"
#include "user/menu_bar.h"
#include "user/window_list.h"

namespace platform::user {
namespace {

// Moves the window, tells the host, and reports a changed client size with
// WM_SIZE, which is what lets a client-size lock converge.
BOOL PlaceWindow(HWND handle, const Rectangle& outer)
{
    Window* window = FindWindow(handle);
    if (!window) return FALSE;
    window->outer = outer;
    bool resized = UpdateClientSize(*window);
    platform::host::Current().PlaceWindow(window->outer, window->menuBarHeight);
    PresentMenuBar(*window);
    if (resized) {
        ClearClientArea();
        SendToWindow(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(window->clientWidth, window->clientHeight));
    }
    return TRUE;
}

BOOL SetVisible(HWND handle, bool visible)
{
    Window* window = FindWindow(handle);
    if (!window) return FALSE;
    BOOL wasVisible = window->visible ? TRUE : FALSE;
    window->visible = visible;
    platform::host::Current().ShowWindow(visible);
    return wasVisible;
}

} // namespace
} // namespace platform::user

using namespace platform::user;

BOOL WINAPI MoveWindow(HWND handle, int x, int y, int width, int height, BOOL)
{
    return PlaceWindow(handle, ClampedOuterRect(x, y, width, height));
}

BOOL WINAPI SetWindowPos(HWND handle, HWND, int x, int y, int cx, int cy, UINT flags)
{
    Window* window = FindWindow(handle);
    if (!window) return FALSE;
    // Z-order (topmost or not) means nothing with a single window.
    if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
        const platform::Rectangle& outer = window->outer;
        if (flags & SWP_NOMOVE) {
            x = int(outer.left);
            y = int(outer.top);
        }
        if (flags & SWP_NOSIZE) {
            cx = int(outer.right - outer.left);
            cy = int(outer.bottom - outer.top);
        }
        if (!PlaceWindow(handle, ClampedOuterRect(x, y, cx, cy))) return FALSE;
    }
    if ((flags & SWP_SHOWWINDOW) && FindWindow(handle)) SetVisible(handle, true);
    return FindWindow(handle) ? TRUE : FALSE;
}

BOOL WINAPI ShowWindow(HWND handle, int showCommand) { return SetVisible(handle, showCommand != SW_HIDE); }

BOOL WINAPI UpdateWindow(HWND handle)
{
    // Nothing is painted through WM_PAINT here; the program draws every frame.
    return FindWindow(handle) ? TRUE : FALSE;
}

BOOL WINAPI GetWindowRect(HWND handle, LPRECT rect)
{
    Window* window = FindWindow(handle);
    if (!window || !rect) return FALSE;
    *rect = platform::ToRECT(window->outer);
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND handle, LPRECT rect)
{
    Window* window = FindWindow(handle);
    if (!window || !rect) return FALSE;
    *rect = RECT { 0, 0, window->clientWidth, window->clientHeight };
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND handle, LPPOINT point)
{
    Window* window = FindWindow(handle);
    if (!window || !point) return FALSE;
    const platform::Rectangle client = ClientRectOnScreen(*window);
    point->x += LONG(client.left);
    point->y += LONG(client.top);
    return TRUE;
}
