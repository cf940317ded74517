// The one top-level window and what the window manager keeps about it.
// Handles are never reused, so a handle kept past DestroyWindow stays invalid.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <windows.h>

#include "common/rectangle.h"

namespace platform::user {

struct Window {
    HWND handle = nullptr;
    WNDPROC procedure = nullptr;
    std::string titleCp932;
    Rectangle outer {};
    int menuBarHeight = 0; // 0: no menu bar
    HMENU menu = nullptr; // a menu handle given at creation
    int menuResourceId = 0; // the class menu, where it names a resource number
    bool visible = false;
    bool destroying = false; // WM_DESTROY has been sent

    // The client area's size; its pixels live in memory the host lends.
    int clientWidth = 0;
    int clientHeight = 0;
};

// The window of `handle`, or null when it is not a live window.
Window* FindWindow(HWND handle);
// The top-level window, or null when there is none.
Window* TopLevelWindow();
Window& AddWindow(std::unique_ptr<Window> window);
void RemoveWindow(HWND handle);
void ForgetWindows();
HWND NewWindowHandle();

// Client size from the outer rectangle: the menu bar sits above the client.
// True when the size changed.
bool UpdateClientSize(Window& window);
// Outer rectangles are kept within this many pixels each way, so absurd
// sizes never turn into absurd client buffers.
constexpr int kMaxWindowExtent = 16384;
Rectangle ClampedOuterRect(int x, int y, int width, int height);
Rectangle ClientRectOnScreen(const Window& window);

// Calls the window procedure at once. Sends nested deeper than a sane
// program ever goes (a WM_SIZE handler that never settles) are refused with
// 0 instead of running the stack out.
LRESULT SendToWindow(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace platform::user
