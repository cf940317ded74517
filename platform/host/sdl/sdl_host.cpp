#include "host/sdl/sdl_host.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "host/desktop_scale.h"
#include "host/letterbox.h"
#include "host/scaled_copy.h"
#include "host/sdl/key_map.h"
#include "host/sdl/quiet_alsa.h"
#include "host/sdl/sdl_message_box.h"
#include "host/sdl/video_drivers.h"
#include "host/sdl/wayland_desktop.h"
#include "host/sdl/x11_desktop.h"

namespace platform::host {
namespace {

constexpr uint32_t kMenuBarGrey = 0xF0F0F0;
// Stands in for the desktop where there is none; the headless host's size.
constexpr int kNoDisplayWidth = 1024;
constexpr int kNoDisplayHeight = 768;
// How long a modal loop sleeps at most while a picture waits for the screen
// to ask for it (a frame at 60 Hz takes 17 ms).
constexpr uint32_t kHeldPictureWait = 5;

int Width(const RECT& r) { return std::max(1, int(r.right - r.left)); }
int Height(const RECT& r) { return std::max(1, int(r.bottom - r.top)); }

// The program's window geometry on the screen, `scale` screen pixels to
// each of its pixels.
RECT ScaledRect(const RECT& r, int scale)
{
    return RECT { r.left * scale, r.top * scale, r.left * scale + Width(r) * scale, r.top * scale + Height(r) * scale };
}

SDL_Rect Clipped(const SDL_Rect& area, int width, int height)
{
    const SDL_Rect whole { 0, 0, width, height };
    SDL_Rect inside {};
    if (!SDL_IntersectRect(&area, &whole, &inside)) return SDL_Rect {};
    return inside;
}

void FillRect(const PixelTarget& target, const SDL_Rect& area, uint32_t value)
{
    const SDL_Rect inside = Clipped(area, target.width, target.height);
    for (int y = inside.y; y < inside.y + inside.h; ++y)
        std::fill_n(target.pixels + ptrdiff_t(y) * target.pitchPixels + inside.x, inside.w, value);
}

// `rows` rows of `width` pixels from `from` to `to`.
void CopyRows(const uint8_t* from, int fromPitch, uint8_t* to, int toPitch, int width, int rows)
{
    for (int y = 0; y < rows; ++y)
        std::copy_n(from + ptrdiff_t(y) * fromPitch, size_t(width) * 4, to + ptrdiff_t(y) * toPitch);
}

bool HasOpaquePixel(const std::vector<uint32_t>& argb)
{
    return std::any_of(argb.begin(), argb.end(), [](uint32_t pixel) { return (pixel >> 24) != 0; });
}

} // namespace

SdlHost::SdlHost()
{
    // The window's close button must arrive as a close of that window, not
    // as a second, application-wide quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Every pixel is drawn in software: handing the window's memory to the
    // X server directly beats uploading it as a texture each frame, which
    // without a GPU is a software renderer spending most of every frame.
    // (On Wayland the host's own buffers go to the compositor instead.)
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // SDL keeps the screen awake while it has a window; a Windows program
    // does not, unless it asks, and this one never does, in full screen
    // neither: the screen saver and the lock come as after any program.
    // Read when the video driver starts; SDL_VIDEO_ALLOW_SCREENSAVER=0 in
    // the environment still overrides it.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // Events alone still turn Ctrl+C into a close where there is no display.
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0)
        std::fprintf(stderr, "platform: SDL could not start: %s\n", SDL_GetError());
    names_ = DesktopNames { std::getenv("SDL_VIDEODRIVER"), std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY") };
    std::vector<std::string> available;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i)
        if (const char* name = SDL_GetVideoDriver(i)) available.emplace_back(name);
    drivers_ = VideoDriverOrder(names_.userChoice, available);
    video_ = StartVideo();
}

SdlHost::~SdlHost()
{
    DestroyWindow();
    SDL_Quit();
}

// Video drivers -----------------------------------------------------------------

