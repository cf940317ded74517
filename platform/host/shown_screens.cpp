#include "host/shown_screens.h"

#include <algorithm>

namespace platform::host {

void FillArea(const PixelView& target, const Rectangle& area, uint32_t value)
{
    const Rectangle inside = ClippedTo(area, target.width, target.height);
    for (int64_t y = inside.top; y < inside.bottom; ++y)
        std::fill_n(target.Row<uint32_t>(y) + inside.left, inside.Width(), value);
}

PixelView ShownScreens::Lend(Screen screen, int width, int height)
{
    if (screen == Screen::Client) return client_.Lend(width, height, kClientBytesPerPixel);
    if (!fullScreen_) return {};
    return display_.Lend(width, height, kFullScreenBytesPerPixel);
}

void ShownScreens::EnterFullScreen(int width, int height)
{
    fullScreen_ = true;
    width = std::max(width, 1);
    height = std::max(height, 1);
    displayWidth_ = width;
    displayHeight_ = height;
    display_.Lend(width, height, kFullScreenBytesPerPixel);
    display_.Clear();
    displayPicture_.assign(size_t(width) * size_t(height), 0);
}

ReadOnlyPixelView ShownScreens::WidenDisplay(const Rectangle& changed)
{
    ToXrgb(display_.Pixels(), changed, displayPicture_);
    return DisplayPicture();
}

ReadOnlyPixelView ShownScreens::DisplayPicture() const
{
    const PixelView& memory = display_.Pixels();
    if (!memory.pixels || displayPicture_.size() != size_t(memory.width) * size_t(memory.height)) return {};
    return ReadOnlyPixelView::OfPixels(displayPicture_.data(), memory.width, memory.height, memory.width);
}

bool ShownScreens::KeepMenuBar(const ReadOnlyPixelView& bar)
{
    if (!bar.pixels || bar.width <= 0 || bar.height <= 0 || bar.bytesPerPixel != 4 || !bar.RowsFit()) return false;
    menuBarWidth_ = bar.width;
    menuBarRows_ = bar.height;
    menuBar_.resize(size_t(bar.width) * size_t(bar.height));
    for (int y = 0; y < bar.height; ++y)
        std::copy_n(bar.Row<uint32_t>(y), bar.width, menuBar_.begin() + ptrdiff_t(y) * bar.width);
    return true;
}

ReadOnlyPixelView ShownScreens::MenuBar(int rows) const
{
    rows = std::min(rows, menuBarRows_);
    if (menuBarWidth_ <= 0 || rows <= 0) return {};
    return ReadOnlyPixelView::OfPixels(menuBar_.data(), menuBarWidth_, rows, menuBarWidth_);
}

Rectangle ShownScreens::DrawClient(const PixelView& target, int scale, int top, const Rectangle& area) const
{
    const PixelView& client = client_.Pixels();
    if (!client.pixels || !target.pixels || scale < 1) return {};
    const Rectangle part = ClippedTo(area, client.width, client.height);
    if (part.IsEmpty()) return {};
    const ReadOnlyPixelView picture = client.Part(part);
    const int x = int(part.left) * scale, y = top + int(part.top) * scale;
    CopyScaled(picture, scale, target, x, y);
    return ClippedTo(
        Rectangle { x, y, x + picture.width * scale, y + picture.height * scale }, target.width, target.height);
}

void ShownScreens::DrawMenuBar(const PixelView& target, int scale, int barHeight, const uint32_t* background) const
{
    if (!target.pixels || scale < 1) return;
    // Only the bar's rows: a bar taller than the window's is cut.
    const PixelView rows = target.Part(Rectangle { 0, 0, target.width, std::min(barHeight * scale, target.height) });
    if (background) FillArea(rows, Rectangle { 0, 0, rows.width, rows.height }, *background);
    const ReadOnlyPixelView bar = MenuBar(barHeight);
    if (bar.pixels) CopyScaled(bar, scale, rows, 0, 0);
}

bool ShownScreens::DrawDisplayLetterboxed(const PixelView& target, bool withBars) const
{
    if (!target.pixels) return false;
    const Letterbox box = FitPicture(displayWidth_, displayHeight_, target.width, target.height);
    if (withBars) {
        const Rectangle bars[] = {
            { 0, 0, target.width, box.y },
            { 0, box.y + box.height, target.width, target.height },
            { 0, box.y, box.x, box.y + box.height },
            { box.x + box.width, box.y, target.width, box.y + box.height },
        };
        for (const Rectangle& bar : bars)
            FillArea(target, bar, 0);
    }
    const ReadOnlyPixelView picture = DisplayPicture();
    if (!picture.pixels || box.wholeFactor <= 0) return false;
    CopyScaled(picture, box.wholeFactor, target, box.x, box.y);
    return true;
}

} // namespace platform::host
