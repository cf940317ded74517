#include "user/window_list.h"

#include <algorithm>

namespace platform::user {
namespace {

std::unique_ptr<Window>& TopLevel()
{
    static std::unique_ptr<Window> window;
    return window;
}

int& SendDepth()
{
    static int depth = 0;
    return depth;
}

// Deep enough for any real chain of sent messages (the client-size lock
// nests two), shallow enough to stay far from the end of the stack.
constexpr int kMaxSendDepth = 200;

} // namespace

Window* FindWindow(HWND handle)
{
    Window* window = TopLevel().get();
    return (handle && window && window->handle == handle) ? window : nullptr;
}

Window* TopLevelWindow() { return TopLevel().get(); }

Window& AddWindow(std::unique_ptr<Window> window)
{
    TopLevel() = std::move(window);
    return *TopLevel();
}

void RemoveWindow(HWND handle)
{
    if (FindWindow(handle)) TopLevel().reset();
}

void ForgetWindows()
{
    TopLevel().reset();
    SendDepth() = 0;
}

HWND NewWindowHandle()
{
    // Never reset, so handles from before a reset stay invalid as well.
    static uintptr_t serial = 0;
    ++serial;
    return reinterpret_cast<HWND>(0x10000 + serial * 4);
}

bool UpdateClientSize(Window& window)
{
    int width = std::max(0, int(window.outer.right - window.outer.left));
    int height = std::max(0, int(window.outer.bottom - window.outer.top) - window.menuBarHeight);
    if (width == window.clientWidth && height == window.clientHeight) return false;
    window.clientWidth = width;
    window.clientHeight = height;
    return true;
}

Rectangle ClampedOuterRect(int x, int y, int width, int height)
{
    auto clampPosition = [](int value) { return std::clamp(value, -kMaxWindowExtent, kMaxWindowExtent); };
    const int64_t left = clampPosition(x);
    const int64_t top = clampPosition(y);
    return Rectangle { left, top, left + std::clamp(width, 0, kMaxWindowExtent),
        top + std::clamp(height, 0, kMaxWindowExtent) };
}

Rectangle ClientRectOnScreen(const Window& window)
{
    const int64_t top = window.outer.top + window.menuBarHeight;
    return Rectangle { window.outer.left, top, window.outer.left + window.clientWidth, top + window.clientHeight };
}

LRESULT SendToWindow(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = FindWindow(handle);
    if (!window || !window->procedure) return 0;
    if (SendDepth() >= kMaxSendDepth) return 0;
    // Copied out: the procedure may destroy the window while it runs.
    WNDPROC procedure = window->procedure;
    ++SendDepth();
    LRESULT result = procedure(handle, message, wParam, lParam);
    --SendDepth();
    return result;
}

} // namespace platform::user
