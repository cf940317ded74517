// The browser host: the window is a canvas in the page, its menu bar drawn
// above the client area as on the desktop; keys and the mouse come from the
// browser's events, F12's full screen from the Fullscreen API, the clock
// from performance.now(). The program never returns to the browser, so the
// host yields to it (through Asyncify) while the message loop is idle and
// while a modal loop waits, and puts what changed on the canvas then.
//
// With ?step in the page's address the clock belongs to whoever drives the
// page: frames are drawn only as sample.step(frames, ms) grants them, each
// with the clock ms on, as sample-replay's `frame` does.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/letterbox.h"
#include "host/shown_screens.h"
#include "host/web/page_layout.h"

namespace platform::host {

class WebHost final : public Host {
public:
    WebHost();
    WebHost(const WebHost&) = delete;
    WebHost& operator=(const WebHost&) = delete;

    bool HasDisplay() override { return true; }
    Rectangle DesktopRect() override;
    void CreateWindow(const std::string& titleUtf8, const Rectangle& outer, int menuBarHeight) override;
    void SetWindowIcon(const ReadOnlyPixelView& icon) override;
    void PlaceWindow(const Rectangle& outer, int menuBarHeight) override;
    void ShowWindow(bool visible) override;
    void DestroyWindow() override;
    PixelView Lend(Screen screen, int width, int height, const Rectangle& overwritten) override;
    void Changed(Screen screen, const Rectangle& area) override;
    void PollInput(std::vector<InputEvent>& out) override;
    bool Idle() override;
    int ShowMessageBox(const std::string& captionUtf8, const std::string& textUtf8, MessageBoxButtons buttons) override;
    void SetCursorVisible(bool visible) override;
    uint32_t TickCount() override;
    // A page has no sound device of its own to hold: the program says so.
    bool OpenAudioOutput() override { return false; }
    void CloseAudioOutput() override { }
    void EnterFullScreen(int width, int height) override;
    void LeaveFullScreen() override;
    void PresentMenuBar(const ReadOnlyPixelView& bar) override;
    bool WaitForInput(uint32_t timeoutMilliseconds) override;
    void AwaitFile(const std::string& path) override;

    // From the browser's event handlers, between turns of the program.
    void Push(const InputEvent& event);
    // The page's layout may have changed (full screen entered or left).
    void LayOut();
    // ?step: the next `frames` idle turns each draw a frame, the clock
    // `milliseconds` on before each.
    void Grant(int frames, uint32_t milliseconds);
    // The page is told the program has ended.
    static void Ended(int exitCode);

    int Scale() const { return scale_; }
    bool InFullScreen() const { return screens_.InFullScreen(); }
    // A position on the canvas, in CSS pixels from its top-left corner, as
    // client coordinates (over the menu bar y is negative), or in picture
    // pixels in full screen.
    POINT ToProgram(double cssX, double cssY) const;

private:
    // Puts what changed since the last time on the canvas.
    void Flush();
    void Draw(const ReadOnlyPixelView& picture, int factor, int x, int y);
    // `area` of the canvas was drawn as 0x00RRGGBB: as RGBA, to be put on
    // the canvas at the next flush.
    void Drew(const Rectangle& area);
    PixelView Canvas() { return PixelView::OfPixels(canvas_.data(), canvasWidth_, canvasHeight_, canvasWidth_); }
    void DrawMenuBar();
    void ShowClientArea(const Rectangle& area);
    void ShowFullScreen(const Rectangle& area);
    void RedrawAll();
    void ResizeCanvas(int width, int height, double cssWidth, double cssHeight);
    void SleepUntilWoken(uint32_t milliseconds);

    int scale_ = 1; // device pixels to each of the program's pixels, windowed
    double pixelRatio_ = 1.0; // as at the last layout
    WindowFit fit_; // the window's canvas in the page
    bool stepping_ = false;

    int windowWidth_ = 0;
    int menuBarHeight_ = 0;
    int clientHeight_ = 0;

    ShownScreens screens_;
    Letterbox box_;

    // The canvas's own pixels, RGBA bytes as ImageData wants them, and the
    // part of them not yet put on the canvas.
    std::vector<uint32_t> canvas_;
    int canvasWidth_ = 0;
    int canvasHeight_ = 0;
    Rectangle dirty_ {};

    std::deque<InputEvent> input_;

    // The clock of ?step, and the frames granted.
    uint32_t steppedTick_ = 0x10000;
    int64_t granted_ = 0;
    uint32_t grantedMilliseconds_ = 16;

    double lastYield_ = 0.0;
    int64_t frames_ = 0;
    int64_t inputTaken_ = 0;
};

} // namespace platform::host
