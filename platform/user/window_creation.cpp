// CreateWindowExA and DestroyWindow: the life of the one top-level window.
#include "common/display_size.h"
#include "common/encoding.h"
#include "host/host.h"
#include "user/client_area.h"
#include "user/icons.h"
#include "user/menu_bar.h"
#include "user/message_queue.h"
#include "user/window_classes.h"
#include "user/window_list.h"

#include <algorithm>

namespace platform::user {
namespace {

constexpr int kFallbackPosition = 64;

// CW_USEDEFAULT: centred on the desktop, or near its corner when the window
// does not fit on it.
POINT DefaultPosition(int width, int height)
{
    const Rectangle desktop = platform::host::Current().DesktopRect();
    int spareWidth = int(desktop.right - desktop.left) - width;
    int spareHeight = int(desktop.bottom - desktop.top) - height;
    if (spareWidth < 0 || spareHeight < 0)
        return POINT { LONG(desktop.left + kFallbackPosition), LONG(desktop.top + kFallbackPosition) };
    return POINT { LONG(desktop.left + spareWidth / 2), LONG(desktop.top + spareHeight / 2) };
}

Rectangle InitialOuterRect(int x, int y, int width, int height)
{
    if (width == CW_USEDEFAULT) width = kDisplayWidth;
    if (height == CW_USEDEFAULT) height = kDisplayHeight;
    width = std::clamp(width, 0, kMaxWindowExtent);
    height = std::clamp(height, 0, kMaxWindowExtent);
    if (x == CW_USEDEFAULT) {
        POINT position = DefaultPosition(width, height);
        x = position.x;
        y = position.y;
    }
    return ClampedOuterRect(x, y, width, height);
}

void ShowClassIcon(const WindowClass& windowClass)
{
    const platform::resources::Icon* icon = IconPixels(windowClass.icon);
    if (!icon || !icon->argb || icon->width <= 0 || icon->height <= 0) return;
    // The alpha byte rides along; hosts that do not use it ignore it.
    platform::host::Current().SetWindowIcon(
        platform::ReadOnlyPixelView::OfPixels(icon->argb, icon->width, icon->height, icon->width));
}

} // namespace
} // namespace platform::user

using namespace platform::user;

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
    int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    const WindowClass* windowClass = FindWindowClass(className);
    // One top-level window is all the hosts can show.
    if (!windowClass || TopLevelWindow()) return nullptr;

    auto created = std::make_unique<Window>();
    created->handle = NewWindowHandle();
    created->procedure = windowClass->procedure;
    created->titleCp932 = windowName ? windowName : "";
    created->outer = InitialOuterRect(x, y, width, height);
    created->menu = menu;
    created->menuResourceId = windowClass->menuResourceId;
    created->menuBarHeight = (windowClass->hasMenu || menu) ? MenuBarHeightForNewWindows() : 0;
    Window& window = AddWindow(std::move(created));
    HWND handle = window.handle;

    platform::host::Current().CreateWindow(
        platform::encoding::Cp932ToUtf8(window.titleCp932), window.outer, window.menuBarHeight);
    ShowClassIcon(*windowClass);
    PresentMenuBar(window);
    UpdateClientSize(window);
    ClearClientArea();

    CREATESTRUCTA create {};
    create.lpCreateParams = param;
    create.hInstance = instance;
    create.hMenu = menu;
    create.hwndParent = parent;
    create.cx = int(window.outer.right - window.outer.left);
    create.cy = int(window.outer.bottom - window.outer.top);
    create.x = int(window.outer.left);
    create.y = int(window.outer.top);
    create.style = LONG(style);
    create.lpszName = windowName;
    create.lpszClass = className;
    create.dwExStyle = exStyle;
    if (SendToWindow(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }

    // The procedure may have moved or destroyed the window meanwhile.
    Window* live = FindWindow(handle);
    if (!live) return nullptr;
    SendToWindow(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(live->clientWidth, live->clientHeight));
    if ((style & WS_VISIBLE) && FindWindow(handle)) ShowWindow(handle, SW_SHOW);
    return FindWindow(handle) ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND handle)
{
    Window* window = FindWindow(handle);
    if (!window || window->destroying) return FALSE;
    window->destroying = true;
    SendToWindow(handle, WM_DESTROY, 0, 0);
    platform::host::Current().DestroyWindow();
    DropMessagesFor(handle);
    RemoveWindow(handle);
    return TRUE;
}
