#include "user/client_area.h"

#include "host/host.h"
#include "user/window_list.h"

namespace platform::user {
namespace {

Window* WindowOrTopLevel(HWND window) { return window ? FindWindow(window) : TopLevelWindow(); }

} // namespace

bool GetClientArea(HWND handle, ClientArea& area)
{
    Window* window = WindowOrTopLevel(handle);
    if (!window || window->clientWidth <= 0 || window->clientHeight <= 0) return false;
    area.screenRect = ClientRectOnScreen(*window);
    area.pixels = window->clientPixels.data();
    area.pitchPixels = window->clientWidth;
    return true;
}

void PresentClientArea(HWND handle)
{
    Window* window = WindowOrTopLevel(handle);
    if (!window || window->clientPixels.empty()) return;
    platform::host::Current().PresentClient(platform::host::PixelView {
        window->clientPixels.data(), window->clientWidth, window->clientHeight, window->clientWidth, true });
}

} // namespace platform::user
