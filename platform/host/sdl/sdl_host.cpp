// The desktop host: starting SDL and its video drivers, the desktop, and
// what needs no window (message boxes, the cursor).
#include "host/sdl/sdl_host.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "host/desktop_scale.h"
#include "host/sdl/sdl_message_box.h"
#include "host/sdl/video_drivers.h"
#include "host/sdl/wayland_desktop.h"
#include "host/sdl/x11_desktop.h"

namespace platform::host {
namespace {

// Stands in for the desktop where there is none; the headless host's size.
constexpr int kNoDisplayWidth = 1024;
constexpr int kNoDisplayHeight = 768;

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

Rectangle SdlHost::DesktopRect()
{
    SDL_DisplayMode mode {};
    if (!video_ || SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return Rectangle { 0, 0, kNoDisplayWidth, kNoDisplayHeight };
    // In the program's pixels, as a scaled program sees it on Windows.
    return Rectangle { 0, 0, std::max(1, mode.w / windowScale_), std::max(1, mode.h / windowScale_) };
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

} // namespace platform::host
