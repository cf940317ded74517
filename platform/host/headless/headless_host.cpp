#include "host/headless/headless_host.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "ddraw/pixel_rows.h"

namespace platform::host {
namespace {

constexpr int kFallbackClientWidth = 640;
constexpr int kFallbackClientHeight = 480;

// Only the buttons of the box can answer it; anything else is the default.
int FittingAnswer(MessageBoxButtons buttons, int answer)
{
    if (buttons == MessageBoxButtons::YesNo) return (answer == IDYES || answer == IDNO) ? answer : IDNO;
    return IDOK;
}

int DefaultAnswer(MessageBoxButtons buttons) { return buttons == MessageBoxButtons::YesNo ? IDNO : IDOK; }

void CopyColourBits(uint32_t* to, const uint32_t* from, int count)
{
    ddraw::rows::CopyMasked32(
        reinterpret_cast<uint8_t*>(to), reinterpret_cast<const uint8_t*>(from), count, 0x00FFFFFFu);
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

void HeadlessHost::CreateWindow(const std::string& titleUtf8, const RECT& outer, int menuBarHeight)
{
    window = HeadlessWindow {};
    window.exists = true;
    window.titleUtf8 = titleUtf8;
    window.outer = outer;
    window.menuBarHeight = menuBarHeight;
}

void HeadlessHost::SetWindowIcon(const PixelView& icon)
{
    window.iconWidth = icon.width;
    window.iconHeight = icon.height;
}

void HeadlessHost::PlaceWindow(const RECT& outer, int menuBarHeight)
{
    window.outer = outer;
    window.menuBarHeight = menuBarHeight;
}

void HeadlessHost::DestroyWindow()
{
    window.exists = false;
    window.visible = false;
}

void HeadlessHost::PresentClient(const PixelView& client)
{
    if (!client.pixels || client.width <= 0 || client.height <= 0 || client.pitchPixels < client.width) return;
    screen.width = client.width;
    screen.height = client.height;
    screen.pixels.resize(size_t(client.width) * size_t(client.height));
    for (int y = 0; y < client.height; ++y) {
        const uint32_t* row = client.pixels + size_t(y) * size_t(client.pitchPixels);
        // The alpha byte is not part of what a screen shows.
        CopyColourBits(screen.pixels.data() + ptrdiff_t(y) * client.width, row, client.width);
    }
}

void HeadlessHost::PollInput(std::vector<InputEvent>& out)
{
    out.insert(out.end(), pendingInput.begin(), pendingInput.end());
    pendingInput.clear();
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
    shownBoxes.push_back(headless::ShownMessageBox { captionUtf8, textUtf8, answer });
    EmitMessageBoxLine(shownBoxes.back());
    return answer;
}

void HeadlessHost::EmitMessageBoxLine(const headless::ShownMessageBox& box) const
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

void HeadlessHost::EnterFullScreen(int width, int height)
{
    fullScreen = true;
    // Until the program draws, the display shows black.
    fullScreenPicture.width = std::max(width, 0);
    fullScreenPicture.height = std::max(height, 0);
    fullScreenPicture.pixels.assign(size_t(fullScreenPicture.width) * size_t(fullScreenPicture.height), 0);
}

void HeadlessHost::PresentFullScreen(const PixelView& picture)
{
    if (!fullScreen || !picture.pixels || picture.width != fullScreenPicture.width
        || picture.height != fullScreenPicture.height || picture.pitchPixels < picture.width)
        return;
    ++fullScreenPresentations;
    // Drawn in place on the canvas: nothing to copy.
    if (picture.pixels == fullScreenPicture.pixels.data() && picture.pitchPixels == picture.width) return;
    for (int y = 0; y < picture.height; ++y) {
        const uint32_t* row = picture.pixels + size_t(y) * size_t(picture.pitchPixels);
        CopyColourBits(fullScreenPicture.pixels.data() + ptrdiff_t(y) * picture.width, row, picture.width);
    }
}

uint32_t* HeadlessHost::FullScreenCanvas(int width, int height)
{
    if (!fullScreen || width <= 0 || width != fullScreenPicture.width || height != fullScreenPicture.height)
        return nullptr;
    return fullScreenPicture.pixels.data();
}

void HeadlessHost::LeaveFullScreen()
{
    fullScreen = false;
    fullScreenPicture = headless::Capture {};
}

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

headless::Capture HeadlessHost::CaptureScreen() const
{
    if (fullScreen) return fullScreenPicture;
    if (!screen.pixels.empty()) return screen;
    // Nothing presented yet: the client area is still black.
    headless::Capture black;
    int clientWidth = window.outer.right - window.outer.left;
    int clientHeight = window.outer.bottom - window.outer.top - window.menuBarHeight;
    bool hasClient = window.exists && clientWidth > 0 && clientHeight > 0;
    black.width = hasClient ? clientWidth : kFallbackClientWidth;
    black.height = hasClient ? clientHeight : kFallbackClientHeight;
    black.pixels.assign(size_t(black.width) * size_t(black.height), 0);
    return black;
}

} // namespace platform::host
