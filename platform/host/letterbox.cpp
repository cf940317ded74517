#include "host/letterbox.h"

#include <algorithm>
#include <cstdint>

namespace platform::host {
namespace {

int AtLeastOne(int value) { return std::max(value, 1); }

// Which of `pictureSize` pixels screen offset `offset` falls on, along one axis.
int MapAxis(int64_t offset, int boxSize, int pictureSize)
{
    const int64_t scaled = offset * pictureSize / boxSize;
    return int(std::clamp<int64_t>(scaled, 0, pictureSize - 1));
}

// Scaled as far as it fits with its aspect kept.
Letterbox KeepAspect(int64_t pictureW, int64_t pictureH, int64_t screenW, int64_t screenH)
{
    Letterbox box;
    // Compare the aspects by cross-multiplying: no rounding decides the side.
    if (screenW * pictureH >= screenH * pictureW) {
        box.height = int(screenH);
        box.width = AtLeastOne(int(screenH * pictureW / pictureH));
    } else {
        box.width = int(screenW);
        box.height = AtLeastOne(int(screenW * pictureH / pictureW));
    }
    return box;
}

// The factor that scales the picture to the box, or 0 where no whole one does.
int WholeFactorOf(int64_t pictureW, int64_t pictureH, const Letterbox& box)
{
    const bool whole
        = box.width % pictureW == 0 && box.height % pictureH == 0 && box.width / pictureW == box.height / pictureH;
    return whole ? int(box.width / pictureW) : 0;
}

} // namespace

Letterbox FitPicture(int pictureWidth, int pictureHeight, int screenWidth, int screenHeight)
{
    const int64_t pictureW = AtLeastOne(pictureWidth);
    const int64_t pictureH = AtLeastOne(pictureHeight);
    const int64_t screenW = AtLeastOne(screenWidth);
    const int64_t screenH = AtLeastOne(screenHeight);
    const int64_t factor = std::min(screenW / pictureW, screenH / pictureH);
    Letterbox box;
    // From twice the size on, blocks of whole pixels beat a fuller screen:
    // an uneven scale shows a fine pattern with columns of two widths.
    if (factor >= 2) {
        box.width = int(pictureW * factor);
        box.height = int(pictureH * factor);
    } else {
        box = KeepAspect(pictureW, pictureH, screenW, screenH);
    }
    box.wholeFactor = WholeFactorOf(pictureW, pictureH, box);
    box.x = int((screenW - box.width) / 2);
    box.y = int((screenH - box.height) / 2);
    return box;
}

PicturePoint ScreenToPicture(const Letterbox& box, int pictureWidth, int pictureHeight, int x, int y)
{
    const int width = AtLeastOne(pictureWidth);
    const int height = AtLeastOne(pictureHeight);
    // Positions left of or above the picture give negative offsets: clamp
    // before dividing so that they do not round towards the picture.
    const int64_t offsetX = std::max<int64_t>(int64_t(x) - box.x, 0);
    const int64_t offsetY = std::max<int64_t>(int64_t(y) - box.y, 0);
    return PicturePoint { MapAxis(offsetX, AtLeastOne(box.width), width),
        MapAxis(offsetY, AtLeastOne(box.height), height) };
}

} // namespace platform::host
