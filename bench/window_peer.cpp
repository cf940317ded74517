#include "window_peer.h"

#include <SDL.h>

#include <chrono>
#include <functional>

#include "fixed_scenes.h"
#include "sdl_peer.h"

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr double kWarmUpSeconds = 1.0;
constexpr Uint8 kGrey = 0x80;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// One frame as an SDL2 program makes it: fetch the window surface (a no-op
// unless the window changed), draw into it, update it.
bool Present(SDL_Window* window, const std::function<void(SDL_Surface*)>& draw)
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) { }
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr) return false;
    if (draw) draw(surface);
    return SDL_UpdateWindowSurface(window) == 0;
}

bool RunWindow(double seconds, const std::function<void(SDL_Surface*)>& draw, double& framesPerSecond)
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    // The window surface handed to the X server directly, as the
    // program's host does; SDL's other way, through a texture, is slower
    // without a GPU. SDL's wayland driver has only that other way: a bare
    // SDL2 program there presents through OpenGL.
    const char* driver = SDL_GetCurrentVideoDriver();
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, driver && SDL_strcmp(driver, "wayland") == 0 ? "1" : "0");
    bool ran = false;
    SDL_Window* window
        = SDL_CreateWindow("peer", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480, SDL_WINDOW_SHOWN);
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (surface) {
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, kGrey, kGrey, kGrey));
        const Clock::time_point warmUp = Clock::now();
        while (SecondsSince(warmUp) < kWarmUpSeconds && Present(window, draw)) { }
        long frames = 0;
        const Clock::time_point start = Clock::now();
        while (SecondsSince(start) < seconds && Present(window, draw))
            ++frames;
        const double elapsed = SecondsSince(start);
        framesPerSecond = elapsed > 0.0 ? double(frames) / elapsed : 0.0;
        ran = frames > 0;
    }
    if (window) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return ran;
}

const FixedScene& AllEffects()
{
    for (const FixedScene& scene : BenchScenes())
        if (std::string(scene.name) == "all") return scene;
    return BenchScenes().back();
}

} // namespace

bool RunBareSdlWindow(double seconds, double& framesPerSecond) { return RunWindow(seconds, nullptr, framesPerSecond); }

bool RunSdlFrameWindow(double seconds, double& framesPerSecond, std::string& error)
{
    // The caption as the program draws it, on the headless host.
    CaptionLayer caption;
    if (!OpenProgramDisplay(DisplayMode::Window32, error)) return false;
    const bool rendered = RenderCaptionLayer(caption);
    CloseProgramDisplay();
    if (!rendered) {
        error = "the caption cannot be drawn";
        return false;
    }
    SdlPeer peer;
    if (!peer.Open(DisplayMode::Window32, caption, error)) return false;
    const FixedScene& scene = AllEffects();
    const bool ran = RunWindow(
        seconds,
        [&](SDL_Surface* surface) {
            peer.PresentInto(surface);
            peer.DrawFrame(scene);
        },
        framesPerSecond);
    if (!ran) error = "the SDL2 peer's window could not present";
    return ran;
}

} // namespace bench
