// The desktop host's window: made on a driver that can give it pixels, its
// icon, its place and size, and the memory it is drawn from.
#include "host/sdl/sdl_host.h"

#include <algorithm>
#include <cstdio>

#include "host/desktop_scale.h"
#include "host/sdl/sdl_geometry.h"
#include "host/sdl/x11_desktop.h"

namespace platform::host {

using namespace sdl_geometry;

namespace {

bool HasOpaquePixel(const std::vector<uint32_t>& argb)
{
    return std::any_of(argb.begin(), argb.end(), [](uint32_t pixel) { return (pixel >> 24) != 0; });
}

} // namespace

// Where the driver cannot make the window or give it pixels, the next driver
// is tried: a window nobody can see must not run on.
bool SdlHost::OpenWindow(const std::string& titleUtf8, const Rectangle& outer)
{
    const Rectangle screen = ScaledRect(outer, windowScale_);
    // Not resizable, as a window with a caption and a system menu only. On
    // Wayland, as many pixels as the output has for it.
    const Uint32 flags = SDL_WINDOW_HIDDEN | (OnWayland() ? SDL_WINDOW_ALLOW_HIGHDPI : 0);
    auto create = [&](Uint32 withFlags) {
        return SDL_CreateWindow(
            titleUtf8.c_str(), int(screen.left), int(screen.top), Width(screen), Height(screen), withFlags);
    };
    window_ = create(flags);
    int width = 0, height = 0, pixelWidth = 0, pixelHeight = 0;
    if (window_) {
        SDL_GetWindowSize(window_, &width, &height);
        SDL_GetWindowSizeInPixels(window_, &pixelWidth, &pixelHeight);
    }
    // A fractional output scale would have SDL stretch our pixels through a
    // viewport; such a window is scaled by the compositor instead, as any
    // program that knows nothing of density (as Xft.dpi 144 gives 1 on X11).
    if (window_ && (flags & SDL_WINDOW_ALLOW_HIGHDPI)
        && (pixelWidth != width * WholeScaleOf(pixelWidth, pixelHeight, width, height))) {
        SDL_DestroyWindow(window_);
        window_ = create(flags & ~SDL_WINDOW_ALLOW_HIGHDPI);
    }
    if (!window_) {
        ReportDriver(driver_, "cannot make the window", SDL_GetError());
        return false;
    }
    AskForFixedSizeFrame(window_);
    ApplyIcon();
    memory_ = OpenWindowMemory();
    if (!memory_) {
        ReportDriver(driver_, "cannot give the window pixels", SDL_GetError());
        SDL_DestroyWindow(window_);
        window_ = nullptr;
        return false;
    }
    SDL_GetWindowSize(window_, &width, &height);
    SDL_GetWindowSizeInPixels(window_, &memoryWidth_, &memoryHeight_);
    TakeScale(width, height);
    return true;
}

// Images the X server reads straight from our memory where it offers them,
// buffers shared with a Wayland compositor, else SDL's window surface.
std::unique_ptr<WindowMemory> SdlHost::OpenWindowMemory() const
{
    if (std::unique_ptr<WindowMemory> memory = OpenX11SharedImages(window_)) return memory;
    if (std::unique_ptr<WindowMemory> memory = OpenWaylandBuffers(window_)) return memory;
    return OpenWindowSurface(window_);
}

void SdlHost::TakeScale(int windowWidth, int windowHeight)
{
    pixelsPerUnit_ = WholeScaleOf(memoryWidth_, memoryHeight_, windowWidth, windowHeight);
    scale_ = windowScale_ * pixelsPerUnit_;
}

void SdlHost::CreateWindow(const std::string& titleUtf8, const Rectangle& outer, int menuBarHeight)
{
    if (!video_ || window_) return;
    menuBarHeight_ = menuBarHeight;
    while (!OpenWindow(titleUtf8, outer)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        video_ = StartVideo();
        if (!video_) return;
    }
}

void SdlHost::SetWindowIcon(const ReadOnlyPixelView& icon)
{
    if (!icon.pixels || icon.width <= 0 || icon.height <= 0 || icon.bytesPerPixel != 4 || !icon.RowsFit()) return;
    icon_.clear();
    for (int y = 0; y < icon.height; ++y) {
        const uint32_t* row = icon.Row<uint32_t>(y);
        icon_.insert(icon_.end(), row, row + icon.width);
    }
    // A picture without alpha means an opaque one, not an invisible one.
    if (!HasOpaquePixel(icon_))
        for (uint32_t& pixel : icon_)
            pixel |= 0xFF000000u;
    iconWidth_ = icon.width;
    iconHeight_ = icon.height;
    ApplyIcon();
}

void SdlHost::ApplyIcon()
{
    if (!window_ || icon_.empty()) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        icon_.data(), iconWidth_, iconHeight_, 32, iconWidth_ * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window_, surface); // copies the pixels
    SDL_FreeSurface(surface);
}

void SdlHost::PlaceWindow(const Rectangle& outer, int menuBarHeight)
{
    if (!window_) return;
    if (menuBarHeight != menuBarHeight_) MoveClientOutOfWindow();
    menuBarHeight_ = menuBarHeight;
    const Rectangle screen = ScaledRect(outer, windowScale_);
    if (InFullScreen()) {
        windowedOuter_ = screen;
        return;
    }
    SDL_SetWindowPosition(window_, int(screen.left), int(screen.top));
    SDL_SetWindowSize(window_, Width(screen), Height(screen));
    KeepFixedSize();
    RedrawAll();
}

// SDL's wayland driver tells the compositor a fixed-size window's size as
// its least and its largest only when a limit is set; a tiling compositor
// (sway) then floats the window, as a dialog, rather than stretching it
// over the output. A limit of 1 by 1 never holds the window itself to a
// size, and SDL ignores it for a window that is not resizable.
void SdlHost::KeepFixedSize()
{
    if (!OnWayland() || InFullScreen() || (SDL_GetWindowFlags(window_) & SDL_WINDOW_HIDDEN)) return;
    SDL_SetWindowMinimumSize(window_, 1, 1);
}

void SdlHost::ShowWindow(bool visible)
{
    if (!window_) return;
    if (visible) {
        SDL_ShowWindow(window_);
        KeepFixedSize();
        RedrawAll();
    } else {
        SDL_HideWindow(window_);
    }
}

void SdlHost::DestroyWindow()
{
    if (!window_) return;
    // The client pixels outlive the window's memory, which goes first: it
    // draws on the window.
    MoveClientOutOfWindow();
    memory_.reset();
    SDL_DestroyWindow(window_);
    window_ = nullptr;
}

void SdlHost::FitWindowMemory()
{
    int width = 0, height = 0, pixelWidth = 0, pixelHeight = 0;
    SDL_GetWindowSize(window_, &width, &height);
    SDL_GetWindowSizeInPixels(window_, &pixelWidth, &pixelHeight);
    if (!memory_ || (pixelWidth == memoryWidth_ && pixelHeight == memoryHeight_)) return;
    MoveClientOutOfWindow();
    if (!memory_->Resize(pixelWidth, pixelHeight)) {
        memory_ = OpenWindowSurface(window_);
        if (!memory_)
            std::fprintf(stderr, "platform: no memory for a window of %d by %d pixels; it shows nothing\n", pixelWidth,
                pixelHeight);
    }
    memoryWidth_ = pixelWidth;
    memoryHeight_ = pixelHeight;
    TakeScale(width, height);
}

} // namespace platform::host
