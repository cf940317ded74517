// The desktop host: one SDL window showing the menu bar strip above the
// client pixels, drawn in software, with no frame cap, on X11 or on a
// Wayland compositor, whichever SDL's video driver speaks to. On a
// high-density desktop both are shown scaled by its whole factor. Where the
// window's own memory can hold them (an unscaled window), the client pixels
// live there: the program draws its frame straight into what the X server
// or the compositor reads.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/letterbox.h"
#include "host/sdl/video_drivers.h"
#include "host/sdl/window_memory.h"
#include "host/shown_screens.h"

namespace platform::host {

class SdlHost final : public Host {
public:
    // Without a usable video driver (no desktop) the host still runs:
    // HasDisplay() is false and message boxes go to standard error. A driver
    // that cannot start, or cannot give the window pixels, is reported on
    // standard error and the next one tried.
    SdlHost();
    ~SdlHost() override;
    SdlHost(const SdlHost&) = delete;
    SdlHost& operator=(const SdlHost&) = delete;

    bool HasDisplay() override { return video_; }
    Rectangle DesktopRect() override;
    void CreateWindow(const std::string& titleUtf8, const Rectangle& outer, int menuBarHeight) override;
    void SetWindowIcon(const ReadOnlyPixelView& icon) override;
    void PlaceWindow(const Rectangle& outer, int menuBarHeight) override;
    void ShowWindow(bool visible) override;
    void DestroyWindow() override;
    PixelView Lend(Screen screen, int width, int height, const Rectangle& overwritten) override;
    void Changed(Screen screen, const Rectangle& area) override;
    void PollInput(std::vector<InputEvent>& out) override;
    bool Idle() override { return true; }
    int ShowMessageBox(const std::string& captionUtf8, const std::string& textUtf8, MessageBoxButtons buttons) override;
    void SetCursorVisible(bool visible) override;
    uint32_t TickCount() override { return SDL_GetTicks(); }

    // Full screen on the desktop's own resolution, the picture letterboxed.
    void EnterFullScreen(int width, int height) override;
    void LeaveFullScreen() override;

    // The default playback device, opened paused: only silence ever reaches it.
    bool OpenAudioOutput() override;
    void CloseAudioOutput() override;

    // SDL's video driver in use ("x11", "wayland"); empty without a display.
    const std::string& VideoDriver() const { return driver_; }

    // ---- Menu bar, modal loops and drawn message boxes ----
    void PresentMenuBar(const ReadOnlyPixelView& bar) override;
    bool WaitForInput(uint32_t timeoutMilliseconds) override;

private:
    // Video drivers: SDL's, the user's choice first, until one starts and
    // gives the window pixels.
    bool StartVideo();
    bool StartVideoDriver(const std::string& driver);
    void ReportDriver(const std::string& driver, const char* trouble, const char* error) const;
    bool OpenWindow(const std::string& titleUtf8, const Rectangle& outer);
    std::unique_ptr<WindowMemory> OpenWindowMemory() const;
    bool OnWayland() const { return driver_ == "wayland"; }
    void KeepFixedSize();

    void ApplyIcon();
    void Translate(const SDL_Event& event, std::vector<InputEvent>& out);
    void TranslateKey(const SDL_KeyboardEvent& key, std::vector<InputEvent>& out);
    void TranslateMouseMotion(const SDL_MouseMotionEvent& motion, std::vector<InputEvent>& out);

    // The window's memory, as many pixels as the window has, made again when
    // it has not; the scales follow.
    void FitWindowMemory();
    void TakeScale(int windowWidth, int windowHeight);
    // A position in window units as a pixel of the window's memory.
    int ToPixels(int units) const { return units * pixelsPerUnit_; }
    // Puts the bar and the last client image (or the full-screen picture)
    // on screen again.
    void RedrawAll();
    void DrawMenuBar(const PixelView& window);

    // The client pixels live in the window's memory while it can hold them,
    // else in the shown screens' own memory; they move with what they show.
    PixelView LendClient(int width, int height, const Rectangle& overwritten);
    bool ClientFitsWindow() const;
    void MoveClientIntoWindow();
    void MoveClientOutOfWindow();
    void ShowClient(const Rectangle& area);
    SDL_Rect InClient(const Rectangle& area) const;
    SDL_Rect ClientOnWindow(const Rectangle& area) const;

    // Full screen: the picture, the bars, and what the desktop does to it.
    void DrawFullScreen(bool withBars);
    bool InFullScreen() const { return screens_.InFullScreen(); }
    void HandleFullScreenWindowEvent(const SDL_WindowEvent& event, std::vector<InputEvent>& out);
    void TranslateFullScreenMouse(const SDL_MouseMotionEvent& motion, std::vector<InputEvent>& out);
    PicturePoint FullScreenPoint(int x, int y) const;

    bool video_ = false;
    std::vector<std::string> drivers_;
    size_t nextDriver_ = 0;
    std::string driver_;
    // What the environment names: only the failures of drivers it names
    // are told.
    DesktopNames names_;
    // Window units (SDL's sizes and mouse positions) to each of the
    // program's pixels: the X desktop's density; 1 on Wayland, where the
    // compositor keeps units apart from pixels.
    int windowScale_ = 1;
    // Pixels of the window's memory to each window unit: the Wayland
    // output's scale; 1 on X11.
    int pixelsPerUnit_ = 1;
    // Pixels of the window's memory to each of the program's pixels. The
    // program sees only its own pixels.
    int scale_ = 1;
    SDL_Window* window_ = nullptr;
    int menuBarHeight_ = 0;
    std::unique_ptr<WindowMemory> memory_;
    int memoryWidth_ = 0;
    int memoryHeight_ = 0;

    std::vector<uint32_t> icon_;
    int iconWidth_ = 0;
    int iconHeight_ = 0;

    // What the screens show; the client pixels move into the window's memory
    // and back as it can hold them.
    ShownScreens screens_;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    bool clientInWindow_ = false;

    // Where the window goes back to, in screen pixels; the program may move
    // it meanwhile.
    Rectangle windowedOuter_ {};

    SDL_AudioDeviceID audioDevice_ = 0;

    // ---- Menu bar, modal loops and drawn message boxes ----
    void TranslateKeyUp(const SDL_KeyboardEvent& key, std::vector<InputEvent>& out);
    void TranslateButton(const SDL_MouseButtonEvent& button, std::vector<InputEvent>& out);
};

} // namespace platform::host
