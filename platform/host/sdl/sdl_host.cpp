#include "host/sdl/sdl_host.h"

#include <algorithm>
#include <cstdio>

#include "host/sdl/key_map.h"
#include "host/sdl/sdl_message_box.h"

namespace platform::host {
namespace {

constexpr Uint8 kMenuBarGrey = 0xF0;
// Stands in for the desktop where there is none; the headless host's size.
constexpr int kNoDisplayWidth = 1024;
constexpr int kNoDisplayHeight = 768;

int Width(const RECT& r) { return std::max(1, int(r.right - r.left)); }
int Height(const RECT& r) { return std::max(1, int(r.bottom - r.top)); }

// SDL falls back to drivers that show nothing when there is no desktop;
// the program must then see no display at all, as on a machine without one.
bool StartVideo()
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    return true;
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
    // Events alone still turn Ctrl+C into a close where there is no display.
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0)
        std::fprintf(stderr, "platform: SDL could not start: %s\n", SDL_GetError());
    video_ = StartVideo();
}

SdlHost::~SdlHost()
{
    DestroyWindow();
    SDL_Quit();
}

RECT SdlHost::DesktopRect()
{
    SDL_DisplayMode mode {};
    if (!video_ || SDL_GetDesktopDisplayMode(0, &mode) != 0) return RECT { 0, 0, kNoDisplayWidth, kNoDisplayHeight };
    return RECT { 0, 0, mode.w, mode.h };
}

void SdlHost::CreateWindow(const std::string& titleUtf8, const RECT& outer, int menuBarHeight)
{
    if (!video_ || window_) return;
    menuBarHeight_ = menuBarHeight;
    window_ = SDL_CreateWindow(
        titleUtf8.c_str(), int(outer.left), int(outer.top), Width(outer), Height(outer), SDL_WINDOW_HIDDEN);
    if (!window_) {
        std::fprintf(stderr, "platform: cannot create the window: %s\n", SDL_GetError());
        return;
    }
    ApplyIcon();
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
    menuBarHeight_ = menuBarHeight;
    SDL_SetWindowPosition(window_, int(outer.left), int(outer.top));
    SDL_SetWindowSize(window_, Width(outer), Height(outer));
    RedrawAll();
}

void SdlHost::ShowWindow(bool visible)
{
    if (!window_) return;
    if (visible) {
        SDL_ShowWindow(window_);
        RedrawAll();
    } else {
        SDL_HideWindow(window_);
    }
}

void SdlHost::DestroyWindow()
{
    if (!window_) return;
    SDL_DestroyWindow(window_);
    window_ = nullptr;
}

void SdlHost::PresentClient(const PixelView& client)
{
    if (!client.pixels || client.width <= 0 || client.height <= 0 || client.pitchPixels < client.width) return;
    clientWidth_ = client.width;
    clientHeight_ = client.height;
    client_.resize(size_t(client.width) * client.height);
    for (int y = 0; y < client.height; ++y)
        std::copy_n(client.pixels + size_t(y) * client.pitchPixels, client.width,
            client_.begin() + ptrdiff_t(y) * client.width);
    if (!window_) return;
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface) return;
    DrawClient(surface);
    SDL_Rect rows { 0, menuBarHeight_, std::min(clientWidth_, surface->w),
        std::clamp(surface->h - menuBarHeight_, 0, clientHeight_) };
    if (rows.w > 0 && rows.h > 0) SDL_UpdateWindowSurfaceRects(window_, &rows, 1);
}

void SdlHost::RedrawAll()
{
    if (!window_) return;
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface) return;
    DrawMenuBar(surface);
    DrawClient(surface);
    SDL_UpdateWindowSurface(window_);
}

void SdlHost::DrawMenuBar(SDL_Surface* surface)
{
    SDL_Rect bar { 0, 0, surface->w, std::min(menuBarHeight_, surface->h) };
    SDL_FillRect(surface, &bar, SDL_MapRGB(surface->format, kMenuBarGrey, kMenuBarGrey, kMenuBarGrey));
    int width = std::min(menuBarWidth_, surface->w);
    int rows = std::min({ menuBarRows_, menuBarHeight_, surface->h });
    if (width <= 0 || rows <= 0) return;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    SDL_ConvertPixels(width, rows, SDL_PIXELFORMAT_RGB888, menuBar_.data(), menuBarWidth_ * 4, surface->format->format,
        surface->pixels, surface->pitch);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

// The window may briefly differ from the client size while a resize is on
// its way; only the overlap is drawn.
void SdlHost::DrawClient(SDL_Surface* surface)
{
    int width = std::min(clientWidth_, surface->w);
    int height = std::clamp(surface->h - menuBarHeight_, 0, clientHeight_);
    if (width <= 0 || height <= 0) return;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    auto* firstRow = static_cast<uint8_t*>(surface->pixels) + ptrdiff_t(menuBarHeight_) * surface->pitch;
    SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_RGB888, client_.data(), clientWidth_ * 4, surface->format->format,
        firstRow, surface->pitch);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

void SdlHost::PollInput(std::vector<InputEvent>& out)
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
        Translate(event, out);
}

void SdlHost::Translate(const SDL_Event& event, std::vector<InputEvent>& out)
{
    switch (event.type) {
    case SDL_QUIT: // a signal such as Ctrl+C in the terminal
        out.push_back(InputEvent { InputEvent::Kind::Close });
        break;
    case SDL_WINDOWEVENT:
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
    int y = motion.y - menuBarHeight_;
    if (motion.x < 0 || (clientWidth_ > 0 && motion.x >= clientWidth_)) return;
    InputEvent input { InputEvent::Kind::MouseMove };
    input.x = motion.x;
    input.y = y;
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
    if (!window_) return;
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface) return;
    DrawMenuBar(surface);
    SDL_Rect rows { 0, 0, surface->w, std::min(menuBarHeight_, surface->h) };
    if (rows.w > 0 && rows.h > 0) SDL_UpdateWindowSurfaceRects(window_, &rows, 1);
}

// Modal loops sleep here; SDL wakes on the next event of any kind.
bool SdlHost::WaitForInput(uint32_t timeoutMilliseconds)
{
    SDL_WaitEventTimeout(nullptr, int(std::min<uint32_t>(timeoutMilliseconds, 1000)));
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
    input.x = button.x;
    input.y = button.y - menuBarHeight_;
    out.push_back(input);
}

} // namespace platform::host
