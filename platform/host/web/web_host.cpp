#include "host/web/web_host.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "host/desktop_scale.h"
#include "host/image_set.h"
#include "host/scaled_copy.h"
#include "host/web/page.h"

namespace platform::host {
namespace {

// The program draws frames back to back for this long before the browser
// gets its turn: about a screen refresh, so the page stays as smooth and
// responsive as the screen is.
constexpr double kSliceMilliseconds = 12.0;
// How long the idle loop of ?step sleeps before it looks again anyway.
constexpr uint32_t kSteppedWaitMilliseconds = 100;

// 0x00RRGGBB to the bytes R, G, B, 255 that ImageData holds, as one
// little-endian word.
uint32_t Rgba(uint32_t xrgb)
{
    return 0xFF000000u | ((xrgb & 0xFFu) << 16) | (xrgb & 0xFF00u) | ((xrgb >> 16) & 0xFFu);
}

void ToRgba(uint32_t* pixels, int width, const Rectangle& area)
{
    for (int64_t y = area.top; y < area.bottom; ++y) {
        uint32_t* row = pixels + ptrdiff_t(y) * width;
        for (int64_t x = area.left; x < area.right; ++x)
            row[x] = Rgba(row[x]);
    }
}

} // namespace

WebHost::WebHost()
    : pixelRatio_(page::DevicePixelRatio())
    , stepping_(page::SteppingRequested())
{
    // The density is read once, at start, as the desktop hosts do.
    scale_ = PixelRatioScale(pixelRatio_);
    if (!(pixelRatio_ > 0) || !std::isfinite(pixelRatio_)) pixelRatio_ = 1.0;
    lastYield_ = page::Now();
}

Rectangle WebHost::DesktopRect()
{
    // In the program's pixels, as a scaled program sees the screen on Windows.
    const int width = int(page::ScreenWidth() * pixelRatio_) / scale_;
    const int height = int(page::ScreenHeight() * pixelRatio_) / scale_;
    return Rectangle { 0, 0, std::max(width, kPageDesktopWidth), std::max(height, kPageDesktopHeight) };
}

void WebHost::CreateWindow(const std::string& titleUtf8, const Rectangle& outer, int menuBarHeight)
{
    page::SetTitle(titleUtf8.c_str());
    PlaceWindow(outer, menuBarHeight);
}

// The window's icon is the page's.
void WebHost::SetWindowIcon(const ReadOnlyPixelView& icon)
{
    if (!icon.pixels || icon.width <= 0 || icon.height <= 0 || icon.bytesPerPixel != 4 || !icon.RowsFit()) return;
    std::vector<uint32_t> rgba(size_t(icon.width) * size_t(icon.height));
    for (int y = 0; y < icon.height; ++y)
        for (int x = 0; x < icon.width; ++x)
            rgba[size_t(y) * size_t(icon.width) + size_t(x)] = Rgba(icon.Row<uint32_t>(y)[x]);
    page::SetIcon(rgba.data(), icon.width, icon.height);
}

void WebHost::PlaceWindow(const Rectangle& outer, int menuBarHeight)
{
    // The page puts the window where it lies in the page; only its size counts.
    const int width = std::max<int>(outer.right - outer.left, 1);
    const int barHeight = std::max(menuBarHeight, 0);
    const int clientHeight = std::max<int>(outer.bottom - outer.top - barHeight, 0);
    if (width == windowWidth_ && barHeight == menuBarHeight_ && clientHeight == clientHeight_) return;
    windowWidth_ = width;
    menuBarHeight_ = barHeight;
    clientHeight_ = clientHeight;
    LayOut();
}

void WebHost::ShowWindow(bool visible) { page::ShowCanvas(visible); }

void WebHost::DestroyWindow()
{
    Flush();
    ShowWindow(false);
}

PixelView WebHost::Lend(Screen screen, int width, int height, const Rectangle&)
{
    return screens_.Lend(screen, width, height);
}

void WebHost::Changed(Screen screen, const Rectangle& area)
{
    if (screen == Screen::Client && !InFullScreen()) ShowClientArea(area);
    if (screen == Screen::FullScreen && InFullScreen()) ShowFullScreen(area);
}

void WebHost::PollInput(std::vector<InputEvent>& out)
{
    out.insert(out.end(), input_.begin(), input_.end());
    inputTaken_ += int64_t(input_.size());
    input_.clear();
}

bool WebHost::Idle()
{
    if (stepping_) {
        if (granted_ > 0) {
            --granted_;
            steppedTick_ += grantedMilliseconds_;
            ++frames_;
            return true;
        }
        Flush();
        SleepUntilWoken(kSteppedWaitMilliseconds);
        return false;
    }
    if (page::Now() - lastYield_ >= kSliceMilliseconds) {
        Flush();
        page::YieldForPaint();
        lastYield_ = page::Now();
    }
    ++frames_;
    return true;
}

// Only where no box can be drawn: the window is hidden.
int WebHost::ShowMessageBox(const std::string& captionUtf8, const std::string& textUtf8, MessageBoxButtons buttons)
{
    std::fprintf(stderr, "%s%s%s\n", captionUtf8.c_str(), captionUtf8.empty() ? "" : ": ", textUtf8.c_str());
    return buttons == MessageBoxButtons::YesNo ? IDNO : IDOK;
}

void WebHost::SetCursorVisible(bool visible) { page::ShowCursor(visible); }

uint32_t WebHost::TickCount()
{
    if (stepping_) return steppedTick_;
    // Milliseconds since the page was opened, wrapping as Windows' counter.
    return uint32_t(uint64_t(page::Now()));
}

void WebHost::EnterFullScreen(int width, int height)
{
    screens_.EnterFullScreen(width, height);
    page::RequestFullScreen();
    LayOut();
}

void WebHost::LeaveFullScreen()
{
    if (!InFullScreen()) return;
    screens_.LeaveFullScreen();
    page::ExitFullScreen();
    LayOut();
}

void WebHost::PresentMenuBar(const ReadOnlyPixelView& bar)
{
    if (screens_.KeepMenuBar(bar)) DrawMenuBar();
}

// Full screen has no bar; it comes back with the window.
void WebHost::DrawMenuBar()
{
    const ReadOnlyPixelView bar = screens_.MenuBar(menuBarHeight_);
    if (InFullScreen() || canvas_.empty() || !bar.pixels) return;
    Draw(bar, fit_.factor, 0, 0);
}

bool WebHost::WaitForInput(uint32_t timeoutMilliseconds)
{
    Flush();
    if (input_.empty()) SleepUntilWoken(timeoutMilliseconds);
    return true;
}

void WebHost::AwaitFile(const std::string& path) { page::AwaitFile(path.c_str()); }

void WebHost::Push(const InputEvent& event)
{
    input_.push_back(event);
    page::Wake();
}

void WebHost::Grant(int frames, uint32_t milliseconds)
{
    if (!stepping_ || frames <= 0) return;
    granted_ += frames;
    grantedMilliseconds_ = milliseconds;
    page::Wake();
}

void WebHost::Ended(int exitCode) { page::ReportEnded(exitCode); }

POINT WebHost::ToProgram(double cssX, double cssY) const
{
    // CSS pixels to the canvas's own, then to the program's.
    if (InFullScreen()) {
        const double x = std::floor(cssX * pixelRatio_), y = std::floor(cssY * pixelRatio_);
        const PicturePoint point = ScreenToPicture(
            box_, screens_.Display().width, screens_.Display().height, int(x) + box_.x, int(y) + box_.y);
        return POINT { point.x, point.y };
    }
    const double x = std::floor(cssX * canvasWidth_ / fit_.cssWidth);
    const double y = std::floor(cssY * canvasHeight_ / fit_.cssHeight);
    return POINT { Unscale(int(x), fit_.factor), Unscale(int(y), fit_.factor) - menuBarHeight_ };
}

// ---- The canvas ----

void WebHost::LayOut()
{
    // The ratio changes with the browser's zoom and from screen to screen.
    pixelRatio_ = page::DevicePixelRatio();
    if (!(pixelRatio_ > 0) || !std::isfinite(pixelRatio_)) pixelRatio_ = 1.0;
    if (InFullScreen()) {
        const PixelView& picture = screens_.Display();
        // The whole screen once the browser has given it, else the page's
        // viewport: the picture letterboxed on it, in device pixels.
        const int screenWidth = int(page::ViewportWidth() * pixelRatio_);
        const int screenHeight = int(page::ViewportHeight() * pixelRatio_);
        box_ = FitPicture(picture.width, picture.height, screenWidth, screenHeight);
        const int factor = std::max(box_.wholeFactor, 1);
        ResizeCanvas(
            picture.width * factor, picture.height * factor, box_.width / pixelRatio_, box_.height / pixelRatio_);
    } else {
        const int height = menuBarHeight_ + clientHeight_;
        fit_ = page::FitWindowInPage(windowWidth_, height, scale_, pixelRatio_);
        ResizeCanvas(windowWidth_ * fit_.factor, height * fit_.factor, fit_.cssWidth, fit_.cssHeight);
    }
    RedrawAll();
}

void WebHost::ResizeCanvas(int width, int height, double cssWidth, double cssHeight)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    // Blocks, also where the browser rounds the canvas's place to its
    // layout units (a third of a CSS pixel, at a device scale of 3, is none
    // of them); smoothed only where the window is scaled down to fit.
    const bool pixelated = InFullScreen() || !fit_.smooth;
    if (width != canvasWidth_ || height != canvasHeight_) {
        canvasWidth_ = width;
        canvasHeight_ = height;
        canvas_.assign(size_t(width) * size_t(height), Rgba(0));
    }
    page::SizeCanvas(width, height, cssWidth, cssHeight, pixelated);
}

