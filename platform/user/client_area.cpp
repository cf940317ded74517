#include "user/client_area.h"

#include <algorithm>

#include "user/window_list.h"

namespace platform::user {
namespace {

Window* WindowOrTopLevel(HWND window) { return window ? FindWindow(window) : TopLevelWindow(); }

constexpr Rectangle kNothing {};

Rectangle WholeClient(const Window& window) { return Rectangle { 0, 0, window.clientWidth, window.clientHeight }; }

} // namespace

bool GetClientArea(HWND handle, ClientArea& area)
{
    Window* window = WindowOrTopLevel(handle);
    if (!window || window->clientWidth <= 0 || window->clientHeight <= 0) return false;
    area.screenRect = ClientRectOnScreen(*window);
    return true;
}

bool LendClientPixels(const Rectangle& overwritten, platform::PixelView& pixels)
{
    Window* window = TopLevelWindow();
    if (!window || window->clientWidth <= 0 || window->clientHeight <= 0) return false;
    const platform::PixelView lent = platform::host::Current().Lend(
        platform::host::Screen::Client, window->clientWidth, window->clientHeight, overwritten);
    // Memory of another size or depth, or rows too short, is not the client area's.
    if (!lent.pixels || lent.width != window->clientWidth || lent.height != window->clientHeight
        || lent.bytesPerPixel != platform::host::kClientBytesPerPixel || !lent.RowsFit() || lent.pitch % 4 != 0)
        return false;
    pixels = lent;
    return true;
}

void ClientPixelsChanged(const Rectangle& changed)
{
    if (!changed.IsEmpty()) platform::host::Current().Changed(platform::host::Screen::Client, changed);
}

std::vector<uint32_t> ClientPicture()
{
    platform::PixelView client;
    if (!LendClientPixels(kNothing, client)) return {};
    std::vector<uint32_t> picture(size_t(client.width) * size_t(client.height));
    for (int y = 0; y < client.height; ++y)
        std::copy_n(client.Row<uint32_t>(y), client.width, picture.begin() + ptrdiff_t(y) * client.width);
    return picture;
}

void ShowClientPicture(const platform::ReadOnlyPixelView& picture)
{
    Window* window = TopLevelWindow();
    if (!window || !picture.pixels || picture.width != window->clientWidth || picture.height != window->clientHeight
        || picture.bytesPerPixel != 4 || !picture.RowsFit())
        return;
    platform::PixelView client;
    if (!LendClientPixels(WholeClient(*window), client)) return;
    for (int y = 0; y < client.height; ++y)
        std::copy_n(picture.Row<uint32_t>(y), client.width, client.Row<uint32_t>(y));
    ClientPixelsChanged(WholeClient(*window));
}

void ClearClientArea()
{
    Window* window = TopLevelWindow();
    platform::PixelView client;
    if (!window || !LendClientPixels(WholeClient(*window), client)) return;
    for (int y = 0; y < client.height; ++y)
        std::fill_n(client.Row<uint32_t>(y), client.width, 0u);
    ClientPixelsChanged(WholeClient(*window));
}

} // namespace platform::user
