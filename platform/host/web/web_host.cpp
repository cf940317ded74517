#include "host/web/web_host.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "host/desktop_scale.h"
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

void ToRgba(uint32_t* pixels, int width, const RECT& area)
{
    for (LONG y = area.top; y < area.bottom; ++y) {
        uint32_t* row = pixels + ptrdiff_t(y) * width;
        for (LONG x = area.left; x < area.right; ++x)
            row[x] = Rgba(row[x]);
    }
}

RECT Union(const RECT& a, const RECT& b)
{
    if (a.right <= a.left || a.bottom <= a.top) return b;
    if (b.right <= b.left || b.bottom <= b.top) return a;
    return RECT { std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
        std::max(a.bottom, b.bottom) };
}

RECT Clipped(const RECT& area, int width, int height)
{
    RECT clipped { std::clamp<LONG>(area.left, 0, width), std::clamp<LONG>(area.top, 0, height),
        std::clamp<LONG>(area.right, 0, width), std::clamp<LONG>(area.bottom, 0, height) };
    if (clipped.right < clipped.left) clipped.right = clipped.left;
    if (clipped.bottom < clipped.top) clipped.bottom = clipped.top;
    return clipped;
}

bool IsEmpty(const RECT& area) { return area.right <= area.left || area.bottom <= area.top; }

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

RECT WebHost::DesktopRect()
{
    // In the program's pixels, as a scaled program sees the screen on Windows.
    const int width = int(page::ScreenWidth() * pixelRatio_) / scale_;
    const int height = int(page::ScreenHeight() * pixelRatio_) / scale_;
    return RECT { 0, 0, std::max(width, 1), std::max(height, 1) };
}

void WebHost::CreateWindow(const std::string& titleUtf8, const RECT& outer, int menuBarHeight)
{
    page::SetTitle(titleUtf8.c_str());
    PlaceWindow(outer, menuBarHeight);
}

// The window's icon is the page's.
void WebHost::SetWindowIcon(const PixelView& icon)
{
    if (!icon.pixels || icon.width <= 0 || icon.height <= 0 || icon.pitchPixels < icon.width) return;
    std::vector<uint32_t> rgba(size_t(icon.width) * size_t(icon.height));
    for (int y = 0; y < icon.height; ++y)
        for (int x = 0; x < icon.width; ++x)
            rgba[size_t(y) * size_t(icon.width) + size_t(x)]
                = Rgba(icon.pixels[size_t(y) * size_t(icon.pitchPixels) + size_t(x)]);
    page::SetIcon(rgba.data(), icon.width, icon.height);
}

void WebHost::PlaceWindow(const RECT& outer, int menuBarHeight)
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

LentPixels WebHost::Lend(Screen screen, int width, int height, const RECT&)
{
    if (screen == Screen::Client) return client_.Lend(width, height, kClientBytesPerPixel);
    if (!fullScreen_) return {};
    return fullScreenMemory_.Lend(width, height, kFullScreenBytesPerPixel);
}

void WebHost::Changed(Screen screen, const RECT& area)
{
    if (screen == Screen::Client && !fullScreen_) ShowClientArea(area);
    if (screen == Screen::FullScreen && fullScreen_) ShowFullScreen(area);
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
    fullScreen_ = true;
    // Until the program draws, the display shows black.
    fullScreenMemory_.Lend(width, height, kFullScreenBytesPerPixel);
    fullScreenMemory_.Clear();
    page::RequestFullScreen();
    LayOut();
}

void WebHost::LeaveFullScreen()
{
    if (!fullScreen_) return;
    fullScreen_ = false;
    page::ExitFullScreen();
    LayOut();
}

void WebHost::PresentMenuBar(const PixelView& bar)
{
    if (!bar.pixels || bar.width <= 0 || bar.height <= 0 || bar.pitchPixels < bar.width) return;
    menuBarWidth_ = bar.width;
    menuBarRows_ = bar.height;
    menuBar_.resize(size_t(bar.width) * size_t(bar.height));
    for (int y = 0; y < bar.height; ++y)
        std::copy_n(
            bar.pixels + size_t(y) * size_t(bar.pitchPixels), bar.width, menuBar_.begin() + ptrdiff_t(y) * bar.width);
    DrawMenuBar();
}

// Full screen has no bar; it comes back with the window.
void WebHost::DrawMenuBar()
{
    if (fullScreen_ || canvas_.empty() || menuBar_.empty()) return;
    Draw(PixelView { menuBar_.data(), menuBarWidth_, std::min(menuBarRows_, menuBarHeight_), menuBarWidth_ }, scale_, 0,
        0);
}

bool WebHost::WaitForInput(uint32_t timeoutMilliseconds)
{
    Flush();
    if (input_.empty()) SleepUntilWoken(timeoutMilliseconds);
    return true;
}

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
    const double toCanvas = pixelRatio_;
    const double x = std::floor(cssX * toCanvas), y = std::floor(cssY * toCanvas);
    if (fullScreen_) {
        const PicturePoint point = ScreenToPicture(box_, fullScreenMemory_.Pixels().width,
            fullScreenMemory_.Pixels().height, int(x) + box_.x, int(y) + box_.y);
        return POINT { point.x, point.y };
    }
    return POINT { Unscale(int(x), scale_), Unscale(int(y), scale_) - menuBarHeight_ };
}