void WebHost::RedrawAll()
{
    std::fill(canvas_.begin(), canvas_.end(), Rgba(0));
    dirty_ = Rectangle { 0, 0, canvasWidth_, canvasHeight_ };
    if (InFullScreen()) {
        const PixelView& picture = screens_.Display();
        ShowFullScreen(Rectangle { 0, 0, picture.width, picture.height });
        return;
    }
    DrawMenuBar();
    const PixelView& client = screens_.Client();
    if (client.pixels) ShowClientArea(Rectangle { 0, 0, client.width, client.height });
}

void WebHost::ShowClientArea(const Rectangle& changed)
{
    if (canvas_.empty()) return;
    // Only what the window has room for.
    const Rectangle area = ClippedTo(changed, windowWidth_, clientHeight_);
    Drew(screens_.DrawClient(Canvas(), fit_.factor, menuBarHeight_ * fit_.factor, area));
}

void WebHost::ShowFullScreen(const Rectangle& changed)
{
    const PixelView& memory = screens_.Display();
    if (!memory.pixels || canvas_.empty()) return;
    const Rectangle area = ClippedTo(changed, memory.width, memory.height);
    if (area.IsEmpty()) return;
    const ReadOnlyPixelView picture = screens_.WidenDisplay(area);
    if (!picture.pixels) return;
    const int factor = std::max(box_.wholeFactor, 1);
    Draw(picture.Part(area), factor, int(area.left) * factor, int(area.top) * factor);
}

