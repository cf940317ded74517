#include "host/headless/headless_host.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "common/display_size.h"

namespace platform::host {
namespace {

// Only the buttons of the box can answer it; anything else is the default.
int FittingAnswer(MessageBoxButtons buttons, int answer)
{
    if (buttons == MessageBoxButtons::YesNo) return (answer == IDYES || answer == IDNO) ? answer : IDNO;
    return IDOK;
}

int DefaultAnswer(MessageBoxButtons buttons) { return buttons == MessageBoxButtons::YesNo ? IDNO : IDOK; }

// The memory as the screen shows it: 0x00RRGGBB, the alpha byte not part of it.
Capture CaptureOf(const ScreenMemory& memory)
{
    const PixelView& pixels = memory.Pixels();
    Capture capture;
    capture.width = pixels.width;
    capture.height = pixels.height;
    ToXrgb(pixels, pixels.Bounds(), capture.pixels);
    return capture;
}

} // namespace

HeadlessHost& TheHeadlessHost()
{
    static HeadlessHost host;
    return host;
}

const char* AnswerName(int answer)
{
    switch (answer) {
    case IDYES:
        return "yes";
    case IDNO:
        return "no";
    default:
        return "ok";
    }
}

void HeadlessHost::Reset(uint32_t startTick)
{
    *this = HeadlessHost {};
    tick = startTick;
}

void HeadlessHost::CreateWindow(const std::string& titleUtf8, const Rectangle& outer, int menuBarHeight)
{
    window = HeadlessWindow {};
    window.exists = true;
    window.titleUtf8 = titleUtf8;
    window.outer = outer;
    window.menuBarHeight = menuBarHeight;
}

void HeadlessHost::SetWindowIcon(const ReadOnlyPixelView& icon)
{
    window.iconWidth = icon.width;
    window.iconHeight = icon.height;
}

void HeadlessHost::PlaceWindow(const Rectangle& outer, int menuBarHeight)
{
    window.outer = outer;
    window.menuBarHeight = menuBarHeight;
}

// The screen keeps showing the window's last picture.
void HeadlessHost::DestroyWindow()
{
    window.exists = false;
    window.visible = false;
}

PixelView HeadlessHost::Lend(Screen lent, int width, int height, const Rectangle&)
{
    return screens.Lend(lent, width, height);
}

void HeadlessHost::Changed(Screen changed, const Rectangle&)
{
    if (changed == Screen::FullScreen && screens.InFullScreen()) ++fullScreenPresentations;
}

void HeadlessHost::PollInput(std::vector<InputEvent>& out)
{
    // What was handed out before has been queued by now: a command that
    // follows it is posted behind it.
    while (!pendingInput.empty() && pendingInput.front().isCommand) {
        if (postCommand) postCommand(pendingInput.front().commandId);
        pendingInput.pop_front();
    }
    while (!pendingInput.empty() && !pendingInput.front().isCommand) {
        out.push_back(pendingInput.front().event);
        pendingInput.pop_front();
    }
}

bool HeadlessHost::Idle()
{
    if (frameBudget > 0) {
        --frameBudget;
        AdvanceClock(frameMilliseconds);
        ++frames;
        return true;
    }
    if (budgetSpent) return budgetSpent();
    ++frames;
    return true;
}

int HeadlessHost::ShowMessageBox(const std::string& captionUtf8, const std::string& textUtf8, MessageBoxButtons buttons)
{
    int answer = DefaultAnswer(buttons);
    if (!answers.empty()) {
        answer = FittingAnswer(buttons, answers.front());
        answers.pop_front();
    }
    if (!hasDisplay) {
        // Nobody can see a box: the text must still reach someone.
        std::fprintf(stderr, "%s%s%s\n", captionUtf8.c_str(), captionUtf8.empty() ? "" : ": ", textUtf8.c_str());
        std::fflush(stderr);
    }
    shownBoxes.push_back(ShownMessageBox { captionUtf8, textUtf8, answer });
    EmitMessageBoxLine(shownBoxes.back());
    return answer;
}

void HeadlessHost::EmitMessageBoxLine(const ShownMessageBox& box) const
{
    if (!outputSink) return;
    outputSink("messagebox " + box.captionUtf8 + " | " + box.textUtf8 + " | " + AnswerName(box.answer));
}

bool HeadlessHost::OpenAudioOutput()
{
    audioOpen = hasSound;
    return hasSound;
}

void HeadlessHost::CloseAudioOutput() { audioOpen = false; }

void HeadlessHost::EnterFullScreen(int width, int height) { screens.EnterFullScreen(width, height); }

void HeadlessHost::SetDesktopSize(int width, int height)
{
    desktopWidth = std::max(width, 1);
    desktopHeight = std::max(height, 1);
}

void HeadlessHost::SetFrameBudget(int64_t budget, uint32_t millisecondsEach)
{
    frameBudget = std::max<int64_t>(budget, 0);
    frameMilliseconds = millisecondsEach;
}

int HeadlessHost::FramesDrawn() const { return int(std::min<int64_t>(frames, INT_MAX)); }

Capture HeadlessHost::CaptureScreen() const
{
    if (screens.InFullScreen()) return CaptureOf(screens.DisplayMemory());
    if (screens.Client().pixels) return CaptureOf(screens.ClientMemory());
    // Nothing presented yet: the client area is still black.
    Capture black;
    int clientWidth = window.outer.right - window.outer.left;
    int clientHeight = window.outer.bottom - window.outer.top - window.menuBarHeight;
    bool hasClient = window.exists && clientWidth > 0 && clientHeight > 0;
    black.width = hasClient ? clientWidth : kDisplayWidth;
    black.height = hasClient ? clientHeight : kDisplayHeight;
    black.pixels.assign(size_t(black.width) * size_t(black.height), 0);
    return black;
}

// ---- Menu bar, modal loops and drawn message boxes ----

void HeadlessHost::PresentMenuBar(const ReadOnlyPixelView& bar) { screens.KeepMenuBar(bar); }

// The key that gives `answer` in a box of the drawn kind.
void HeadlessHost::AnswerOpenBoxWith(int answer, bool urgent)
{
    InputEvent key { InputEvent::Kind::KeyDown };
    key.virtualKey = answer == IDYES ? UINT('Y') : answer == IDNO ? UINT('N') : UINT(VK_RETURN);
    if (urgent)
        pendingInput.push_front(PendingInput { key, false, 0 });
    else
        pendingInput.push_back(PendingInput { key, false, 0 });
    boxAnswered = true;
}

void HeadlessHost::MessageBoxOpened(
    const std::string& captionUtf8, const std::string& textUtf8, MessageBoxButtons buttons)
{
    boxOpen = true;
    boxAnswered = false;
    openBox = ShownMessageBox { captionUtf8, textUtf8, 0 };
    openBoxButtons = buttons;
    if (!answers.empty()) {
        int answer = FittingAnswer(buttons, answers.front());
        answers.pop_front();
        AnswerOpenBoxWith(answer, true);
    } else if (pendingInput.empty()) {
        AnswerOpenBoxWith(DefaultAnswer(buttons), true);
    }
}

void HeadlessHost::MessageBoxClosed(int answer)
{
    if (!boxOpen) return;
    boxOpen = false;
    openBox.answer = answer;
    shownBoxes.push_back(openBox);
    EmitMessageBoxLine(shownBoxes.back());
}

bool HeadlessHost::WaitForInput(uint32_t)
{
    if (!pendingInput.empty()) return true;
    // A box whose pushed input ran out gets its default answer: nobody is
    // left to press a key, and it must not wait for ever.
    if (boxOpen) {
        if (boxAnswered) return false;
        AnswerOpenBoxWith(DefaultAnswer(openBoxButtons), false);
        return true;
    }
    if (modalStarved && modalStarved()) return !pendingInput.empty();
    return false;
}

Capture HeadlessHost::CaptureWindow() const
{
    Capture client = CaptureScreen();
    Capture whole;
    const ReadOnlyPixelView bar = screens.MenuBar(INT_MAX);
    const int barHeight = window.menuBarHeight > 0 && bar.pixels ? bar.height : 0;
    whole.width = std::max(client.width, barHeight > 0 ? bar.width : 0);
    whole.height = client.height + barHeight;
    whole.pixels.assign(size_t(whole.width) * size_t(whole.height), 0);
    // The alpha byte is not part of what a screen shows.
    for (int y = 0; y < barHeight; ++y)
        for (int x = 0; x < bar.width; ++x)
            whole.pixels[size_t(y) * size_t(whole.width) + size_t(x)] = bar.Row<uint32_t>(y)[x] & 0x00FFFFFFu;
    for (int y = 0; y < client.height; ++y)
        std::copy_n(client.pixels.begin() + ptrdiff_t(y) * client.width, client.width,
            whole.pixels.begin() + ptrdiff_t(y + barHeight) * whole.width);
    return whole;
}

} // namespace platform::host