bool SdlHost::StartVideo()
{
    while (nextDriver_ < drivers_.size()) {
        const std::string& driver = drivers_[nextDriver_++];
        if (!StartVideoDriver(driver)) continue;
        driver_ = driver;
        if (driver_ == "x11") EndOnLostX11Connection();
        // Read once: the program is told its desktop's size only once, too.
        // A Wayland compositor scales by outputs, which the window learns.
        windowScale_ = OnWayland() ? 1 : ReadDesktopScale();
        return true;
    }
    driver_.clear();
    if (AnyDriverExpected(names_)) std::fprintf(stderr, "platform: no video driver can show the window\n");
    return false;
}

bool SdlHost::StartVideoDriver(const std::string& driver)
{
    const bool expected = DriverExpected(driver, names_);
    if (driver == "wayland" && WaylandCompositorLacksSeat()) {
        if (expected) ReportDriver(driver, "cannot start", "the compositor offers no seat (wl_seat), which SDL needs");
        return false;
    }
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, driver.c_str(), SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (expected) ReportDriver(driver, "cannot start", SDL_GetError());
        return false;
    }
    return true;
}

void SdlHost::ReportDriver(const std::string& driver, const char* trouble, const char* error) const
{
    std::fprintf(stderr, "platform: the %s video driver %s: %s\n", driver.c_str(), trouble,
        error && *error ? error : "SDL gives no reason");
}