// ---- The canvas ----

void WebHost::LayOut()
{
    if (fullScreen_) {
        const LentPixels& picture = fullScreenMemory_.Pixels();
        // The whole screen once the browser has given it, else the page's
        // viewport: the picture letterboxed on it, in device pixels.
        const int screenWidth = int(page::ViewportWidth() * pixelRatio_);
        const int screenHeight = int(page::ViewportHeight() * pixelRatio_);
        box_ = FitPicture(picture.width, picture.height, screenWidth, screenHeight);
        const int factor = std::max(box_.wholeFactor, 1);
        ResizeCanvas(
            picture.width * factor, picture.height * factor, box_.width / pixelRatio_, box_.height / pixelRatio_);
    } else {
        const int width = windowWidth_ * scale_, height = (menuBarHeight_ + clientHeight_) * scale_;
        ResizeCanvas(width, height, width / pixelRatio_, height / pixelRatio_);
    }
    RedrawAll();
}

void WebHost::ResizeCanvas(int width, int height, double cssWidth, double cssHeight)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    const bool exact = std::abs(cssWidth * pixelRatio_ - width) < 0.01;
    if (width != canvasWidth_ || height != canvasHeight_) {
        canvasWidth_ = width;
        canvasHeight_ = height;
        canvas_.assign(size_t(width) * size_t(height), Rgba(0));
    }
    page::SizeCanvas(width, height, cssWidth, cssHeight, !exact);
}

void WebHost::RedrawAll()
{
    std::fill(canvas_.begin(), canvas_.end(), Rgba(0));
    dirty_ = RECT { 0, 0, canvasWidth_, canvasHeight_ };
    if (fullScreen_) {
        const LentPixels& picture = fullScreenMemory_.Pixels();
        ShowFullScreen(RECT { 0, 0, picture.width, picture.height });
        return;
    }
    DrawMenuBar();
    const LentPixels& client = client_.Pixels();
    if (client.pixels) ShowClientArea(RECT { 0, 0, client.width, client.height });
}

void WebHost::ShowClientArea(const RECT& changed)
{
    const LentPixels& client = client_.Pixels();
    if (!client.pixels || canvas_.empty()) return;
    const RECT area = Clipped(changed, std::min(client.width, windowWidth_), std::min(client.height, clientHeight_));
    if (IsEmpty(area)) return;
    const auto* pixels = reinterpret_cast<const uint32_t*>(client.pixels + ptrdiff_t(area.top) * client.pitch);
    const PixelView part { pixels + area.left, int(area.right - area.left), int(area.bottom - area.top),
        client.pitch / kClientBytesPerPixel };
    Draw(part, scale_, int(area.left) * scale_, (menuBarHeight_ + int(area.top)) * scale_);
}

void WebHost::ShowFullScreen(const RECT& changed)
{
    const LentPixels& memory = fullScreenMemory_.Pixels();
    if (!memory.pixels || canvas_.empty()) return;
    const RECT area = Clipped(changed, memory.width, memory.height);
    if (IsEmpty(area)) return;
    ToXrgb(memory, kFullScreenBytesPerPixel, area, fullScreenPicture_);
    const int factor = std::max(box_.wholeFactor, 1);
    const PixelView part { fullScreenPicture_.data() + ptrdiff_t(area.top) * memory.width + area.left,
        int(area.right - area.left), int(area.bottom - area.top), memory.width };
    Draw(part, factor, int(area.left) * factor, int(area.top) * factor);
}

// Every picture pixel a `factor` by `factor` block, its top-left corner at
// (x, y) of the canvas; as RGBA, to be put on the canvas at the next flush.
void WebHost::Draw(const PixelView& picture, int factor, int x, int y)
{
    CopyScaled(picture, factor, PixelTarget { canvas_.data(), canvasWidth_, canvasHeight_, canvasWidth_ }, x, y);
    const RECT area
        = Clipped(RECT { x, y, x + picture.width * factor, y + picture.height * factor }, canvasWidth_, canvasHeight_);
    if (IsEmpty(area)) return;
    ToRgba(canvas_.data(), canvasWidth_, area);
    dirty_ = Union(dirty_, area);
}

// Everything the program has taken so far has been handled by now: the loops
// flush only when they have nothing left to do.
void WebHost::Flush()
{
    if (!IsEmpty(dirty_) && !canvas_.empty())
        page::PutRows(canvas_.data(), canvasWidth_, canvasHeight_, int(dirty_.top), int(dirty_.bottom - dirty_.top));
    dirty_ = RECT {};
    page::ReportProgress(double(frames_), double(inputTaken_));
}

void WebHost::SleepUntilWoken(uint32_t milliseconds) { page::SleepUntilWoken(milliseconds); }

} // namespace platform::host
