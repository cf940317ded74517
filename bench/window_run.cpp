#include "window_run.h"

#include <chrono>
#include <cstdio>

#include <windows.h>

#include "host/sdl/sdl_host.h"
#include "shell/application.h"
#include "shell/input.h"

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;
using platform::host::InputEvent;

constexpr double kWarmUpSeconds = 1.0;

// Passes everything to the SDL host; adds the user's menu choices at the
// start, the close request at the end, and a stopwatch around presenting.
class TimedHost final : public platform::host::Host {
public:
    TimedHost(platform::host::Host& inner, double seconds)
        : inner_(inner)
        , seconds_(seconds)
    {
    }

    bool HasDisplay() override { return inner_.HasDisplay(); }
    platform::Rectangle DesktopRect() override { return inner_.DesktopRect(); }
    void CreateWindow(const std::string& title, const platform::Rectangle& outer, int menuBarHeight) override
    {
        inner_.CreateWindow(title, outer, menuBarHeight);
    }
    void SetWindowIcon(const platform::ReadOnlyPixelView& icon) override { inner_.SetWindowIcon(icon); }
    void PlaceWindow(const platform::Rectangle& outer, int menuBarHeight) override
    {
        inner_.PlaceWindow(outer, menuBarHeight);
    }
    void ShowWindow(bool visible) override { inner_.ShowWindow(visible); }
    void DestroyWindow() override { inner_.DestroyWindow(); }

    // The client area's presentation: lending the memory the frame is
    // drawn into (which may wait for the screen) and showing what changed.
    platform::PixelView Lend(
        platform::host::Screen screen, int width, int height, const platform::Rectangle& overwritten) override
    {
        const Clock::time_point start = Clock::now();
        const platform::PixelView lent = inner_.Lend(screen, width, height, overwritten);
        Count(start, false);
        return lent;
    }
    void Changed(platform::host::Screen screen, const platform::Rectangle& area) override
    {
        const Clock::time_point start = Clock::now();
        inner_.Changed(screen, area);
        Count(start, screen == platform::host::Screen::Client);
    }

    void PollInput(std::vector<InputEvent>& out) override
    {
        inner_.PollInput(out);
        if (!started_) {
            started_ = true;
            startedAt_ = Clock::now();
            SwitchEverythingOn(out);
            return;
        }
        const double elapsed = std::chrono::duration<double>(Clock::now() - startedAt_).count();
        if (!measuring_ && elapsed >= kWarmUpSeconds) {
            measuring_ = true;
            measureStart_ = Clock::now();
        }
        if (measuring_ && !closing_ && elapsed >= kWarmUpSeconds + seconds_) {
            closing_ = true;
            figures_.seconds = std::chrono::duration<double>(Clock::now() - measureStart_).count();
            InputEvent close;
            close.kind = InputEvent::Kind::Close;
            out.push_back(close);
        }
    }

    bool Idle() override { return inner_.Idle(); }
    // The window looks as a user's does. Modal loops are not passed on: with
    // no input to wait for they give up at once, so a box cannot stall the run.
    void PresentMenuBar(const platform::ReadOnlyPixelView& bar) override { inner_.PresentMenuBar(bar); }
    bool WaitForInput(uint32_t) override { return false; }

    // Nobody sits at the benchmark: a box is answered with its default.
    int ShowMessageBox(
        const std::string& caption, const std::string& text, platform::host::MessageBoxButtons buttons) override
    {
        std::fprintf(stderr, "message box answered: %s | %s\n", caption.c_str(), text.c_str());
        return buttons == platform::host::MessageBoxButtons::YesNo ? IDNO : IDOK;
    }
    void SetCursorVisible(bool visible) override { inner_.SetCursorVisible(visible); }
    uint32_t TickCount() override { return inner_.TickCount(); }
    bool OpenAudioOutput() override { return inner_.OpenAudioOutput(); }
    void CloseAudioOutput() override { inner_.CloseAudioOutput(); }
    void EnterFullScreen(int width, int height) override { inner_.EnterFullScreen(width, height); }
    void LeaveFullScreen() override { inner_.LeaveFullScreen(); }

    const WindowFigures& Figures() const { return figures_; }

private:
    void Count(Clock::time_point start, bool frameShown)
    {
        if (!measuring_) return;
        figures_.presentSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        if (frameShown) ++figures_.frames;
    }

    // As the menu would: the commands reach the window ahead of the mouse,
    // which is queued after this poll.
    static void SwitchEverythingOn(std::vector<InputEvent>& out)
    {
        const int commands[] = { IDM_SWAYING_BACKGROUND, IDM_KOKESHI, IDM_CHARACTER, IDM_ZOOM, IDM_TEXT, IDM_MULTI };
        for (int command : commands)
            PostMessageA(mainWindow, WM_COMMAND, WPARAM(command), 0);
        InputEvent mouse;
        mouse.kind = InputEvent::Kind::MouseMove;
        mouse.x = 270;
        mouse.y = 180;
        out.push_back(mouse);
    }

    platform::host::Host& inner_;
    double seconds_;
    bool started_ = false;
    bool measuring_ = false;
    bool closing_ = false;
    Clock::time_point startedAt_;
    Clock::time_point measureStart_;
    WindowFigures figures_;
};

} // namespace

bool RunRealWindow(double seconds, WindowFigures& figures)
{
    platform::host::SdlHost sdl;
    if (!sdl.HasDisplay()) return false;
    TimedHost timed(sdl, seconds);
    platform::host::Install(&timed);
    const int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWDEFAULT);
    platform::host::Install(nullptr);
    figures = timed.Figures();
    figures.exitCode = exitCode;
    figures.driver = sdl.VideoDriver();
    return true;
}

} // namespace bench