// Where the driver cannot make the window or give it pixels, the next driver
// is tried: a window nobody can see must not run on.
bool SdlHost::OpenWindow(const std::string& titleUtf8, const RECT& outer)
{
    const RECT screen = ScaledRect(outer, windowScale_);
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

RECT SdlHost::DesktopRect()
{
    SDL_DisplayMode mode {};
    if (!video_ || SDL_GetDesktopDisplayMode(0, &mode) != 0) return RECT { 0, 0, kNoDisplayWidth, kNoDisplayHeight };
    // In the program's pixels, as a scaled program sees it on Windows.
    return RECT { 0, 0, std::max(1, mode.w / windowScale_), std::max(1, mode.h / windowScale_) };
}

void SdlHost::CreateWindow(const std::string& titleUtf8, const RECT& outer, int menuBarHeight)
{
    if (!video_ || window_) return;
    menuBarHeight_ = menuBarHeight;
    while (!OpenWindow(titleUtf8, outer)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        video_ = StartVideo();
        if (!video_) return;
    }
}

void SdlHost::SetWindowIcon(const PixelView& icon)
{
    if (!icon.pixels || icon.width <= 0 || icon.height <= 0 || icon.pitchPixels < icon.width) return;
    icon_.clear();
    for (int y = 0; y < icon.height; ++y) {
        const uint32_t* row = icon.pixels + size_t(y) * icon.pitchPixels;
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

void SdlHost::PlaceWindow(const RECT& outer, int menuBarHeight)
{
    if (!window_) return;
    if (menuBarHeight != menuBarHeight_) MoveClientOutOfWindow();
    menuBarHeight_ = menuBarHeight;
    const RECT screen = ScaledRect(outer, windowScale_);
    if (fullScreen_) {
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
    if (!OnWayland() || fullScreen_ || (SDL_GetWindowFlags(window_) & SDL_WINDOW_HIDDEN)) return;
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

LentPixels SdlHost::Lend(Screen screen, int width, int height, const RECT& overwritten)
{
    if (screen == Screen::Client) return LendClient(width, height, overwritten);
    if (!fullScreen_) return {};
    return fullScreenMemory_.Lend(width, height, kFullScreenBytesPerPixel);
}

void SdlHost::Changed(Screen screen, const RECT& area)
{
    if (screen == Screen::Client) {
        ShowClient(area);
        return;
    }
    if (!fullScreen_) return;
    ToXrgb(fullScreenMemory_.Pixels(), kFullScreenBytesPerPixel, area, fullScreenPicture_);
    DrawFullScreen(false);
}

// Client pixels -----------------------------------------------------------------

LentPixels SdlHost::LendClient(int width, int height, const RECT& overwritten)
{
    if (width != clientWidth_ || height != clientHeight_) {
        MoveClientOutOfWindow();
        clientWidth_ = width;
        clientHeight_ = height;
    }
    const LentPixels own = client_.Lend(width, height, kClientBytesPerPixel);
    if (!own.pixels || !ClientFitsWindow()) {
        MoveClientOutOfWindow();
        return own;
    }
    if (!clientInWindow_) MoveClientIntoWindow();
    const PixelTarget window = clientInWindow_ ? memory_->Acquire(ClientOnWindow(overwritten)) : PixelTarget {};
    if (!window.pixels) return own;
    return LentPixels { reinterpret_cast<uint8_t*>(window.pixels + ptrdiff_t(menuBarHeight_) * window.pitchPixels),
        width, height, window.pitchPixels * 4 };
}

// Only an unscaled window of the right size, in memory that stays ours,
// can hold the client pixels; full screen shows another picture.
bool SdlHost::ClientFitsWindow() const
{
    return window_ && memory_ && memory_->KeepsPixels() && !fullScreen_ && scale_ == 1 && clientWidth_ > 0
        && clientHeight_ > 0 && memoryWidth_ >= clientWidth_ && memoryHeight_ >= menuBarHeight_ + clientHeight_;
}

void SdlHost::MoveClientIntoWindow()
{
    const SDL_Rect area = ClientOnWindow(RECT { 0, 0, clientWidth_, clientHeight_ });
    const PixelTarget window = memory_->Acquire(area);
    const LentPixels& own = client_.Pixels();
    if (!window.pixels || !own.pixels) return;
    CopyRows(own.pixels, own.pitch, reinterpret_cast<uint8_t*>(window.pixels + area.y * window.pitchPixels),
        window.pitchPixels * 4, clientWidth_, clientHeight_);
    memory_->Put(area);
    clientInWindow_ = true;
}

void SdlHost::MoveClientOutOfWindow()
{
    if (!clientInWindow_) return;
    clientInWindow_ = false;
    const PixelTarget window = memory_ ? memory_->Acquire(SDL_Rect {}) : PixelTarget {};
    const LentPixels own = client_.Lend(clientWidth_, clientHeight_, kClientBytesPerPixel);
    if (!window.pixels || !own.pixels) return;
    CopyRows(reinterpret_cast<const uint8_t*>(window.pixels + ptrdiff_t(menuBarHeight_) * window.pitchPixels),
        window.pitchPixels * 4, own.pixels, own.pitch, clientWidth_, clientHeight_);
}

SDL_Rect SdlHost::InClient(const RECT& area) const
{
    return Clipped(SDL_Rect { int(area.left), int(area.top), int(area.right - area.left), int(area.bottom - area.top) },
        clientWidth_, clientHeight_);
}

// Where `area` of the client lies in the window, clipped to both.
SDL_Rect SdlHost::ClientOnWindow(const RECT& area) const
{
    const SDL_Rect client = InClient(area);
    return Clipped(
        SDL_Rect { client.x * scale_, (menuBarHeight_ + client.y) * scale_, client.w * scale_, client.h * scale_ },
        memoryWidth_, memoryHeight_);
}

void SdlHost::ShowClient(const RECT& area)
{
    if (clientInWindow_) {
        memory_->Put(ClientOnWindow(area));
        return;
    }
    // In full screen the window shows the full-screen picture instead.
    if (!window_ || !memory_ || fullScreen_) return;
    const SDL_Rect client = InClient(area);
    const SDL_Rect onWindow = ClientOnWindow(area);
    if (SDL_RectEmpty(&onWindow)) return;
    const PixelTarget window = memory_->Acquire(onWindow);
    const LentPixels& own = client_.Pixels();
    if (!window.pixels || !own.pixels) return;
    // Scaled on a high-density desktop: each pixel a square block.
    const PixelView part { reinterpret_cast<const uint32_t*>(own.pixels + ptrdiff_t(client.y) * own.pitch) + client.x,
        client.w, client.h, own.pitch / 4 };
    CopyScaled(part, scale_, window, client.x * scale_, (menuBarHeight_ + client.y) * scale_);
    memory_->Put(onWindow);
}

// Window memory and redrawing -----------------------------------------------------

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

void SdlHost::RedrawAll()
{
    if (!window_ || !memory_) return;
    FitWindowMemory();
    if (fullScreen_) {
        DrawFullScreen(true);
        return;
    }
    const PixelTarget window = memory_->Acquire(SDL_Rect {});
    if (!window.pixels) return;
    DrawMenuBar(window);
    const LentPixels& own = client_.Pixels();
    if (!clientInWindow_ && own.pixels)
        CopyScaled(
            PixelView { reinterpret_cast<const uint32_t*>(own.pixels), clientWidth_, clientHeight_, own.pitch / 4 },
            scale_, window, 0, menuBarHeight_ * scale_);
    memory_->Put(SDL_Rect { 0, 0, window.width, window.height });
}

void SdlHost::DrawMenuBar(const PixelTarget& window)
{
    const int rows = std::min(menuBarHeight_ * scale_, window.height);
    FillRect(window, SDL_Rect { 0, 0, window.width, rows }, kMenuBarGrey);
    const int barRows = std::min(menuBarRows_, menuBarHeight_);
    if (menuBarWidth_ <= 0 || barRows <= 0) return;
    // Only the bar's rows: a bar taller than the window's is cut.
    const PixelTarget bar { window.pixels, window.width, rows, window.pitchPixels };
    CopyScaled(PixelView { menuBar_.data(), menuBarWidth_, barRows, menuBarWidth_ }, scale_, bar, 0, 0);
}

void SdlHost::PollInput(std::vector<InputEvent>& out)
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
        Translate(event, out);
    // Frames may have stopped (a menu is open): what the screen has not
    // taken yet goes once it asks.
    if (memory_) memory_->Flush();
}

void SdlHost::Translate(const SDL_Event& event, std::vector<InputEvent>& out)
{
    switch (event.type) {
    case SDL_QUIT: // a signal such as Ctrl+C in the terminal, or the compositor gone
        if (OnWayland()) EndIfWaylandConnectionLost(window_);
        out.push_back(InputEvent { InputEvent::Kind::Close });
        break;
    case SDL_WINDOWEVENT:
        if (fullScreen_) HandleFullScreenWindowEvent(event.window, out);
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) out.push_back(InputEvent { InputEvent::Kind::Close });
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            RedrawAll();
        break;
    case SDL_KEYDOWN:
        TranslateKey(event.key, out);
        break;
    case SDL_MOUSEMOTION:
        TranslateMouseMotion(event.motion, out);
        break;
    case SDL_KEYUP:
        TranslateKeyUp(event.key, out);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        TranslateButton(event.button, out);
        break;
    default:
        break;
    }
}

void SdlHost::TranslateKey(const SDL_KeyboardEvent& key, std::vector<InputEvent>& out)
{
    // Without a window manager nobody else turns Alt+F4 into a close.
    if (key.keysym.sym == SDLK_F4 && (key.keysym.mod & KMOD_ALT)) {
        if (!key.repeat) out.push_back(InputEvent { InputEvent::Kind::Close });
        return;
    }
    UINT virtualKey = VirtualKeyFor(key.keysym.sym);
    if (!virtualKey) return;
    InputEvent input { InputEvent::Kind::KeyDown };
    input.virtualKey = virtualKey;
    input.repeat = key.repeat != 0;
    input.alt = (key.keysym.mod & KMOD_ALT) != 0 || virtualKey == VK_MENU;
    out.push_back(input);
}

// Over the menu bar y is negative: the window manager tracks the menu with
// it, and sends the program no WM_MOUSEMOVE there, as Windows does not.
void SdlHost::TranslateMouseMotion(const SDL_MouseMotionEvent& motion, std::vector<InputEvent>& out)
{
    if (fullScreen_) {
        TranslateFullScreenMouse(motion, out);
        return;
    }
    const int x = Unscale(motion.x, windowScale_);
    if (x < 0 || (clientWidth_ > 0 && x >= clientWidth_)) return;
    InputEvent input { InputEvent::Kind::MouseMove };
    input.x = x;
    input.y = Unscale(motion.y, windowScale_) - menuBarHeight_;
    out.push_back(input);
}

int SdlHost::ShowMessageBox(const std::string& captionUtf8, const std::string& textUtf8, MessageBoxButtons buttons)
{
    if (!video_) return ReportMessageBoxOnStderr(captionUtf8, textUtf8, buttons);
    return ShowSdlMessageBox(window_, captionUtf8, textUtf8, buttons);
}

void SdlHost::SetCursorVisible(bool visible)
{
    if (video_) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

// Full screen ----------------------------------------------------------------

void SdlHost::EnterFullScreen(int width, int height)
{
    fullScreenWidth_ = std::max(width, 1);
    fullScreenHeight_ = std::max(height, 1);
    // Black until the program presents its first full-screen frame.
    fullScreenMemory_.Lend(fullScreenWidth_, fullScreenHeight_, kFullScreenBytesPerPixel);
    fullScreenMemory_.Clear();
    fullScreenPicture_.assign(size_t(fullScreenWidth_) * size_t(fullScreenHeight_), 0);
    if (!window_ || fullScreen_) {
        fullScreen_ = true;
        return;
    }
    MoveClientOutOfWindow();
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    SDL_GetWindowSize(window_, &w, &h);
    windowedOuter_ = RECT { x, y, x + w, y + h };
    fullScreen_ = true;
    // The desktop's own resolution: no real mode change, pixels stay square.
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
        std::fprintf(stderr, "platform: cannot go full screen: %s\n", SDL_GetError());
    SDL_RaiseWindow(window_);
    RedrawAll();
}

void SdlHost::LeaveFullScreen()
{
    if (!fullScreen_) return;
    fullScreen_ = false;
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
    const Letterbox box = FitPicture(fullScreenWidth_, fullScreenHeight_, memoryWidth_, memoryHeight_);
    const SDL_Rect whole { 0, 0, memoryWidth_, memoryHeight_ };
    const SDL_Rect boxRect = Clipped(SDL_Rect { box.x, box.y, box.width, box.height }, memoryWidth_, memoryHeight_);
    const PixelTarget window = memory_->Acquire(withBars ? whole : boxRect);
    if (!window.pixels) return;
    if (withBars) {
        const SDL_Rect bars[] = {
            { 0, 0, window.width, box.y },
            { 0, box.y + box.height, window.width, window.height - box.y - box.height },
            { 0, box.y, box.x, box.height },
            { box.x + box.width, box.y, window.width - box.x - box.width, box.height },
        };
        for (const SDL_Rect& bar : bars)
            FillRect(window, bar, 0);
    }
    const PixelView picture { fullScreenPicture_.data(), fullScreenWidth_, fullScreenHeight_, fullScreenWidth_ };
    if (box.wholeFactor > 0) {
        CopyScaled(picture, box.wholeFactor, window, box.x, box.y);
    } else {
        SDL_Surface* from = SDL_CreateRGBSurfaceWithFormatFrom(fullScreenPicture_.data(), fullScreenWidth_,
            fullScreenHeight_, 32, fullScreenWidth_ * 4, SDL_PIXELFORMAT_RGB888);
        SDL_Surface* to = SDL_CreateRGBSurfaceWithFormatFrom(
            window.pixels, window.width, window.height, 32, window.pitchPixels * 4, SDL_PIXELFORMAT_RGB888);
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

// A window position in full screen as a pixel of the picture.
PicturePoint SdlHost::FullScreenPoint(int x, int y) const
{
    int w = 0, h = 0;
    SDL_GetWindowSizeInPixels(window_, &w, &h);
    const Letterbox box = FitPicture(fullScreenWidth_, fullScreenHeight_, w, h);
    return ScreenToPicture(box, fullScreenWidth_, fullScreenHeight_, ToPixels(x), ToPixels(y));
}

void SdlHost::TranslateFullScreenMouse(const SDL_MouseMotionEvent& motion, std::vector<InputEvent>& out)
{
    const PicturePoint point = FullScreenPoint(motion.x, motion.y);
    InputEvent input { InputEvent::Kind::MouseMove };
    input.x = point.x;
    input.y = point.y;
    out.push_back(input);
}

// Audio output -----------------------------------------------------------------

namespace {

void WriteSilence(void*, Uint8* stream, int length) { SDL_memset(stream, 0, size_t(std::max(length, 0))); }

// SDL's dummy and disk drivers pretend there is a device; the program must
// learn that there is none, as on a machine without a sound card.
bool StartAudio()
{
    SilenceAlsaErrors();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    const char* driver = SDL_GetCurrentAudioDriver();
    if (!driver || SDL_strcmp(driver, "dummy") == 0 || SDL_strcmp(driver, "disk") == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

} // namespace

bool SdlHost::OpenAudioOutput()
{
    if (audioDevice_ != 0) return true;
    if (!StartAudio()) return false;
    SDL_AudioSpec wanted {};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16SYS; // signed: silence is zero bytes
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = WriteSilence;
    SDL_AudioSpec obtained {};
    // No changes allowed: SDL converts, and the callback's zeros stay silence.
    audioDevice_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (audioDevice_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    // Left paused: nothing is ever played.
    return true;
}

void SdlHost::CloseAudioOutput()
{
    if (audioDevice_ == 0) return;
    SDL_CloseAudioDevice(audioDevice_);
    audioDevice_ = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// ---- Menu bar, modal loops and drawn message boxes ----

void SdlHost::PresentMenuBar(const PixelView& bar)
{
    if (!bar.pixels || bar.width <= 0 || bar.height <= 0 || bar.pitchPixels < bar.width) return;
    menuBarWidth_ = bar.width;
    menuBarRows_ = bar.height;
    menuBar_.resize(size_t(bar.width) * size_t(bar.height));
    for (int y = 0; y < bar.height; ++y)
        std::copy_n(
            bar.pixels + size_t(y) * size_t(bar.pitchPixels), bar.width, menuBar_.begin() + ptrdiff_t(y) * bar.width);
    // Full screen has no bar; it comes back with the window.
    if (!window_ || !memory_ || fullScreen_) return;
    const SDL_Rect rows
        = Clipped(SDL_Rect { 0, 0, memoryWidth_, menuBarHeight_ * scale_ }, memoryWidth_, memoryHeight_);
    if (SDL_RectEmpty(&rows)) return;
    const PixelTarget window = memory_->Acquire(rows);
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

void SdlHost::TranslateKeyUp(const SDL_KeyboardEvent& key, std::vector<InputEvent>& out)
{
    UINT virtualKey = VirtualKeyFor(key.keysym.sym);
    if (!virtualKey) return;
    InputEvent input { InputEvent::Kind::KeyUp };
    input.virtualKey = virtualKey;
    // Alt's own release comes with Alt no longer held.
    input.alt = (key.keysym.mod & KMOD_ALT) != 0 && virtualKey != VK_MENU;
    out.push_back(input);
}

// Only the left button has a meaning for menus and boxes.
void SdlHost::TranslateButton(const SDL_MouseButtonEvent& button, std::vector<InputEvent>& out)
{
    if (button.button != SDL_BUTTON_LEFT) return;
    InputEvent input { button.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Kind::MouseButtonDown
                                                          : InputEvent::Kind::MouseButtonUp };
    input.x = Unscale(button.x, windowScale_);
    input.y = Unscale(button.y, windowScale_) - menuBarHeight_;
    if (fullScreen_ && window_) {
        // In picture pixels, as full-screen motion is.
        const PicturePoint point = FullScreenPoint(button.x, button.y);
        input.x = point.x;
        input.y = point.y;
    }
    out.push_back(input);
}

} // namespace platform::host