// Every picture pixel a `factor` by `factor` block, its top-left corner at
// (x, y) of the canvas; as RGBA, to be put on the canvas at the next flush.
void WebHost::Draw(const ReadOnlyPixelView& picture, int factor, int x, int y)
{
    CopyScaled(picture, factor, Canvas(), x, y);
    Drew(ClippedTo(
        Rectangle { x, y, x + picture.width * factor, y + picture.height * factor }, canvasWidth_, canvasHeight_));
}

void WebHost::Drew(const Rectangle& area)
{
    if (area.IsEmpty()) return;
    ToRgba(canvas_.data(), canvasWidth_, area);
    dirty_ = UnionOf(dirty_, area);
}

// Everything the program has taken so far has been handled by now: the loops
// flush only when they have nothing left to do.
void WebHost::Flush()
{
    if (!dirty_.IsEmpty() && !canvas_.empty())
        page::PutRows(canvas_.data(), canvasWidth_, canvasHeight_, int(dirty_.top), int(dirty_.bottom - dirty_.top));
    dirty_ = Rectangle {};
    page::ReportProgress(double(frames_), double(inputTaken_));
}

void WebHost::SleepUntilWoken(uint32_t milliseconds) { page::SleepUntilWoken(milliseconds); }

} // namespace platform::host
