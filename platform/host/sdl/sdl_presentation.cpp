// The desktop host's presentation: the client pixels, in the window's own
// memory where it can hold them, the menu bar above them, and the redraw
// of everything.
#include "host/sdl/sdl_host.h"

#include <algorithm>

#include "host/sdl/sdl_geometry.h"

namespace platform::host {

using namespace sdl_geometry;

namespace {

constexpr uint32_t kMenuBarGrey = 0xF0F0F0;
// How long a modal loop sleeps at most while a picture waits for the screen
// to ask for it (a frame at 60 Hz takes 17 ms).
constexpr uint32_t kHeldPictureWait = 5;

// `rows` rows of `width` pixels from `from` to `to`.
void CopyRows(const uint8_t* from, int fromPitch, uint8_t* to, int toPitch, int width, int rows)
{
    for (int y = 0; y < rows; ++y)
        std::copy_n(from + ptrdiff_t(y) * fromPitch, size_t(width) * 4, to + ptrdiff_t(y) * toPitch);
}

} // namespace

PixelView SdlHost::Lend(Screen screen, int width, int height, const Rectangle& overwritten)
{
    if (screen == Screen::Client) return LendClient(width, height, overwritten);
    return screens_.Lend(screen, width, height);
}

void SdlHost::Changed(Screen screen, const Rectangle& area)
{
    if (screen == Screen::Client) {
        ShowClient(area);
        return;
    }
    if (!InFullScreen()) return;
    screens_.WidenDisplay(area);
    DrawFullScreen(false);
}

PixelView SdlHost::LendClient(int width, int height, const Rectangle& overwritten)
{
    if (width != clientWidth_ || height != clientHeight_) {
        MoveClientOutOfWindow();
        clientWidth_ = width;
        clientHeight_ = height;
    }
    const PixelView own = screens_.Lend(Screen::Client, width, height);
    if (!own.pixels || !ClientFitsWindow()) {
        MoveClientOutOfWindow();
        return own;
    }
    if (!clientInWindow_) MoveClientIntoWindow();
    const PixelView window = clientInWindow_ ? memory_->Acquire(ClientOnWindow(overwritten)) : PixelView {};
    if (!window.pixels) return own;
    return window.Part(Rectangle { 0, menuBarHeight_, width, menuBarHeight_ + height });
}

// Only an unscaled window of the right size, in memory that stays ours,
// can hold the client pixels; full screen shows another picture.
bool SdlHost::ClientFitsWindow() const
{
    return window_ && memory_ && memory_->KeepsPixels() && !InFullScreen() && scale_ == 1 && clientWidth_ > 0
        && clientHeight_ > 0 && memoryWidth_ >= clientWidth_ && memoryHeight_ >= menuBarHeight_ + clientHeight_;
}

void SdlHost::MoveClientIntoWindow()
{
    const SDL_Rect area = ClientOnWindow(Rectangle { 0, 0, clientWidth_, clientHeight_ });
    const PixelView window = memory_->Acquire(area);
    const PixelView& own = screens_.Client();
    if (!window.pixels || !own.pixels) return;
    CopyRows(own.pixels, own.pitch, window.Row(area.y), window.pitch, clientWidth_, clientHeight_);
    memory_->Put(area);
    clientInWindow_ = true;
}

void SdlHost::MoveClientOutOfWindow()
{
    if (!clientInWindow_) return;
    clientInWindow_ = false;
    const PixelView window = memory_ ? memory_->Acquire(SDL_Rect {}) : PixelView {};
    const PixelView own = screens_.Lend(Screen::Client, clientWidth_, clientHeight_);
    if (!window.pixels || !own.pixels) return;
    CopyRows(window.Row(menuBarHeight_), window.pitch, own.pixels, own.pitch, clientWidth_, clientHeight_);
}

SDL_Rect SdlHost::InClient(const Rectangle& area) const
{
    return Clipped(SDL_Rect { int(area.left), int(area.top), int(area.right - area.left), int(area.bottom - area.top) },
        clientWidth_, clientHeight_);
}

// Where `area` of the client lies in the window, clipped to both.
SDL_Rect SdlHost::ClientOnWindow(const Rectangle& area) const
{
    const SDL_Rect client = InClient(area);
    return Clipped(
        SDL_Rect { client.x * scale_, (menuBarHeight_ + client.y) * scale_, client.w * scale_, client.h * scale_ },
        memoryWidth_, memoryHeight_);
}

void SdlHost::ShowClient(const Rectangle& area)
{
    if (clientInWindow_) {
        memory_->Put(ClientOnWindow(area));
        return;
    }
    // In full screen the window shows the full-screen picture instead.
    if (!window_ || !memory_ || InFullScreen()) return;
    const SDL_Rect onWindow = ClientOnWindow(area);
    if (SDL_RectEmpty(&onWindow)) return;
    const PixelView window = memory_->Acquire(onWindow);
    if (!window.pixels || !screens_.Client().pixels) return;
    // Scaled on a high-density desktop: each pixel a square block.
    screens_.DrawClient(window, scale_, menuBarHeight_ * scale_, area);
    memory_->Put(onWindow);
}

void SdlHost::RedrawAll()
{
    if (!window_ || !memory_) return;
    FitWindowMemory();
    if (InFullScreen()) {
        DrawFullScreen(true);
        return;
    }
    const PixelView window = memory_->Acquire(SDL_Rect {});
    if (!window.pixels) return;
    DrawMenuBar(window);
    if (!clientInWindow_)
        screens_.DrawClient(window, scale_, menuBarHeight_ * scale_, Rectangle { 0, 0, clientWidth_, clientHeight_ });
    memory_->Put(SDL_Rect { 0, 0, window.width, window.height });
}

void SdlHost::DrawMenuBar(const PixelView& window)
{
    // Grey until the window manager has drawn the bar.
    screens_.DrawMenuBar(window, scale_, menuBarHeight_, &kMenuBarGrey);
}

void SdlHost::PresentMenuBar(const ReadOnlyPixelView& bar)
{
    if (!screens_.KeepMenuBar(bar)) return;
    // Full screen has no bar; it comes back with the window.
    if (!window_ || !memory_ || InFullScreen()) return;
    const SDL_Rect rows
        = Clipped(SDL_Rect { 0, 0, memoryWidth_, menuBarHeight_ * scale_ }, memoryWidth_, memoryHeight_);
    if (SDL_RectEmpty(&rows)) return;
    const PixelView window = memory_->Acquire(rows);
    if (!window.pixels) return;
    DrawMenuBar(window);
    memory_->Put(rows);
}

// Modal loops sleep here; SDL wakes on the next event of any kind, but not
// on the screen asking for the picture that waits for it: that wait is short.
bool SdlHost::WaitForInput(uint32_t timeoutMilliseconds)
{
    const uint32_t longest = memory_ && memory_->Holding() ? kHeldPictureWait : 1000;
    SDL_WaitEventTimeout(nullptr, int(std::min(timeoutMilliseconds, longest)));
    if (memory_) memory_->Flush();
    return true;
}

} // namespace platform::host
