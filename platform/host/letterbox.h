// Where a full-screen picture lands on a screen of another size: scaled as
// far as it fits with its aspect kept, centred, black bars on two sides.
// Pure arithmetic, shared by every host and tested on its own.
#pragma once

namespace platform::host {

struct Letterbox {
    int x = 0;
    int y = 0;
    int width = 1;
    int height = 1;
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
