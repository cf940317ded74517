// The desktop host's full screen: the window over the whole desktop at its
// own resolution, the picture letterboxed on it, and what switching away does.
#include "host/sdl/sdl_host.h"

#include <algorithm>
#include <cstdio>

#include "host/sdl/sdl_geometry.h"

namespace platform::host {

using namespace sdl_geometry;

void SdlHost::EnterFullScreen(int width, int height)
{
    const bool already = InFullScreen();
    // Black until the program presents its first full-screen frame.
    screens_.EnterFullScreen(width, height);
    if (!window_ || already) return;
    MoveClientOutOfWindow();
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    SDL_GetWindowSize(window_, &w, &h);
    windowedOuter_ = Rectangle { x, y, x + w, y + h };
    // The desktop's own resolution: no real mode change, pixels stay square.
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
        std::fprintf(stderr, "platform: cannot go full screen: %s\n", SDL_GetError());
    SDL_RaiseWindow(window_);
    RedrawAll();
}

void SdlHost::LeaveFullScreen()
{
    if (!InFullScreen()) return;
    screens_.LeaveFullScreen();
    if (!window_) return;
    SDL_SetWindowFullscreen(window_, 0);
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window_);
    SDL_SetWindowPosition(window_, int(windowedOuter_.left), int(windowedOuter_.top));
    SDL_SetWindowSize(window_, Width(windowedOuter_), Height(windowedOuter_));
    KeepFixedSize();
    RedrawAll();
}

// The picture goes into the box between the bars: in square blocks where
// the factor is whole, else scaled nearest-neighbour. The bars are filled
// only when `withBars`; between frames they stay as they were.
void SdlHost::DrawFullScreen(bool withBars)
{
    if (!memory_) return;
    const Letterbox box = FitPicture(screens_.DisplayWidth(), screens_.DisplayHeight(), memoryWidth_, memoryHeight_);
    const SDL_Rect whole { 0, 0, memoryWidth_, memoryHeight_ };
    const SDL_Rect boxRect = Clipped(SDL_Rect { box.x, box.y, box.width, box.height }, memoryWidth_, memoryHeight_);
    const PixelView window = memory_->Acquire(withBars ? whole : boxRect);
    if (!window.pixels) return;
    const ReadOnlyPixelView picture = screens_.DisplayPicture();
    if (!screens_.DrawDisplayLetterboxed(window, withBars) && picture.pixels) {
        SDL_Surface* from = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(picture.pixels), picture.width,
            picture.height, 32, picture.pitch, SDL_PIXELFORMAT_RGB888);
        SDL_Surface* to = SDL_CreateRGBSurfaceWithFormatFrom(
            window.pixels, window.width, window.height, 32, window.pitch, SDL_PIXELFORMAT_RGB888);
        if (from && to) {
            SDL_Rect target { box.x, box.y, box.width, box.height };
            SDL_SetSurfaceBlendMode(from, SDL_BLENDMODE_NONE);
            SDL_BlitScaled(from, nullptr, to, &target);
        }
        SDL_FreeSurface(from);
        SDL_FreeSurface(to);
    }
    memory_->Put(withBars ? whole : boxRect);
}

// As with an exclusive display on Windows: switching away takes every
// surface from the program, and the full-screen window gets out of the way.
void SdlHost::HandleFullScreenWindowEvent(const SDL_WindowEvent& event, std::vector<InputEvent>& out)
{
    switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_LOST:
        out.push_back(InputEvent { InputEvent::Kind::DisplayLost });
        if (window_ && !(SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED)) SDL_MinimizeWindow(window_);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        out.push_back(InputEvent { InputEvent::Kind::DisplayLost });
        break;
    case SDL_WINDOWEVENT_RESTORED:
        RedrawAll();
        break;
    default:
        break;
    }
}

} // namespace platform::host
