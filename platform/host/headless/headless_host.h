// The host of tests and tools: a virtual desktop in memory, a clock that
// moves only when told, input and message-box answers handed in by the test,
// and frames let through one budget at a time.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "host/headless/headless_records.h"
#include "host/host.h"
#include "host/shown_screens.h"

namespace platform::host {

// What the program did to its one window, as the host saw it.
struct HeadlessWindow {
    bool exists = false;
    std::string titleUtf8;
    Rectangle outer {};
    int menuBarHeight = 0;
    bool visible = false;
    int iconWidth = 0;
    int iconHeight = 0;
};

class HeadlessHost final : public Host {
public:
    static constexpr int kDefaultDesktopWidth = 1024;
    static constexpr int kDefaultDesktopHeight = 768;

    // Back to a fresh desktop: no window, no input, no answers, no frames.
    void Reset(uint32_t startTick);

    bool HasDisplay() override { return hasDisplay; }
    Rectangle DesktopRect() override { return Rectangle { 0, 0, desktopWidth, desktopHeight }; }
    void CreateWindow(const std::string& titleUtf8, const Rectangle& outer, int menuBarHeight) override;
    void SetWindowIcon(const ReadOnlyPixelView& icon) override;
    void PlaceWindow(const Rectangle& outer, int menuBarHeight) override;
    void ShowWindow(bool visible) override { window.visible = visible; }
    void DestroyWindow() override;
    // Both screens are memory of the host's own, shown where it is: only a
    // capture copies it.
    PixelView Lend(Screen screen, int width, int height, const Rectangle& overwritten) override;
    void Changed(Screen screen, const Rectangle& area) override;
    // Input waiting behind a menu command is held back until the command has
    // been posted, so that everything reaches the program in order.
    void PollInput(std::vector<InputEvent>& out) override;
    bool Idle() override;
    int ShowMessageBox(const std::string& captionUtf8, const std::string& textUtf8, MessageBoxButtons buttons) override;
    void SetCursorVisible(bool visible) override { cursorVisible = visible; }
    uint32_t TickCount() override { return tick; }
    bool OpenAudioOutput() override;
    void CloseAudioOutput() override;

    // Full screen: the capture is the full-screen picture meanwhile.
    void EnterFullScreen(int width, int height) override;
    void LeaveFullScreen() override { screens.LeaveFullScreen(); }
    bool IsFullScreen() const { return screens.InFullScreen(); }
    int FullScreenPresentations() const { return fullScreenPresentations; }

    // ---- Menu bar, modal loops and drawn message boxes ----
    void PresentMenuBar(const ReadOnlyPixelView& bar) override;
    // Input is there, or a scripted answer or the modal handler supplies some.
    bool WaitForInput(uint32_t timeoutMilliseconds) override;
    // Told by the window manager (the test facade's Reset sets this up). A box
    // answers itself with the next queued answer, fed to it as the key a user
    // would press, ahead of other input. Without one it gets the default
    // answer's key, unless the test has pushed input for it.
    void MessageBoxOpened(const std::string& captionUtf8, const std::string& textUtf8, MessageBoxButtons buttons);
    void MessageBoxClosed(int answer);

    void SetDesktopSize(int width, int height);
    void SetNoDisplay() { hasDisplay = false; }
    void SetNoSound() { hasSound = false; }
    bool SoundAvailable() const { return hasSound; }
    bool AudioOutputOpen() const { return audioOpen; }

    void SetTickCount(uint32_t newTick) { tick = newTick; }
    // Unsigned arithmetic: the counter wraps after 2^32 ms, as on Windows.
    void AdvanceClock(uint32_t milliseconds) { tick += milliseconds; }

    void PushInput(const InputEvent& event) { pendingInput.push_back(PendingInput { event, false, 0 }); }
    // A menu item chosen, handed to the command poster in its turn among the
    // input, as a test on Windows would post it. The host knows no windows:
    // whoever scripts it says how a command is posted.
    void PushMenuCommand(int id) { pendingInput.push_back(PendingInput { {}, true, id }); }
    void SetCommandPoster(std::function<void(int id)> poster) { postCommand = std::move(poster); }
    size_t PendingInputCount() const { return pendingInput.size(); }

    void QueueAnswer(int answer) { answers.push_back(answer); }
    const std::vector<ShownMessageBox>& MessageBoxesShown() const { return shownBoxes; }
    // Where "messagebox ..." lines go as boxes are shown; none by default.
    void SetOutputSink(std::function<void(const std::string&)> sink) { outputSink = std::move(sink); }

    // The next `frames` idle turns each advance the clock by `millisecondsEach`
    // and let a frame through.
    void SetFrameBudget(int64_t frames, uint32_t millisecondsEach);
    int64_t FrameBudget() const { return frameBudget; }
    // Consulted when the budget is spent; without one every idle turn is a
    // frame and the clock stands still.
    void SetBudgetSpentHandler(std::function<bool()> handler) { budgetSpent = std::move(handler); }
    // Counts a frame let through outside any budget (the replay's grace turns).
    void CountFrame() { ++frames; }
    int FramesDrawn() const;

    Capture CaptureScreen() const;
    // Menu bar over client area, as the window shows them together.
    Capture CaptureWindow() const;
    // Consulted when a modal loop (other than a message box) runs out of
    // input: true when it pushed more.
    void SetModalStarvedHandler(std::function<bool()> handler) { modalStarved = std::move(handler); }
    const HeadlessWindow& Window() const { return window; }
    bool CursorVisible() const { return cursorVisible; }

private:
    void EmitMessageBoxLine(const ShownMessageBox& box) const;
    void AnswerOpenBoxWith(int answer, bool urgent);

    bool hasDisplay = true;
    bool hasSound = true;
    bool audioOpen = false;
    int desktopWidth = kDefaultDesktopWidth;
    int desktopHeight = kDefaultDesktopHeight;
    uint32_t tick = 0;
    bool cursorVisible = true;
    HeadlessWindow window;
    ShownScreens screens;
    // A user's input, or a menu command.
    struct PendingInput {
        InputEvent event;
        bool isCommand = false;
        int commandId = 0;
    };
    std::deque<PendingInput> pendingInput;
    std::deque<int> answers;
    std::vector<ShownMessageBox> shownBoxes;
    std::function<void(const std::string&)> outputSink;
    int64_t frameBudget = 0;
    uint32_t frameMilliseconds = 0;
    std::function<bool()> budgetSpent;
    std::function<void(int)> postCommand;
    int64_t frames = 0;

    int fullScreenPresentations = 0;

    // ---- Menu bar, modal loops and drawn message boxes ----
    std::function<bool()> modalStarved;
    bool boxOpen = false;
    bool boxAnswered = false; // its answer's key has been pushed
    ShownMessageBox openBox;
    MessageBoxButtons openBoxButtons = MessageBoxButtons::Ok;
};

// The one headless host of the process; headless::Reset installs it.
HeadlessHost& TheHeadlessHost();

// "ok", "yes" or "no", as replay output writes answers.
const char* AnswerName(int answer);

} // namespace platform::host
