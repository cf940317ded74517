// The desktop host: one SDL window showing the menu bar strip above the
// client pixels, drawn in software, with no frame cap and no waiting. On a
// high-density desktop both are shown scaled by its whole factor.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "host/host.h"

namespace platform::host {

class SdlHost final : public Host {
public:
    // Without a usable video driver (no DISPLAY) the host still runs:
    // HasDisplay() is false and message boxes go to standard error.
    SdlHost();
    ~SdlHost() override;
    SdlHost(const SdlHost&) = delete;
    SdlHost& operator=(const SdlHost&) = delete;

    bool HasDisplay() override { return video_; }
    RECT DesktopRect() override;
    void CreateWindow(const std::string& titleUtf8, const RECT& outer, int menuBarHeight) override;
    void SetWindowIcon(const PixelView& icon) override;
    void PlaceWindow(const RECT& outer, int menuBarHeight) override;
    void ShowWindow(bool visible) override;
    void DestroyWindow() override;
    void PresentClient(const PixelView& client) override;
    void PollInput(std::vector<InputEvent>& out) override;
    bool Idle() override { return true; }
    int ShowMessageBox(const std::string& captionUtf8, const std::string& textUtf8, MessageBoxButtons buttons) override;
    void SetCursorVisible(bool visible) override;
    uint32_t TickCount() override { return SDL_GetTicks(); }

    // Full screen on the desktop's own resolution, the picture letterboxed.
    void EnterFullScreen(int width, int height) override;
    void PresentFullScreen(const PixelView& screen) override;
    void LeaveFullScreen() override;

    // The default playback device, opened paused: only silence ever reaches it.
    bool OpenAudioOutput() override;
    void CloseAudioOutput() override;

    // ---- Menu bar, modal loops and drawn message boxes ----
    void PresentMenuBar(const PixelView& bar) override;
    bool WaitForInput(uint32_t timeoutMilliseconds) override;

private:
    void ApplyIcon();
    void Translate(const SDL_Event& event, std::vector<InputEvent>& out);
    void TranslateKey(const SDL_KeyboardEvent& key, std::vector<InputEvent>& out);
    void TranslateMouseMotion(const SDL_MouseMotionEvent& motion, std::vector<InputEvent>& out);
    // Puts the bar and the last client image on screen again.
    void RedrawAll();
    void DrawMenuBar(SDL_Surface* surface);
    void DrawClient(SDL_Surface* surface);
    void DrawPixels(SDL_Surface* surface, const PixelView& picture, int factor, int x, int y);

    // Full screen: the picture, the bars, and what the desktop does to it.
    void DrawFullScreen(SDL_Surface* surface);
    void HandleFullScreenWindowEvent(const SDL_WindowEvent& event);
    void TranslateFullScreenMouse(const SDL_MouseMotionEvent& motion, std::vector<InputEvent>& out);

    bool video_ = false;
    // Screen pixels to each of the program's pixels in the window: the
    // desktop's density. The program sees only its own pixels.
    int scale_ = 1;
    SDL_Window* window_ = nullptr;
    int menuBarHeight_ = 0;

    std::vector<uint32_t> icon_;
    int iconWidth_ = 0;
    int iconHeight_ = 0;

    // The client image last presented, kept for exposes and resizes.
    std::vector<uint32_t> client_;
    int clientWidth_ = 0;
    int clientHeight_ = 0;

    bool fullScreen_ = false;
    std::vector<uint32_t> fullScreenPicture_;
    int fullScreenWidth_ = 0;
    int fullScreenHeight_ = 0;
    // Where the window goes back to, in screen pixels; the program may move
    // it meanwhile.
    RECT windowedOuter_ {};
    // Scaled pixels on their way into a window of another format.
    std::vector<uint32_t> staging_;

    SDL_AudioDeviceID audioDevice_ = 0;

    // ---- Menu bar, modal loops and drawn message boxes ----
    void TranslateKeyUp(const SDL_KeyboardEvent& key, std::vector<InputEvent>& out);
    void TranslateButton(const SDL_MouseButtonEvent& button, std::vector<InputEvent>& out);
    // The bar as the window manager drew it; grey until it has.
    std::vector<uint32_t> menuBar_;
    int menuBarWidth_ = 0;
    int menuBarRows_ = 0;
};

} // namespace platform::host
