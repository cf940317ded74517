// Where a full-screen picture lands on a screen of another size, centred
// with black around it: on a screen at least twice its size both ways, at
// the largest whole factor that fits, every picture pixel a square block;
// on a smaller one scaled as far as it fits with its aspect kept.
// Pure arithmetic, shared by every host and tested on its own.
#pragma once

namespace platform::host {

struct Letterbox {
    int x = 0;
    int y = 0;
    int width = 1;
    int height = 1;
    // The whole factor the picture is scaled by, or 0 where the scale is
    // not a whole number.
    int wholeFactor = 0;
};

// Never empty, whatever the sizes (zero or negative ones count as 1), so
// that mapping back never divides by zero.
Letterbox FitPicture(int pictureWidth, int pictureHeight, int screenWidth, int screenHeight);

struct PicturePoint {
    int x = 0;
    int y = 0;
};

// The picture pixel under screen position (x, y); positions on the bars or
// off the screen clamp to the nearest edge pixel.
PicturePoint ScreenToPicture(const Letterbox& box, int pictureWidth, int pictureHeight, int x, int y);

} // namespace platform::host
