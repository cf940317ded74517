// The plain way: SDL's window surface, which SDL hands to the window system
// itself (on X11 with MIT-SHM where it can, else with XPutImage) and waits
// for it each time.
#include <vector>

#include "host/sdl/window_memory.h"

namespace platform::host {
namespace {

class WindowSurface final : public WindowMemory {
public:
    explicit WindowSurface(SDL_Window* window)
        : window_(window)
    {
    }

    PixelView Acquire(const SDL_Rect&) override
    {
        surface_ = SDL_GetWindowSurface(window_);
        if (!surface_) return {};
        // A window of the program's own format is drawn straight into;
        // any other gets 0x00RRGGBB memory converted as it is put.
        direct_ = surface_->format->format == SDL_PIXELFORMAT_RGB888 && !SDL_MUSTLOCK(surface_);
        if (direct_)
            return PixelView { static_cast<uint8_t*>(surface_->pixels), surface_->w, surface_->h, surface_->pitch };
        if (stagingWidth_ != surface_->w || stagingHeight_ != surface_->h) {
            stagingWidth_ = surface_->w;
            stagingHeight_ = surface_->h;
            staging_.assign(size_t(surface_->w) * size_t(surface_->h), 0);
        }
        return PixelView::OfPixels(staging_.data(), stagingWidth_, stagingHeight_, stagingWidth_);
    }

    void Put(const SDL_Rect& area) override
    {
        if (!surface_) return;
        SDL_Rect shown;
        const SDL_Rect whole { 0, 0, surface_->w, surface_->h };
        if (!SDL_IntersectRect(&area, &whole, &shown)) return;
        if (!direct_ && !Convert(shown)) return;
        SDL_UpdateWindowSurfaceRects(window_, &shown, 1);
    }

    bool Resize(int, int) override { return true; }
    bool KeepsPixels() const override { return false; }

private:
    bool Convert(const SDL_Rect& area)
    {
        if (SDL_MUSTLOCK(surface_) && SDL_LockSurface(surface_) != 0) return false;
        auto* first = static_cast<uint8_t*>(surface_->pixels) + ptrdiff_t(area.y) * surface_->pitch
            + ptrdiff_t(area.x) * surface_->format->BytesPerPixel;
        SDL_ConvertPixels(area.w, area.h, SDL_PIXELFORMAT_RGB888,
            staging_.data() + ptrdiff_t(area.y) * stagingWidth_ + area.x, stagingWidth_ * 4, surface_->format->format,
            first, surface_->pitch);
        if (SDL_MUSTLOCK(surface_)) SDL_UnlockSurface(surface_);
        return true;
    }

    SDL_Window* window_;
    SDL_Surface* surface_ = nullptr;
    bool direct_ = false;
    std::vector<uint32_t> staging_;
    int stagingWidth_ = 0;
    int stagingHeight_ = 0;
};

} // namespace

std::unique_ptr<WindowMemory> OpenWindowSurface(SDL_Window* window)
{
    if (!window || !SDL_GetWindowSurface(window)) return nullptr;
    return std::make_unique<WindowSurface>(window);
}

} // namespace platform::host
